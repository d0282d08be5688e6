// Keystrokes into the span box of the real main window, offscreen, from the
// key event until every changed widget has been repainted; beside it the
// floor window with the same widgets, and the program again with its span
// table window open (which recomputes the whole table on every completed
// check), and once more with floor vibration checked as well (checked in
// the design basis window, which is then closed); and the program alone
// with every choice of the basis that changes the check on. Alternates a passing and a failing
// span. Settings go to a temporary folder, never the user's.
//
//   keystroke_bench [keys]            time per key, both windows
//   keystroke_bench --only program|vibration|everyChoice|floor [keys]
//                                     one window, for counting instructions:
//   valgrind --tool=callgrind --toggle-collect='bench::oneKeystroke*'
//            keystroke_bench --only program 1000
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "bench/floor_window.h"
#include "ui/design_basis_window.h"
#include "ui/main_window.h"

namespace bench {

// Kept out of line so that callgrind can count just this.
[[gnu::noinline]] void oneKeystroke(QLineEdit* box, char key)
{
    QTest::keyClick(box, key);
    QApplication::processEvents(); // delivers the repaints
}

struct Timings
{
    double median = 0, p99 = 0, mean = 0;
};

Timings typeInto(QWidget* window, int keys)
{
    auto* box = window->findChild<QLineEdit*>(QStringLiteral("spanTxt"));
    std::vector<double> microseconds;
    microseconds.reserve(std::size_t(keys));
    for (int i = 0; i < keys; ++i) {
        box->selectAll();
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        oneKeystroke(box, i % 2 == 0 ? '6' : '4');
        const auto end = std::chrono::steady_clock::now();
        microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::vector<double> sorted = microseconds;
    std::sort(sorted.begin(), sorted.end());
    Timings t;
    t.median = sorted[sorted.size() / 2];
    t.p99 = sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)];
    for (double m : microseconds)
        t.mean += m / double(keys);
    return t;
}

enum class Window { floor, program, programWithSpanTable, withVibration, withEveryChoice };

// Sizes and service class change only the lists.
joist::DesignBasis everyChoice()
{
    joist::DesignBasis basis;
    basis.vibration = true;
    basis.vibrationRules = joist::VibrationRules::en;
    basis.rules = joist::Rules::amended;
    basis.partitions = 0.5f;
    basis.pointLoad = true;
    return basis;
}

std::unique_ptr<QWidget> makeWindow(Window kind)
{
    if (kind != Window::floor) {
        auto window = std::make_unique<ui::FrmMain>(JOIST_RUNTIME_DIR, QLocale::c());
        window->showModeless();
        if (kind == Window::programWithSpanTable || kind == Window::withVibration)
            window->findChild<QAction*>(QStringLiteral("spanTableAct"))->trigger();
        if (kind == Window::withVibration) {
            window->findChild<QAction*>(QStringLiteral("designBasisAct"))->trigger();
            window->designBasisWindow()
                ->findChild<QCheckBox*>(QStringLiteral("vibrationChk"))
                ->click();
            window->designBasisWindow()->close();
        }
        if (kind == Window::withEveryChoice) {
            window->findChild<QAction*>(QStringLiteral("designBasisAct"))->trigger();
            window->designBasisWindow()->applyBasis(everyChoice());
            window->designBasisWindow()->close();
        }
        return window;
    }
    auto window = std::make_unique<FloorWindow>();
    window->showModeless();
    return window;
}

} // namespace bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));

    const bool single = argc > 2 && std::strcmp(argv[1], "--only") == 0;
    const int keys = std::atoi(argv[single ? 3 : 1] ? argv[single ? 3 : 1] : "10000") > 0
                         ? std::atoi(argv[single ? 3 : 1])
                         : 10000;
    if (single) {
        auto window = bench::makeWindow(
            std::strcmp(argv[2], "program") == 0       ? bench::Window::program
            : std::strcmp(argv[2], "vibration") == 0   ? bench::Window::withVibration
            : std::strcmp(argv[2], "everyChoice") == 0 ? bench::Window::withEveryChoice
                                                       : bench::Window::floor);
        QApplication::processEvents();
        bench::typeInto(window.get(), keys);
        return 0;
    }

    bench::Timings results[5];
    for (int kind = 0; kind < 5; ++kind) {
        auto window = bench::makeWindow(static_cast<bench::Window>(kind));
        QApplication::processEvents();
        bench::typeInto(window.get(), 200); // warm up
        results[kind] = bench::typeInto(window.get(), keys);
    }
    const bench::Timings& floor = results[0];
    const bench::Timings& program = results[1];
    const bench::Timings& withSpanTable = results[2];
    std::printf("%d keystrokes each, microseconds per key (key event to repainted)\n", keys);
    std::printf("           median      p99     mean\n");
    std::printf("program  %7.1f  %7.1f  %7.1f\n", program.median, program.p99, program.mean);
    std::printf("floor    %7.1f  %7.1f  %7.1f\n", floor.median, floor.p99, floor.mean);
    std::printf("ratio    %7.2f  %7.2f  %7.2f\n", program.median / floor.median,
                program.p99 / floor.p99, program.mean / floor.mean);
    std::printf("program with the span table open\n");
    std::printf("         %7.1f  %7.1f  %7.1f\n", withSpanTable.median, withSpanTable.p99,
                withSpanTable.mean);
    const bench::Timings& withVibration = results[3];
    std::printf("the same with floor vibration checked\n");
    std::printf("         %7.1f  %7.1f  %7.1f\n", withVibration.median, withVibration.p99,
                withVibration.mean);
    const bench::Timings& withEveryChoice = results[4];
    std::printf("program with every choice of the basis on, and its ratio to the program's\n");
    std::printf("         %7.1f  %7.1f  %7.1f\n", withEveryChoice.median, withEveryChoice.p99,
                withEveryChoice.mean);
    std::printf("ratio    %7.2f  %7.2f  %7.2f\n", withEveryChoice.median / program.median,
                withEveryChoice.p99 / program.p99, withEveryChoice.mean / program.mean);
    return 0;
}
