// Random user actions on the main window; after each one, what the screen
// shows must be the truth: either the results equal a fresh check of the
// inputs on screen, or the window visibly says they are out of date.
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <sstream>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "materials/strength_class_connection.h"
#include "tests/main_window_fixtures.h"
#include "tests/materials_fixtures.h"
#include "ui/input_table.h"
#include "ui/material_data_window.h"
#include "ui/sketch/section_sketch.h"

namespace ui {
namespace {

namespace fs = std::filesystem;

// The inputs the user types into, from the input table.
const std::vector<joist::Input> textBoxes = [] {
    std::vector<joist::Input> boxes;
    for (const joist::InputFacts& row : joist::inputFacts())
        if (row.entry == joist::InputEntry::typed)
            boxes.push_back(row.input);
    return boxes;
}();

std::string nameOf(const QWidget* control)
{
    return control->objectName().toStdString();
}

const QStringList hostileTexts{"",
                               "0",
                               "-0",
                               "4",
                               "6",
                               "0.5",
                               "0,5",
                               "-5",
                               "1e39",
                               "-1e39",
                               "1e-50",
                               "3.4028235e38",
                               "1e20",
                               "1e-30",
                               "0.000001",
                               "abc",
                               "  7 ",
                               "1e",
                               "--1",
                               "+3",
                               "\u0664",
                               "1\n2",
                               "NaN",
                               "inf",
                               "0x10",
                               "1.5.5",
                               "1,5,5",
                               "<b>bold</b>",
                               "%s%n",
                               "\u202E12",
                               "9999999999",
                               "1e308",
                               QString(300, QLatin1Char('9')),
                               QStringLiteral("0.") + QString(200, '1')};

class Recording : public joist::ResultSink
{
public:
    void setResultText(joist::ResultLabel label, std::string_view text) override
    {
        shown[static_cast<std::size_t>(label)] =
            QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    std::array<QString, joist::resultLabelCount> shown;
};

// Draws nothing; the sketch only has to succeed for a check to run.
class NullSurface : public DrawingSurface
{
public:
    void clear() override {}
    void setFillStyle(FillStyle) override {}
    bool setUserWindow(float x1, float y1, float x2, float y2) override
    {
        return std::isfinite(x2 - x1) && std::isfinite(y2 - y1) && x2 != x1 && y2 != y1;
    }
    bool drawBox(float, float, float, float) override { return true; }
    bool fillBox(float, float, float, float) override { return true; }
};

struct FileState
{
    std::string bytes;
    fs::file_time_type modified;
    bool operator==(const FileState&) const = default;
};

FileState stateOf(const fs::path& file)
{
    return {materials::testing::readFile(file.string()), fs::last_write_time(file)};
}

class ScreenConsistency
{
public:
    ScreenConsistency(std::uint32_t seed, QLocale locale)
        : random_(seed), locale_(locale), separator_(locale.decimalPoint().toStdString()),
          main_(prepareDirectory(), locale)
    {
        // A connection reads the fields bound to it.
        for (const char* field : {"fm,k", "rmean"})
            reference_.bind(field, [](const std::string&) {});
        reference_.setPath(databaseFile().string());
        reference_.open();
    }

    fs::path databaseFile() const { return directory_.path() / "ZU5ZO.mdb"; }

    // Runs `count` random actions; returns the first broken promise, with the
    // actions that led there.
    std::string run(int count)
    {
        main_.start();
        const FileState before = stateOf(databaseFile());
        if (std::string broken = check(); !broken.empty())
            return report("start-up", broken);
        for (int i = 0; i < count; ++i) {
            const std::string action = act();
            actions_.push_back(action);
            if (std::string broken = check(); !broken.empty())
                return report(action, broken);
        }
        main_.window->close();
        if (stateOf(databaseFile()) != before)
            return report("closing", "the database file's bytes or modification time changed");
        return {};
    }

    // How often the screen held checkable inputs, and how often not: a run
    // that never reaches one of them proves little.
    int checkedStates = 0;
    int staleStates = 0;

private:
    fs::path prepareDirectory()
    {
        fs::copy_file(testing::shippedDirectory() / "ZU5ZO.mdb", directory_.path() / "ZU5ZO.mdb");
        return directory_.path();
    }

