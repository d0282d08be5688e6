// The design basis window as the user meets it: its fields and their
// rejections, the check re-run on every change, the program's defaults, the
// user's defaults kept between runs, and the verdict's tooltip in both separators.
#include <gtest/gtest.h>
#include <map>
#include <set>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include "document/design_basis_settings.h"
#include "report/design_basis_texts.h"
#include "tests/main_window_fixtures.h"
#include "ui/design_basis_window.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

// Each test runs against an empty settings folder of its own; the program
// reads XDG_CONFIG_HOME each time it opens its settings.
class DesignBasisWindow : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        previousConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previousConfig_); }

    QString settingsFile() const
    {
        return config_.filePath(QStringLiteral("timber-joist/timber-joist.conf"));
    }
    QLocale locale() const
    {
        return GetParam() == std::string(",") ? QLocale(QLocale::German, QLocale::Germany)
                                              : QLocale::c();
    }
    QString local(QString text) const { return text.replace('.', QString(GetParam())); }

    // A started main window with the design basis window open by Ctrl+D.
    FrmDesignBasis* open(MainWindowDriver& main)
    {
        main.start();
        if (!QTest::qWaitForWindowActive(main.window.get()))
            return nullptr;
        // From the text box that has the focus at start, where X11 binds
        // Ctrl+D to Delete.
        const QString span = main.box(joist::Input::span)->text();
        QTest::keyClick(main.box(joist::Input::span), Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(main.box(joist::Input::span)->text(), span);
        return main.window->designBasisWindow();
    }

    static QString verdictTip(const MainWindowDriver& main)
    {
        QLabel* verdict = control<QLabel>(main.window.get(), "governedByLbl");
        QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), verdict->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(verdict, &ask);
        return verdict->toolTip();
    }

    static void type(FrmDesignBasis* window, const char* name, const QString& text)
    {
        QLineEdit* box = control<QLineEdit>(window, name);
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
    }

    QTemporaryDir config_;
    QByteArray previousConfig_;
};

TEST_P(DesignBasisWindow, OpensOnceWithItsNamedControls)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window && window->isVisible());
    QTest::keyClick(main.list(joist::Input::depth), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(main.window->findChildren<FrmDesignBasis*>().size(), 1);
    EXPECT_EQ(window->objectName(), "frmDesignBasis");
    EXPECT_FALSE(window->isModal());
    EXPECT_NE(window->minimumSize(), window->maximumSize()); // resizable
    EXPECT_LE(window->sizeHint().height(), 720);             // fits a 1366 x 768 screen
    for (const char* name : {"f1Lbl", "wLbl", "aLbl", "bLbl", "vLbl", "vLimitLbl", "ratioF1Lbl",
                             "ratioWLbl", "ratioVLbl"})
        EXPECT_EQ(control<QLabel>(window, name)->text(), "\u2013") << name;
    EXPECT_EQ(control<QLineEdit>(window, "floorWidthTxt")->text(), local("4"));
    EXPECT_EQ(control<QLineEdit>(window, "dampingTxt")->text(), local("0.02"));
}

// Every row of the basis table has a control of its kind, in its group's
// box, greyed exactly where the row is not in force.
TEST_P(DesignBasisWindow, EveryBasisFieldHasItsControlGreyedWhereNotInForce)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    joist::DesignBasis everything;
    everything.vibration = everything.pointLoad = true;
    everything.vibrationRules = joist::VibrationRules::en;
    everything.rules = joist::Rules::amended;
    joist::DesignBasis presumingKcr; // a table whose fv,k presumes kcr in shear
    presumingKcr.table = joist::TableChoice::en338_2016;
    std::map<joist::BasisGroup, QObject*> boxes;
    for (const joist::DesignBasis& basis : {joist::DesignBasis{}, everything, presumingKcr}) {
        window->applyBasis(basis);
        ASSERT_EQ(main.window->design().tablePresumesKcr,
                  basis.table != joist::TableChoice::shipped);
        for (const joist::BasisField& field : joist::basisFields) {
            const std::string name = field.control.empty()
                                         ? std::string(field.key) + (field.flag     ? "Chk"
                                                                     : field.choice ? "Cmb"
                                                                                    : "Txt")
                                         : std::string(field.control);
            QWidget* control = window->findChild<QWidget*>(QString::fromStdString(name));
            ASSERT_TRUE(control) << name;
            EXPECT_TRUE(field.flag     ? control->inherits("QCheckBox")
                        : field.choice ? control->inherits("QComboBox")
                                       : control->inherits("QLineEdit"))
                << name;
            if (auto* list = qobject_cast<QComboBox*>(control)) {
                EXPECT_EQ(std::size_t(list->count()), field.choice->captions.size()) << name;
            }
            EXPECT_TRUE(control->parent()->inherits("QGroupBox")) << name;
            EXPECT_EQ(boxes.try_emplace(field.group, control->parent()).first->second,
                      control->parent())
                << name;
            EXPECT_EQ(control->isEnabled(),
                      joist::inForce(field, basis, main.window->design().tablePresumesKcr))
                << name;
        }
    }
    std::set<QObject*> distinct;
    for (const auto& [group, box] : boxes)
        distinct.insert(box);
    EXPECT_EQ(distinct.size(), boxes.size()); // a box to each group
}

