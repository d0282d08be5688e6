// The calculation sheet: building its document from the window's data and
// writing it as an A4 PDF through a save file; beside it the floor, QPdfWriter
// writing one page that holds a plain QTextDocument of the same length.
//
//   report_bench [--benchmark_min_time=...]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextDocument>

#include "bench/paired_reporter.h"
#include "tests/sheet_fixtures.h"
#include "ui/sheet/sheet_output.h"

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

void ReportSheet(benchmark::State& state)
{
    const ui::CalculationSheet sheet = ui::testing::exampleSheet(",");
    const QString path = folder().filePath(QStringLiteral("sheet.pdf"));
    for (auto _ : state)
        ui::writeSheetPdf(sheet, path);
    state.counters["bytes"] = double(QFile(path).size());
}

void ReportSheetFloor(benchmark::State& state)
{
    // The sheet's characters as one paragraph, which fits one page.
    const QString text = ui::sheetDocument(ui::testing::exampleSheet(","))
                             ->toPlainText()
                             .replace(QChar::ParagraphSeparator, QLatin1Char(' '));
    const QString path = folder().filePath(QStringLiteral("floor.pdf"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QTextDocument document;
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(8);
        document.setDefaultFont(font);
        document.setPlainText(text);
        document.print(&writer);
    }
    state.counters["characters"] = double(text.size());
    state.counters["bytes"] = double(QFile(path).size());
}

BENCHMARK(ReportSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(ReportSheetFloor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return bench::runPaired(argc, argv);
}