    int uniform(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    QString randomNumberText()
    {
        static const char* const forms[] = {"%d", "%g", "%.3f", "%e", "-%g", "%.12g"};
        const double magnitude = std::pow(10.0, uniform(90) - 45) * (1 + uniform(1000) / 100.0);
        char text[64];
        std::snprintf(text, sizeof text, forms[uniform(6)],
                      uniform(3) == 0 ? static_cast<int>(magnitude) : magnitude);
        QString number = QString::fromLatin1(text);
        // Mostly the user's separator, sometimes the other one.
        if (uniform(4) != 0)
            number.replace(QLatin1Char('.'), locale_.decimalPoint());
        return number;
    }

    // Any list of the window: an input's, or the class list.
    DropDownList* randomList()
    {
        std::vector<DropDownList*> lists{main_.classList()};
        for (const joist::InputFacts& row : joist::inputFacts())
            if (row.entry == joist::InputEntry::list)
                lists.push_back(main_.list(row.input));
        return lists[std::size_t(uniform(int(lists.size())))];
    }

    std::string act()
    {
        std::ostringstream said;
        switch (uniform(16)) {
        case 0:
        case 1:
        case 2: { // keystrokes
            const joist::Input box = textBoxes[uniform(int(textBoxes.size()))];
            static const QString keys = QStringLiteral("0123456789.,-+eE x0123456789");
            const QChar key = keys[uniform(int(keys.size()))];
            main_.box(box)->setCursorPosition(uniform(int(main_.box(box)->text().size()) + 1));
            QTest::keyClick(main_.box(box), key.toLatin1());
            said << "key '" << key.toLatin1() << "' in " << nameOf(main_.box(box));
            break;
        }
        case 3: {
            const joist::Input box = textBoxes[uniform(int(textBoxes.size()))];
            const bool backspace = uniform(2) == 0;
            main_.box(box)->setCursorPosition(uniform(int(main_.box(box)->text().size()) + 1));
            QTest::keyClick(main_.box(box), backspace ? Qt::Key_Backspace : Qt::Key_Delete);
            said << (backspace ? "Backspace" : "Delete") << " in " << nameOf(main_.box(box));
            break;
        }
        case 4:
        case 5: { // select all and paste
            const joist::Input box = textBoxes[uniform(int(textBoxes.size()))];
            const QString text = uniform(2) == 0 ? hostileTexts[uniform(int(hostileTexts.size()))]
                                                 : randomNumberText();
            main_.box(box)->selectAll();
            main_.box(box)->insert(text);
            said << "paste \"" << text.toStdString() << "\" over " << nameOf(main_.box(box));
            break;
        }
        case 6:
        case 7: { // a pick, by program as a mouse would
            DropDownList* list = randomList();
            const int index = uniform(list->count());
            list->setCurrentIndex(index);
            said << "pick item " << index << " of " << nameOf(list);
            break;
        }
        case 8: { // a pick by keyboard
            DropDownList* list = randomList();
            const bool down = uniform(2) == 0;
            QTest::keyClick(list, down ? Qt::Key_Down : Qt::Key_Up);
            said << (down ? "Down" : "Up") << " in " << nameOf(list);
            break;
        }
        case 9:
            control<QPushButton>(main_.window.get(), "showDBdataBtn")->click();
            if (!shownClass_)
                shownClass_ = main_.classList()->selectedText();
            said << "press Show Material Data";
            break;
        case 10:
            if (FrmDBData* data = main_.window->materialDataWindow(); data && data->isVisible())
                control<QPushButton>(data, "Command1")->click();
            said << "press OK in the material window";
            break;
        case 11:
            if (FrmDBData* data = main_.window->materialDataWindow())
                data->close();
            shownClass_.reset();
            said << "close the material window";
            break;
        default: { // a sensible value, typed over a box that needs one most
            joist::Input box = textBoxes[uniform(int(textBoxes.size()))];
            for (const joist::Input candidate : textBoxes) {
                if (!joist::parseNumber(main_.box(candidate)->text().toStdString(), separator_))
                    box = candidate;
            }
            static const QStringList sensible{"4",   "6", "2.4", "50", "75", "0.4",
                                              "1.5", "3", "0",   "5",  "-3", "0.75"};
            QString text = sensible[uniform(int(sensible.size()))];
            text.replace(QLatin1Char('.'), locale_.decimalPoint());
            main_.type(box, text);
            said << "type \"" << text.toStdString() << "\" over " << nameOf(main_.box(box));
            break;
        }
        }
        return said.str();
    }

    // Empty when every promise holds.
    std::string check()
    {
        if (QApplication::activeModalWidget())
            return "a modal dialog is open";
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && qobject_cast<QMessageBox*>(widget))
                return "a message box is shown";
        }