TEST_P(DesignBasisWindow, ChangesRecheckAndBadValuesAreRefusedInTheWindow)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    QLabel* message = control<QLabel>(window, "messageLbl");
    const int before = main.window->checksRun();

    type(window, "uNetFinDivTxt", "360");
    EXPECT_EQ(main.window->design().basis.uNetFinDivisor, 360);
    EXPECT_GT(main.window->checksRun(), before);
    EXPECT_TRUE(verdictTip(main).startsWith("Design basis: u net,fin limit, span divisor: 360\n"))
        << verdictTip(main).toStdString();
    EXPECT_TRUE(control<QLabel>(main.window.get(), "u_net_finResLbl")->toolTip().contains("L/360"));

    // Where the floor's values and the end distance are in force.
    control<QCheckBox>(window, "vibrationChk")->click();
    control<QComboBox>(window, "rulesCmb")->setCurrentIndex(int(joist::Rules::amended));
    struct Refused
    {
        const char* field;
        const char* text;
        const char* inForce;
    };
    for (const Refused& r : {Refused{"u2DivTxt", "abc", "300 stays in force"},
                             Refused{"u2DivTxt", "0", "300 stays in force"},
                             Refused{"kampTxt", "-1", "stays in force"},
                             Refused{"floorWidthTxt", "", "4 stays in force"},
                             Refused{"u2CapTxt", "x", "no cap stays in force"},
                             Refused{"u2FinDivTxt", "0.5", "from 1 to 100000; 200 stays"},
                             Refused{"uNetFinCapTxt", "0.05", "to 10000 mm; no cap stays"},
                             Refused{"partitionsTxt", "-0.5", "from 0 to 10 kN/m\u00B2; 0 stays"},
                             Refused{"endDistanceTxt", "-1", "from 0 to 10000 mm; 0 stays"}}) {
        const joist::DesignBasis kept = main.window->design().basis;
        const int checks = main.window->checksRun();
        const QString original = control<QLineEdit>(window, r.field)->text();
        type(window, r.field, local(QString::fromUtf8(r.text)));
        EXPECT_EQ(main.window->design().basis, kept) << r.field << " " << r.text;
        EXPECT_EQ(main.window->checksRun(), checks);
        EXPECT_TRUE(message->isVisibleTo(window) && message->text().contains(r.inForce))
            << message->text().toStdString();
        EXPECT_EQ(control<QLineEdit>(window, r.field)->toolTip(), message->text());
        type(window, r.field, original);
    }
    EXPECT_FALSE(message->isVisibleTo(window));
    type(window, "u2CapTxt", local("12.5"));
    EXPECT_EQ(main.window->design().basis.u2Cap, 12.5f);
    type(window, "u2CapTxt", "");
    EXPECT_EQ(main.window->design().basis.u2Cap, std::nullopt);
}

// A partition band picked, or any allowance typed, 0 included, is imposed
// load at once.
TEST_P(DesignBasisWindow, PartitionAllowanceIsPickedOrTyped)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    const QString liveBefore = control<QLabel>(main.window.get(), "bendingResLbl")->text();
    auto* bands = control<QComboBox>(window, "partitionBandCmb");
    bands->setCurrentIndex(2);
    emit bands->activated(2);
    EXPECT_EQ(control<QLineEdit>(window, "partitionsTxt")->text(), local("0.8"));
    EXPECT_EQ(main.window->design().basis.partitions, 0.8f);
    EXPECT_NE(control<QLabel>(main.window.get(), "bendingResLbl")->text(), liveBefore);
    EXPECT_TRUE(verdictTip(main).contains("Movable partitions: " + local("0.8")));
    type(window, "partitionsTxt", "0");
    EXPECT_EQ(main.window->design().basis.partitions, 0.0f);
    EXPECT_EQ(bands->currentIndex(), 0);
    EXPECT_EQ(control<QLabel>(main.window.get(), "bendingResLbl")->text(), liveBefore);
}

