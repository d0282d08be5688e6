// Start-up: from main to the first completed paint of the main window, and
// the peak memory by then, for the real program and for the floor window
// with the same widgets. Each run is a fresh process.
//
//   startup_bench [runs]     runs both in turn and prints medians and ratios
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>

#include "bench/child_run.h"
#include "bench/floor_window.h"
#include "ui/main_window.h"

namespace {

const auto processStart = std::chrono::steady_clock::now();

// Notes the first paint anywhere in the window.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

int child(bool program)
{
    static int argc = 1;
    static char name[] = "startup_bench";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    PaintWatch watch;
    application.installEventFilter(&watch);
    std::unique_ptr<ui::Form> window;
    if (program)
        window = std::make_unique<ui::FrmMain>(JOIST_RUNTIME_DIR);
    else
        window = std::make_unique<bench::FloorWindow>();
    window->showModeless();
    // The whole first frame is painted within the pass that paints anything.
    while (!watch.painted)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart)
            .count();
    bench::reportFromChild(ms);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return child(std::strcmp(argv[2], "program") == 0);

    // The children start with default settings, from a folder of their own.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::vector<double> times[2];
    std::vector<long> memory[2];
    for (int i = 0; i < runs; ++i) {
        // Interleaved, so that drift in the machine's speed hits both alike.
        for (int program = 0; program < 2; ++program) {
            const bench::ChildSample s = bench::runChild(argv[0], program ? "program" : "floor");
            times[program].push_back(s.ms);
            memory[program].push_back(s.kilobytes);
        }
    }
    const double programMs = bench::median(times[1]), floorMs = bench::median(times[0]);
    const long programKb = bench::median(memory[1]), floorKb = bench::median(memory[0]);
    std::printf("%d runs each, medians: main to first completed paint, peak memory\n", runs);
    std::printf("program  %8.1f ms  %8ld KB\n", programMs, programKb);
    std::printf("floor    %8.1f ms  %8ld KB\n", floorMs, floorKb);
    std::printf("ratio    %8.2f     %8.2f\n", programMs / floorMs, double(programKb) / floorKb);
    return 0;
}
