// Design files in the window: a design saved in one locale opens in another
// with the same inputs and results, every refused file leaves the design as
// it was, and unsaved changes to a file are asked about before they go.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "document/design_basis_settings.h"
#include "document/design_file.h"
#include "engine/design_inputs.h"
#include "tests/design_file_fixtures.h"
#include "tests/main_window_fixtures.h"
#include "ui/design_basis_window.h"
#include "ui/sheet/calculation_sheet.h"
#include "ui/sheet/sheet_details_window.h"

namespace ui {
namespace {

using joist::Input;
using testing::MainWindowDriver;
using testing::takeMessage;
using testing_support::designJson;

const QString fixedCaption = QStringLiteral("Timber Joist Design to EC5 by Brannoch");

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

joist::DesignBasis storedBasis()
{
    return document::readDesignBasis(*document::programSettings());
}

document::SheetDetails storedDetails()
{
    return document::readDefaultSheetDetails(*document::programSettings());
}

void typeInto(QWidget* window, const char* name, const QString& text)
{
    auto* box = control<QLineEdit>(window, name);
    box->selectAll();
    QTest::keyClicks(box, text);
}

// Every input control's text and the class, as the window shows them.
QStringList shownInputs(const MainWindowDriver& main)
{
    QStringList texts;
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (row.entry == joist::InputEntry::typed)
            texts << main.box(row.input)->text();
        else if (row.entry == joist::InputEntry::list)
            texts << main.list(row.input)->selectedText();
    }
    return texts << main.classList()->selectedText();
}

// Answers the next modal question with `button`.
void answerNextQuestion(QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(button)->click();
    });
}

// Clicks the button of that text in the next question.
void answerNextQuestion(const QString& buttonText)
{
    QTimer::singleShot(0, [buttonText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove('&') == buttonText)
                button->click();
        }
    });
}

class DesignFileRoundTrip : public ::testing::TestWithParam<std::pair<const char*, const char*>>
{};

TEST_P(DesignFileRoundTrip, OpensWithTheSameInputsAndResults)
{
    const QLocale saving(QString::fromLatin1(GetParam().first));
    const QLocale opening(QString::fromLatin1(GetParam().second));
    QTemporaryDir dir;
    const QString path = dir.filePath("first floor.joist");

    MainWindowDriver author(testing::shippedDirectory(), saving);
    author.start();
    const QString point = saving.decimalPoint();
    author.type(Input::span, "3" + point + "85");
    author.type(Input::deadLoad, "0" + point + "55");
    author.type(Input::camber, "-1" + point + "5");
    author.pick(Input::depth, "200");
    author.pick(Input::kmod, "1" + point + "0");
    author.pickClass("C24");
    author.window->findChild<QAction*>("designBasisAct")->trigger();
    FrmDesignBasis* basis = author.window->designBasisWindow();
    typeInto(basis, "u2DivTxt", "360");
    typeInto(basis, "uNetFinCapTxt", "12" + point + "5");
    control<QCheckBox>(basis, "vibrationChk")->click(); // puts the damping ratio in force
    typeInto(basis, "dampingTxt", "0" + point + "015");
    control<QComboBox>(basis, "rulesCmb")->setCurrentIndex(int(joist::Rules::amended));
    typeInto(basis, "endDistanceTxt", "0");
    ASSERT_TRUE(author.window->saveDesignTo(path)) << takeMessage(author).toStdString();
    EXPECT_EQ(author.window->windowTitle(), "first floor.joist[*] \u2013 " + fixedCaption);
    EXPECT_FALSE(author.window->isWindowModified());

    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray json = saved.readAll();
    // What a file manager's content match reads.
    EXPECT_TRUE(
        json.startsWith("{\n    \"format\": \"timber-joist design\",\n    \"version\": 1,\n"));
    for (const char* text :
         {"\"span\": \"3.85\"", "\"camber\": \"-1.5\"", "\"kmod\": \"1.0\"",
          "\"strengthClass\": \"C24\"", "\"version\": 1", "\"u2Div\": \"360\"",
          "\"uNetFinCap\": \"12.5\"", "\"u2Cap\": \"\"", "\"damping\": \"0.015\"",
          "\"vibration\": true", "\"strutting\": false", "\"rules\": \"amended\"",
          "\"endDistance\": \"0\"", "\"table\": \"shipped\""})
        EXPECT_TRUE(json.contains(text)) << text << "\n" << json.toStdString();
    const joist::JoistDesign design = author.window->design();
    ASSERT_TRUE(design.basis.vibration);
    QStringList expected = author.results();
    expected.replaceInStrings(point, opening.decimalPoint());

    // The file's basis goes in force as if entered in the open basis window.
    MainWindowDriver reader(testing::shippedDirectory(), opening);
    reader.start();
    reader.window->findChild<QAction*>("designBasisAct")->trigger();
    const int checksBefore = reader.window->checksRun();
    ASSERT_TRUE(reader.window->openDesign(path)) << takeMessage(reader).toStdString();
    EXPECT_EQ(reader.window->checksRun(), checksBefore + 1); // one check, not one per input
    // The window's record keeps the text of the last failure it met, which
    // the verdicts compared below cover.
    joist::JoistDesign opened = reader.window->design();
    opened.governingMessage = design.governingMessage;
    EXPECT_EQ(opened, design);
    EXPECT_TRUE(storedBasis().isDefault()) << "opening kept the file's basis";
    FrmDesignBasis* shown = reader.window->designBasisWindow();
    EXPECT_EQ(control<QLineEdit>(shown, "dampingTxt")->text(),
              "0" + opening.decimalPoint() + "015");
    EXPECT_TRUE(control<QCheckBox>(shown, "vibrationChk")->isChecked());
    EXPECT_NE(control<QLabel>(shown, "ratioF1Lbl")->text(), "\u2013");
    EXPECT_EQ(reader.results(), expected);
    EXPECT_EQ(reader.window->windowTitle(), author.window->windowTitle());
    EXPECT_FALSE(reader.window->isWindowModified());
    reader.type(Input::span, "4");
    EXPECT_TRUE(reader.window->isWindowModified());
}