// A service class and category choose kmod, kdef and psi2 kdef in the main
// window's lists, which offer the standard's values meanwhile and hold
// exactly their own items again when the factors are as entered.
TEST_P(DesignBasisWindow, ServiceClassChoosesTheFactors)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    control<QComboBox>(window, "serviceClassCmb")->setCurrentIndex(1);
    EXPECT_EQ(main.list(joist::Input::kmodGk)->selectedText(), local("0.6"));
    EXPECT_EQ(main.list(joist::Input::kmodQk)->selectedText(), local("0.18"));
    EXPECT_EQ(main.window->design().kmodQk, 0.18f);
    control<QComboBox>(window, "categoryCmb")->setCurrentIndex(int(joist::Category::C));
    EXPECT_EQ(main.window->design().kmodQk, 0.36f);
    control<QComboBox>(window, "serviceClassCmb")->setCurrentIndex(0);
    EXPECT_EQ(main.list(joist::Input::kmodGk)->count(), 1);
    EXPECT_EQ(main.list(joist::Input::kmod)->count(), 2);
    EXPECT_EQ(main.window->design().kmodGk, 0.8f);
}

// The table chosen fills the class list at once, on the same class where it
// has one, and the check follows the class's material.
TEST_P(DesignBasisWindow, TheChosenTableFillsTheClassList)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    auto* table = control<QComboBox>(window, "tableCmb");
    table->setCurrentIndex(int(joist::TableChoice::en338_2016));
    EXPECT_EQ(main.label("SCLbl"), "C16");
    EXPECT_EQ(main.window->design().fvk, 3.2f);
    EXPECT_EQ(main.window->design().material, joist::Material::softwood);
    table->setCurrentIndex(int(joist::TableChoice::en14080));
    EXPECT_EQ(main.label("SCLbl"), "GL20h");
    EXPECT_EQ(main.window->design().material, joist::Material::glulam);
    EXPECT_EQ(main.window->design().gammaM, 1.25f); // glulam's, offered and taken
    control<QComboBox>(window, "rulesCmb")->setCurrentIndex(int(joist::Rules::amended));
    EXPECT_EQ(main.window->design().kc90, 1.75f);
    QLabel* bearing = control<QLabel>(main.window.get(), "bearingResLbl");
    QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), bearing->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(bearing, &ask);
    EXPECT_TRUE(bearing->toolTip().contains(local("kc,90 = 1.75 (glulam")))
        << bearing->toolTip().toStdString();
    // kh by the depth, shown in its list while the amended rules give it.
    EXPECT_EQ(main.list(joist::Input::kh)->selectedText(), local("1.1"));
    EXPECT_FALSE(main.list(joist::Input::kh)->isEnabled());
    control<QComboBox>(window, "rulesCmb")->setCurrentIndex(int(joist::Rules::original));
    EXPECT_EQ(main.list(joist::Input::kh)->selectedText(), "1");
    EXPECT_TRUE(main.list(joist::Input::kh)->isEnabled());
    EXPECT_EQ(main.window->design().kh, 1.0f);
}

