// The grid at hospital scale: a 100,000-row, 10-column result bound into a shown grid, scrolled
// to its end and written to, as the listing and the pickers do with a large result.
#include "platform/db/Recordset.h"
#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <benchmark/benchmark.h>

namespace {

constexpr int recordCount = 100000;

// Peak resident memory of the process so far, in MiB (VmHWM).
double peakRssMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Rows shaped like the document listing: identifiers, names, a date, quantities and costs,
// a flag and the odd null.
const db::Recordset &largeResult()
{
    static const db::Recordset records = [] {
        std::vector<db::Recordset::Row> rows;
        rows.reserve(recordCount);
        const QDateTime start(QDate(2026, 1, 1), QTime(8, 0));
        for (int i = 0; i < recordCount; ++i) {
            rows.push_back({QVariant(QStringLiteral("WR-%1").arg(i, 8, 10, QLatin1Char('0'))),
                            QVariant(QStringLiteral("WARD %1").arg(i % 40)),
                            QVariant(QStringLiteral("CENTRAL PHARMACY")),
                            QVariant(start.addSecs(qint64(i) * 97)),
                            QVariant(QStringLiteral("DELA CRUZ, JUAN %1").arg(i % 500)),
                            QVariant(qlonglong(i % 977)), QVariant(12.5 + (i % 300) * 0.25),
                            i % 11 == 0 ? QVariant() : QVariant(qlonglong(i * 3)),
                            QVariant(i % 2 == 0), QVariant(QStringLiteral("LOT%1").arg(i % 73))});
        }
        return db::Recordset({QStringLiteral("DocumentNumber"), QStringLiteral("Request From"),
                              QStringLiteral("To"), QStringLiteral("TransDate"),
                              QStringLiteral("Requested By"), QStringLiteral("Quantity"),
                              QStringLiteral("UnitCost"), QStringLiteral("RecordNumber"),
                              QStringLiteral("isRequest"), QStringLiteral("LotNumber")},
                             std::move(rows));
    }();
    return records;
}

struct ShownGrid
{
    ShownGrid()
    {
        grid.resize(1024, 600);
        grid.show();
        QCoreApplication::processEvents();
    }
    void paint()
    {
        grid.viewport()->repaint();
        grid.horizontalHeader()->viewport()->repaint();
    }
    ui::FlexGrid grid;
};

void reportMemory(benchmark::State &state)
{
    state.counters["peak_rss_MiB"] = peakRssMiB();
}

// Binding and showing the first screen, as a form does after its query.
void BM_BindAndShow(benchmark::State &state)
{
    const db::Recordset &records = largeResult();
    ShownGrid shown;
    for (auto _ : state) {
        shown.grid.bind(records);
        shown.grid.setFormatString(QStringLiteral(
            "   |<Doc #     |Request From                    |To            |Date         "));
        shown.grid.setColWidth(7, 0);
        shown.paint();
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    reportMemory(state);
}
BENCHMARK(BM_BindAndShow)->Unit(benchmark::kMillisecond)->Iterations(10);

// Scrolling from the top to the last row and painting it.
void BM_ScrollToEnd(benchmark::State &state)
{
    ShownGrid shown;
    shown.grid.bind(largeResult());
    shown.paint();
    for (auto _ : state) {
        shown.grid.setTopRow(1);
        shown.paint();
        shown.grid.setRow(shown.grid.Rows() - 1);
        shown.paint();
    }
    if (shown.grid.TopRow() < recordCount - 100)
        state.SkipWithError("the grid did not reach its last row");
    reportMemory(state);
}
BENCHMARK(BM_ScrollToEnd)->Unit(benchmark::kMillisecond);

// Writing one cell of a bound row (the copy-on-write path).
void BM_WriteCell(benchmark::State &state)
{
    ShownGrid shown;
    shown.grid.bind(largeResult());
    shown.grid.setRow(shown.grid.Rows() - 1);
    shown.paint();
    int n = 0;
    for (auto _ : state)
        shown.grid.setTextMatrix(recordCount - 5, 6, QString::number(++n));
    shown.paint();
    if (shown.grid.TextMatrix(recordCount - 5, 6) != QString::number(n))
        state.SkipWithError("the written cell did not read back");
    reportMemory(state);
}
BENCHMARK(BM_WriteCell)->Unit(benchmark::kMicrosecond);

// Painting one screen of the bound grid (1024 x 600 pixels, offscreen raster).
void BM_PaintScreen(benchmark::State &state)
{
    ShownGrid shown;
    shown.grid.bind(largeResult());
    shown.grid.setTopRow(recordCount / 2);
    for (auto _ : state)
        shown.paint();
    reportMemory(state);
}
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMillisecond);

// Reading every cell as text, as a save loop over the grid's rows does.
void BM_ReadAllTexts(benchmark::State &state)
{
    ui::FlexGrid grid;
    grid.bind(largeResult());
    for (auto _ : state) {
        qsizetype total = 0;
        for (int r = 1; r < grid.Rows(); ++r) {
            for (int c = 0; c < grid.Cols(); ++c)
                total += grid.TextMatrix(r, c).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * recordCount * 10);
    reportMemory(state);
}
BENCHMARK(BM_ReadAllTexts)->Unit(benchmark::kMillisecond)->Iterations(3);

// Filling a grid cell by cell with redrawing off, as the request loader fills its lines.
void BM_FillByCells(benchmark::State &state)
{
    ShownGrid shown;
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        shown.grid.setRedraw(false);
        shown.grid.Clear();
        shown.grid.setCols(10);
        shown.grid.setRows(rows + 2);
        for (int r = 1; r <= rows; ++r) {
            for (int c = 0; c < 10; ++c)
                shown.grid.setTextMatrix(r, c, QString::number(r * 10 + c));
        }
        shown.grid.setRedraw(true);
        shown.paint();
    }
    state.SetItemsProcessed(state.iterations() * rows * 10);
    reportMemory(state);
}
BENCHMARK(BM_FillByCells)->Unit(benchmark::kMillisecond)->Arg(1000)->Arg(10000);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::AddCustomContext("records", std::to_string(recordCount));
    const double before = peakRssMiB();
    largeResult();
    benchmark::AddCustomContext("peak_rss_MiB_after_building_result", std::to_string(peakRssMiB()));
    benchmark::AddCustomContext("peak_rss_MiB_at_start", std::to_string(before));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