INSTANTIATE_TEST_SUITE_P(Locales, DesignFileRoundTrip,
                         ::testing::Values(std::pair{"C", "de_DE"}, std::pair{"de_DE", "C"},
                                           std::pair{"de_DE", "de_DE"}));

TEST(DesignFile, EveryRefusalLeavesTheDesignAsItWas)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.joist");
    writeFile(good, "{\"format\": \"timber-joist design\", \"version\": 1, \"colour\": \"red\", "
                    "\"inputs\": {\"span\": \"3.5\", \"breadth\": \"75\", \"strengthClass\": "
                    "\"C27\", \"shape\": \"round\"}, \"sheetDetails\": {\"project\": "
                    "\"Mill\"}}");
    MainWindowDriver main;
    main.start();
    const joist::DesignBasis basis = storedBasis();
    ASSERT_TRUE(main.window->openDesign(good)) << takeMessage(main).toStdString();
    // Unknown keys are ignored and named, once, in the message line.
    const QString message = main.label("messageLbl");
    EXPECT_TRUE(message.contains("\"colour\"") && message.contains("\"inputs.shape\""))
        << message.toStdString();
    EXPECT_EQ(message.count("colour"), 1);

    const QString bigPath = dir.filePath("big.joist");
    writeFile(bigPath, designJson("\"span\": \"4" + QByteArray(1 << 20, ' ') + "\""));
    const QString fifo = dir.filePath("pipe.joist");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    struct Case
    {
        const char* name;
        QByteArray content; // empty: the path is used as it is
        QString path;
        const char* reason;
    };
    const Case cases[] = {
        {"class.joist", designJson("\"strengthClass\": \"C99\""), {}, "\"C99\""},
        {"list.joist",
         designJson("\"span\": \"5\", \"breadth\": \"50\""),
         {},
         "\"breadth\" holds \"50\", which its list does not offer (36, 44, 75); \"sizes\": "
         "\"extended\" offers it"},
        {"gamma.joist", designJson("\"gammaM\": \"1.25\""), {}, "its list does not offer (1.3)"},
        {"kdef.joist", designJson("\"kmodGk\": \"0.6\""), {}, "its list does not offer (0.8)"},
        {"number.joist", designJson("\"span\": \"5\", \"deadLoad\": \"0,4\""), {}, "\"deadLoad\""},
        {"line.joist", designJson("\"span\": \"5\\n\""), {}, "control character"},
        {"member.joist",
         designJson("\"span\": \"5\"", "1", "", "\"member\": \"" + QByteArray(201, 'M') + "\""),
         {},
         "more than 200 characters"},
        {"type.joist", designJson("\"span\": true"), {}, "\"inputs.span\""},
        {"basis.joist",
         designJson("\"span\": \"5\"", "1", "\"u2Div\": \"360\", \"damping\": \"0\""),
         {},
         "\"damping\""},
        {"cap.joist",
         designJson({}, "1", "\"vibration\": true, \"u2Cap\": \"none\""),
         {},
         "\"u2Cap\""},
        {"divisor.joist",
         designJson({}, "1", "\"uNetFinDiv\": \"1e-40\""),
         {},
         "\"uNetFinDiv\" holds \"1e-40\", which is not a number from 1 to 100000"},
        {"rules.joist",
         designJson({}, "1", "\"rules\": \"A1\""),
         {},
         "\"rules\" holds \"A1\", which is not one of \"original\", \"amended\""},
        {"end.joist",
         designJson({}, "1", "\"endDistance\": \"-1\""),
         {},
         "\"endDistance\" holds \"-1\", which is not a number from 0 to 10000"},
        {"flag.joist",
         designJson({}, "1", "\"strutting\": \"yes\""),
         {},
         "\"designBasis.strutting\""},
        {"detail.joist",
         designJson("\"span\": \"5\"", "1", {}, "\"project\": \"Mill\", \"revision\": 2"),
         {},
         "\"sheetDetails.revision\""},
        {"detail line.joist",
         designJson({}, "1", {}, "\"member\": \"J1\\u2028J2\""),
         {},
         "\"member\" holds a line break"},
        {"version.joist", designJson("\"span\": \"5\"", "2"), {}, "version 2"},
        {"format.joist", "{\"format\": \"spreadsheet\", \"version\": 1}", {}, "not a timber-joist"},
        {"malformed.joist", "{\"format\": \"timber-joist design\",", {}, "not valid JSON"},
        {"big", {}, bigPath, "1 MiB"},
        {"folder", {}, dir.path(), "folder"},
        {"pipe", {}, fifo, "not a regular file"},
        {"missing", {}, dir.filePath("missing.joist"), "no such file"},
    };
    const document::SheetDetails details = main.window->calculationSheet().details;
    ASSERT_EQ(details.project, "Mill");
    const joist::JoistDesign design = main.window->design();
    const QStringList inputs = shownInputs(main);
    const QStringList results = main.results();
    const QString caption = main.window->windowTitle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString path = c.path;
        if (path.isEmpty()) {
            path = dir.filePath(c.name);
            writeFile(path, c.content);
        }
        EXPECT_FALSE(main.window->openDesign(path));
        const QString refusal = takeMessage(main);
        EXPECT_TRUE(refusal.contains(QDir::toNativeSeparators(path)) && refusal.contains(c.reason))
            << refusal.toStdString();
        EXPECT_EQ(main.window->design(), design);
        EXPECT_EQ(storedBasis(), basis);
        EXPECT_TRUE(main.window->calculationSheet().details == details);
        EXPECT_EQ(shownInputs(main), inputs);
        EXPECT_EQ(main.results(), results);
        EXPECT_EQ(main.window->windowTitle(), caption);
        EXPECT_EQ(main.window->designPath(), QFileInfo(good).absoluteFilePath());
    }
}