// A basis that no longer offers an input's value moves it to the nearest one
// offered, and a new table to the class of the same strength number, bringing
// its material's gamma M; the message line says what changed, and a list's
// tooltip what another choice would offer.
TEST_P(DesignBasisWindow, ABasisChangeMovesToTheNearestOfferedAndSaysSo)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    main.pickClass(QStringLiteral("C24"));
    auto* sizes = control<QComboBox>(window, "sizesCmb");
    sizes->setCurrentIndex(int(joist::Sizes::extended));
    EXPECT_TRUE(main.list(joist::Input::breadth)->toolTip().isEmpty());
    main.pick(joist::Input::depth, QStringLiteral("195"));
    sizes->setCurrentIndex(int(joist::Sizes::listed));
    // The list's tooltip names the choice that would offer more.
    EXPECT_TRUE(main.list(joist::Input::breadth)
                    ->toolTip()
                    .contains(QString::fromUtf8(
                        joist::sizesChoice.captions[std::size_t(joist::Sizes::extended)])));
    EXPECT_EQ(main.window->design().depth, 200.0f);
    EXPECT_TRUE(
        main.label("messageLbl").contains(QStringLiteral("Section Depth 195 \u2192 200 mm")));
    control<QComboBox>(window, "tableCmb")->setCurrentIndex(int(joist::TableChoice::en14080));
    EXPECT_EQ(main.label("SCLbl"), "GL24h");
    EXPECT_TRUE(main.label("messageLbl").contains(local("\u03B3M 1.3 \u2192 1.25 (glulam)")))
        << main.label("messageLbl").toStdString();
}

TEST_P(DesignBasisWindow, VibrationShowsInTheWindowAndTheVerdictTooltip)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    EXPECT_TRUE(
        verdictTip(main).contains("\nFloor vibration not checked (Design Basis..., Ctrl+D)"));
    EXPECT_FALSE(verdictTip(main).startsWith("Design basis"));

    control<QCheckBox>(window, "vibrationChk")->click();
    const joist::JoistDesign& d = main.window->design();
    ASSERT_TRUE(d.basis.vibration);
    const QString tip = verdictTip(main);
    EXPECT_TRUE(tip.startsWith("Design basis: Check floor vibration: yes\n")) << tip.toStdString();
    EXPECT_FALSE(tip.contains("not checked"));
    const QString f1 = control<QLabel>(window, "f1Lbl")->text();
    EXPECT_EQ(f1, local(QString::number(d.f1, 'g', 4)));
    EXPECT_TRUE(tip.contains("\nFloor vibration\nf1 = " + f1 + " Hz, at least 8 Hz: " +
                             control<QLabel>(window, "ratioF1Lbl")->text() +
                             "\nw = " + control<QLabel>(window, "wLbl")->text() +
                             " mm/kN, a = " + control<QLabel>(window, "aLbl")->text() + " mm/kN"))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains("\nv = " + control<QLabel>(window, "vLbl")->text() +
                             " m/(N s\u00B2), limit " +
                             control<QLabel>(window, "vLimitLbl")->text()));

    // A narrower floor changes v at once.
    const QString v = control<QLabel>(window, "vLbl")->text();
    type(window, "floorWidthTxt", local("2.5"));
    EXPECT_EQ(d.basis.floorWidth, 2.5f);
    EXPECT_NE(control<QLabel>(window, "vLbl")->text(), v);

    control<QPushButton>(window, "restoreDefaultsBtn")->click();
    EXPECT_TRUE(d.basis.isDefault());
    EXPECT_EQ(control<QLineEdit>(window, "floorWidthTxt")->text(), local("4"));
    EXPECT_FALSE(control<QCheckBox>(window, "vibrationChk")->isChecked());
    EXPECT_EQ(control<QLabel>(window, "f1Lbl")->text(), "\u2013");
    EXPECT_TRUE(verdictTip(main).contains("Floor vibration not checked"));
}

// Below 8 Hz the window says, as the command line and the sheet do, that w
// and v are no valid check: in the message line and the verdict's tooltip.
TEST_P(DesignBasisWindow, AFloorBelowEightHertzIsSaidInTheMessageLineAndTooltip)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    control<QCheckBox>(window, "vibrationChk")->click();
    main.type(joist::Input::span, "6");
    ASSERT_LT(main.window->design().f1, 8);
    const QString note = QString::fromUtf8(
        report::lowFrequencyNote(control<QLabel>(window, "f1Lbl")->text().toStdString()));
    EXPECT_TRUE(main.label("messageLbl").contains(note)) << main.label("messageLbl").toStdString();
    EXPECT_TRUE(verdictTip(main).contains(note)) << verdictTip(main).toStdString();
}