        // The material labels show the selected class's row.
        const int selected = main_.classList()->selectedIndex();
        reference_.moveFirst();
        reference_.move(selected);
        const auto field = [&](const char* name) {
            return QString::fromUtf8(
                materials::fieldText(reference_.fieldValue(name), separator_).value_or(""));
        };
        if (main_.label("fmkLbl") != field("fm,k") || main_.label("RmeanLbl") != field("rmean") ||
            main_.label("SCLbl") != field("Class"))
            return "the material labels do not show the selected class";

        if (FrmDBData* data = main_.window->materialDataWindow(); data && data->isLoaded()) {
            if (control<QLabel>(data, "SCLbl")->text() != shownClass_.value_or("?"))
                return "the material window does not show the class it was opened on";
        }

        // A fresh check of exactly what the screen shows.
        joist::JoistDesign fresh;
        bool checkable = true;
        for (const joist::InputDefinition& input : joist::inputDefinitions) {
            const std::optional<float> value =
                joist::parseNumber(screenText(ui::inputView(input.input).name), separator_);
            if (!value) {
                checkable = false;
                break;
            }
            fresh.*input.member = *value;
        }
        Recording expected;
        NullSurface surface;
        if (checkable)
            checkable = drawSection(fresh, surface).ok() &&
                        joist::runDesignCheck(fresh, false, expected, separator_).completed();

        const bool saysCurrent = main_.window->resultsCurrent();
        const bool looksCurrent = control<QLabel>(main_.window.get(), "bendingResLbl")->isEnabled();
        const QString message = main_.label("messageLbl");
        ++(checkable ? checkedStates : staleStates);
        if (!checkable) {
            if (saysCurrent || looksCurrent || message.isEmpty())
                return "the inputs on screen cannot be checked, but the window does not say the "
                       "results are out of date";
            return {};
        }
        if (!saysCurrent || !looksCurrent)
            return "the inputs on screen check fine, but the results are shown as out of date: " +
                   message.toStdString();
        // Every label the fresh check writes, and only those, shown.
        for (std::size_t i = 0; i < expected.shown.size(); ++i) {
            const ValueLabel* label =
                resultLabel(main_.controls(), static_cast<joist::ResultLabel>(i));
            if (!label) // the window has no place for it
                continue;
            const QString shown = label->isHidden() ? QString() : label->text();
            if (shown != expected.shown[i])
                return "result label " + std::to_string(i) + " shows \"" + shown.toStdString() +
                       "\", a fresh check gives \"" + expected.shown[i].toStdString() + "\"";
        }
        return {};
    }

    std::string screenText(std::string_view control) const
    {
        const QString name = QString::fromUtf8(control.data(), qsizetype(control.size()));
        if (auto* box = main_.window->findChild<QLineEdit*>(name))
            return box->text().toStdString();
        if (auto* list = main_.window->findChild<DropDownList*>(name))
            return list->selectedText().toStdString();
        return main_.window->findChild<QLabel*>(name)->text().toStdString();
    }

    std::string report(const std::string& action, const std::string& broken) const
    {
        std::ostringstream out;
        out << "after " << action << ": " << broken << "\nactions (" << actions_.size() << "):\n";
        for (std::size_t i = 0; i < actions_.size(); ++i)
            out << "  " << i + 1 << ". " << actions_[i] << '\n';
        return out.str();
    }

    materials::testing::TemporaryDirectory directory_;
    std::mt19937 random_;
    QLocale locale_;
    std::string separator_;
    testing::MainWindowDriver main_;
    materials::StrengthClassConnection reference_;
    std::optional<QString> shownClass_;
    std::vector<std::string> actions_;
};

std::uint32_t seed()
{
    bool ok = false;
    const uint value = qEnvironmentVariable("JOIST_PROPERTY_SEED").toUInt(&ok);
    return ok ? value : 20261207u;
}

int actionCount()
{
    bool ok = false;
    const int value = qEnvironmentVariable("JOIST_PROPERTY_ACTIONS").toInt(&ok);
    return ok ? value : 3000;
}

void runProperty(std::uint32_t seed, const QLocale& locale)
{
    ScreenConsistency property(seed, locale);
    const int actions = actionCount();
    EXPECT_EQ(property.run(actions), "") << "seed " << seed;
    EXPECT_GT(property.checkedStates, actions / 10);
    EXPECT_GT(property.staleStates, actions / 10);
    std::cout << "seed " << seed << ": " << property.checkedStates << " checked and "
              << property.staleStates << " out-of-date states\n";
}

TEST(ScreenConsistency, RandomActionsUnderADecimalPoint)
{
    runProperty(seed(), QLocale::c());
}

TEST(ScreenConsistency, RandomActionsUnderADecimalComma)
{
    runProperty(seed() + 1, QLocale(QLocale::German, QLocale::Germany));
}

} // namespace
} // namespace ui