// A started window that has opened a file of this content, written first.
::testing::AssertionResult opensWritten(MainWindowDriver& main, const QString& path,
                                        const QByteArray& content)
{
    writeFile(path, content);
    main.start();
    if (main.window->openDesign(path))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << takeMessage(main).toStdString();
}

// A file whose basis chooses another table opens on that table's class, and
// its lists offer what the class's material takes (glulam's gamma M), kept
// as the file says.
TEST(DesignFile, OpensOnTheTableItsBasisChooses)
{
    QTemporaryDir dir;
    MainWindowDriver main;
    ASSERT_TRUE(opensWritten(main, dir.filePath("glulam.joist"),
                             designJson("\"strengthClass\": \"GL24h\", \"gammaM\": \"1.3\"", "1",
                                        "\"table\": \"en14080\", \"rules\": \"amended\"")));
    EXPECT_EQ(main.label("SCLbl"), "GL24h");
    EXPECT_EQ(main.window->design().material, joist::Material::glulam);
    EXPECT_EQ(main.list(Input::gammaM)->count(), 2);
    EXPECT_EQ(main.window->design().gammaM, 1.3f);
    // Saved while the list shows kh in force, it opens again as it was.
    const QString again = dir.filePath("again.joist");
    ASSERT_TRUE(main.window->saveDesignTo(again)) << takeMessage(main).toStdString();
    ASSERT_TRUE(main.window->openDesign(again)) << takeMessage(main).toStdString();
    EXPECT_EQ(main.window->design().basis.rules, joist::Rules::amended);
}