// The point load's ratios stand in the main window only while it is checked.
TEST_P(DesignBasisWindow, PointLoadRatiosShowOnlyWhileChecked)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    ui::ValueLabel* bearing = main.controls().pointBearingResLbl;
    EXPECT_TRUE(bearing->isHidden());

    control<QCheckBox>(window, "pointLoadChk")->click();
    const joist::JoistDesign& d = main.window->design();
    ASSERT_TRUE(d.basis.pointLoad);
    EXPECT_FALSE(bearing->isHidden());
    EXPECT_EQ(bearing->text(), local(QString::number(d.ratioPointBearing)));
    EXPECT_TRUE(verdictTip(main).contains("Point load Fd = " + local("1.5") + " \u00D7 " +
                                          local("1") + " \u00D7 Qk " + local("2") + " kN"));

    type(window, "pointLoadTxt", local("4"));
    EXPECT_EQ(d.basis.pointLoadQk, 4.0f);
    EXPECT_EQ(main.label("governedByLbl"), "Joist fails in point-load bearing");

    control<QCheckBox>(window, "pointLoadChk")->click();
    EXPECT_TRUE(bearing->isHidden());
    EXPECT_EQ(main.label("governedByLbl"), "Joist Passes");
}

// Picking the other rule set takes its damping ratio unless one was typed.
TEST_P(DesignBasisWindow, VibrationRulesSetTheirDamping)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    FrmDesignBasis* window = open(main);
    ASSERT_TRUE(window);
    auto* rules = control<QComboBox>(window, "vibrationRulesCmb");
    const joist::DesignBasis& basis = main.window->design().basis;
    for (const auto& [vibration, picked, damping] :
         {std::tuple{false, 1, 0.01f}, {true, 1, 0.01f}, {true, 0, 0.02f}}) {
        control<QCheckBox>(window, "vibrationChk")->setChecked(vibration);
        rules->setCurrentIndex(picked);
        EXPECT_EQ(basis.damping, damping);
    }
    type(window, "dampingTxt", local("0.015"));
    rules->setCurrentIndex(1);
    EXPECT_EQ(basis.damping, 0.015f);
    EXPECT_EQ(control<QLabel>(window, "bLbl")->text(), "100");
    type(window, "vibrationBTxt", "160");
    EXPECT_TRUE(control<QLabel>(window, "messageLbl")
                    ->text()
                    .startsWith("Constant b: \"160\" is not a number from 50 to 150; 100 stays"));
}

// Changes are the design's; only the button keeps them, for the next start.
// Resetting to the program's defaults leaves the user's defaults alone.
TEST_P(DesignBasisWindow, DefaultsAreKeptOnlyWhenAskedAndReadAtStart)
{
    {
        MainWindowDriver main(testing::shippedDirectory(), locale());
        FrmDesignBasis* window = open(main);
        ASSERT_TRUE(window);
        main.type(joist::Input::span, "5");
        type(window, "u2FinDivTxt", "250");
        control<QCheckBox>(window, "vibrationChk")->click();
        EXPECT_FALSE(QFile::exists(settingsFile())) << "a change to the design was kept";
        control<QPushButton>(window, "useAsDefaultBtn")->click();
        ASSERT_TRUE(QFile::exists(settingsFile()));
        EXPECT_FALSE(control<QPushButton>(window, "useAsDefaultBtn")->isEnabled());
        control<QPushButton>(window, "restoreDefaultsBtn")->click();
        EXPECT_TRUE(main.window->design().basis.isDefault());
        EXPECT_TRUE(control<QPushButton>(window, "useAsDefaultBtn")->isEnabled());
    }
    {
        MainWindowDriver main(testing::shippedDirectory(), locale());
        main.start();
        EXPECT_EQ(main.window->design().basis.u2FinDivisor, 250);
        EXPECT_TRUE(main.window->design().basis.vibration);
        EXPECT_TRUE(verdictTip(main).startsWith(
            "Design basis: u 2,fin limit, span divisor: 250; Check floor vibration: yes\n"));
        FrmDesignBasis* window = open(main);
        control<QPushButton>(window, "restoreDefaultsBtn")->click();
        control<QPushButton>(window, "useAsDefaultBtn")->click();
    }
    // A value that cannot give a meaningful limit (edited by hand) is not read.
    const auto settings = document::programSettings();
    settings->setValue("designBasis/u2Divisor", "1e-40");
    ASSERT_FALSE(settings->save());
    MainWindowDriver main(testing::shippedDirectory(), locale());
    main.start();
    EXPECT_TRUE(main.window->design().basis.isDefault());
}

INSTANTIATE_TEST_SUITE_P(Separators, DesignBasisWindow, ::testing::Values(".", ","));

} // namespace
} // namespace ui