// A file's service class lets its lists hold the standard's factors, and the
// sheet names the class when the factors are its own.
TEST(DesignFile, ServiceClassFactorsOpenAndAreNamed)
{
    QTemporaryDir dir;
    MainWindowDriver main;
    ASSERT_TRUE(opensWritten(
        main, dir.filePath("heated.joist"),
        designJson("\"kmodGk\": \"0.6\", \"kmodQk\": \"0.18\"", "1", "\"serviceClass\": \"1\"")));
    EXPECT_EQ(main.window->design().kmodGk, 0.6f);
    EXPECT_TRUE(ui::sheetPlainText(main.window->calculationSheet())
                    .contains("service class 1, imposed-load category A"));
}

// A file whose basis chooses the extended sizes holds a regularised joist;
// the lists offer every size in order while that basis is in force.
TEST(DesignFile, ExtendedSizesOpenWithTheirLists)
{
    QTemporaryDir dir;
    MainWindowDriver main;
    ASSERT_TRUE(opensWritten(
        main, dir.filePath("regularised.joist"),
        designJson("\"breadth\": \"47\", \"depth\": \"295\"", "1", "\"sizes\": \"extended\"")));
    EXPECT_EQ(main.window->design().breadth, 47.0f);
    QStringList breadths;
    for (int i = 0; i < main.list(Input::breadth)->count(); ++i)
        breadths << main.list(Input::breadth)->itemText(i);
    EXPECT_EQ(breadths.join(' '), "36 38 44 47 50 63 75");
}

TEST(DesignFile, CarriesTheSheetDetails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("stair.joist");
    MainWindowDriver main;
    main.start();
    main.window->findChild<QAction*>("sheetDetailsAct")->trigger();
    FrmSheetDetails* window = main.window->sheetDetailsWindow();
    typeInto(window, "projectTxt", "Mill Lane");
    typeInto(window, "revisionTxt", "B");
    const document::SheetDetails saved = window->details();
    ASSERT_TRUE(main.window->saveDesignTo(path)) << takeMessage(main).toStdString();

    // A design file holds its details: a change to them is a change to the design.
    typeInto(window, "jobNoTxt", "J7");
    typeInto(window, "projectTxt", "Other");
    EXPECT_TRUE(main.window->isWindowModified());
    answerNextQuestion(QMessageBox::Discard);
    ASSERT_TRUE(main.window->openDesign(path)) << takeMessage(main).toStdString();
    for (std::size_t i = 0; i < document::sheetDetailFields.size(); ++i)
        EXPECT_EQ(window->boxes()[i]->text(), saved.*document::sheetDetailFields[i].member);
    EXPECT_TRUE(main.window->calculationSheet().details == saved);
    EXPECT_FALSE(main.window->isWindowModified());
}

// The user's defaults, as the design basis and sheet details windows keep
// them (an earlier version kept the member too), and forgets them after.
class KeptDefaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        basis_.u2Divisor = 360;
        details_.project = "Mill";
        details_.checkedBy = "AB";
        auto settings = document::programSettings();
        document::writeDesignBasis(*settings, basis_);
        document::writeDefaultSheetDetails(*settings, details_);
        settings->setValue("sheetDetails/member", "J9");
        ASSERT_FALSE(settings->save());
    }
    void TearDown() override
    {
        auto settings = document::programSettings();
        settings->remove("designBasis");
        settings->remove("sheetDetails");
        EXPECT_FALSE(settings->save());
    }
    // Opens a design with its own basis, member and revision.
    void openLoft(MainWindowDriver& main)
    {
        const QString path = dir_.filePath("loft.joist");
        writeFile(path, designJson({}, "1", "\"vibration\": true",
                                   "\"project\": \"Loft\", \"member\": \"J1\", "
                                   "\"revision\": \"C\""));
        main.start();
        ASSERT_TRUE(main.window->openDesign(path)) << takeMessage(main).toStdString();
        ASSERT_TRUE(main.window->design().basis.vibration);
    }

    QTemporaryDir dir_;
    joist::DesignBasis basis_;
    document::SheetDetails details_;
};

TEST_F(KeptDefaults, OpeningAFileKeepsNothing)
{
    MainWindowDriver main;
    openLoft(main);
    EXPECT_EQ(storedBasis(), basis_);
    EXPECT_TRUE(storedDetails() == details_);
}

TEST_F(KeptDefaults, NewDesignTakesThemWithoutMemberOrRevision)
{
    MainWindowDriver main;
    openLoft(main);
    main.window->findChild<QAction*>("sheetDetailsAct")->trigger();
    main.window->newDesign();
    EXPECT_EQ(main.window->design().basis, basis_);
    EXPECT_TRUE(main.window->sheetDetailsWindow()->details() == details_);
    EXPECT_TRUE(main.window->calculationSheet().details == details_);
}

// A file name is outside text: Qt's "[*]", a shortcut's "&" and a direction
// override in it are shown as written.
TEST(DesignFile, NameIsShownAsWritten)
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("R&D[*]\u202Etsil.joist");
    MainWindowDriver main;
    main.start();
    ASSERT_TRUE(main.window->saveDesignTo(dir.filePath(name))) << takeMessage(main).toStdString();
    const QString shown = QStringLiteral("R&D[*]<U+202E>tsil.joist");
    EXPECT_TRUE(main.window->windowHandle()->title().startsWith(shown + " \u2013"))
        << main.window->windowHandle()->title().toStdString();
    const QString entry =
        main.window->findChild<QMenu*>("recentDesignsMenu")->actions().constFirst()->text();
    EXPECT_TRUE(entry.endsWith("R&&D[*]<U+202E>tsil.joist")) << entry.toStdString();
}

TEST(DesignFile, NewDesignAndUnsavedChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("beam.joist");
    MainWindowDriver fresh;
    fresh.start();
    const joist::JoistDesign startDesign = fresh.window->design();

    MainWindowDriver main;
    main.start();
    EXPECT_EQ(main.window->windowTitle(), fixedCaption);
    main.type(Input::span, "5");
    ASSERT_TRUE(main.window->saveDesignTo(path));
    // A text that is not a number is not saved, and the file keeps the last design.
    main.type(Input::span, "4,5");
    EXPECT_FALSE(main.window->saveDesignTo(path));
    EXPECT_TRUE(takeMessage(main).contains("Span of Joist"));
    main.type(Input::span, "4.5");
    EXPECT_TRUE(main.window->isWindowModified());
    EXPECT_EQ(document::readDesignFile(path).inputs.texts[std::size_t(Input::span)], "5");

    // Cancel keeps the window and the changes; Save writes them, then New.
    answerNextQuestion(QMessageBox::Cancel);
    EXPECT_FALSE(main.window->close());
    EXPECT_EQ(main.box(Input::span)->text(), "4.5");
    answerNextQuestion(QMessageBox::Save);
    main.window->findChild<QAction*>("newDesignAct")->trigger();
    EXPECT_EQ(main.window->design(), startDesign);
    EXPECT_EQ(main.window->windowTitle(), fixedCaption);
    EXPECT_TRUE(main.window->designPath().isEmpty());
    EXPECT_EQ(document::readDesignFile(path).inputs.texts[std::size_t(Input::span)], "4.5");

    // Recently used files head the Open Recent menu; a window without a file
    // closes without a question.
    auto* recent = main.window->findChild<QMenu*>("recentDesignsMenu");
    ASSERT_FALSE(recent->actions().isEmpty());
    EXPECT_EQ(recent->actions().constFirst()->text(), QDir::toNativeSeparators(path));
    main.type(Input::span, "6");
    EXPECT_TRUE(main.window->close());
}

TEST(DesignFile, SavingOverAChangeMadeElsewhereAsksFirst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("j1.joist");
    MainWindowDriver first, second;
    first.start();
    second.start();
    ASSERT_TRUE(first.window->saveDesignTo(path));
    ASSERT_TRUE(second.window->openDesign(path));
    second.type(Input::span, "6");
    ASSERT_TRUE(second.window->saveDesignTo(path));

    first.type(Input::span, "7");
    answerNextQuestion(QStringLiteral("Cancel"));
    EXPECT_FALSE(first.window->saveDesignTo(path));
    EXPECT_EQ(document::readDesignFile(path).inputs.texts[std::size_t(Input::span)], "6");
    answerNextQuestion(QStringLiteral("Save Over It"));
    EXPECT_TRUE(first.window->saveDesignTo(path));
    EXPECT_EQ(document::readDesignFile(path).inputs.texts[std::size_t(Input::span)], "7");
}

} // namespace
} // namespace ui
