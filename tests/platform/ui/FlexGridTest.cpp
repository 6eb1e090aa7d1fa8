#include "platform/ui/FlexGrid.h"
#include "platform/db/Recordset.h"

#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

db::Recordset itemRecords(int count)
{
    std::vector<db::Recordset::Row> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({QVariant(QStringLiteral("ITM%1").arg(i + 1)), QVariant(qlonglong(i * 10)),
                        QVariant(2.5 * i), QVariant(), QVariant(i % 2 == 0)});
    }
    return db::Recordset({QStringLiteral("ItemID"), QStringLiteral("Qty"),
                          QStringLiteral("UnitCost"), QStringLiteral("Remarks"),
                          QStringLiteral("isADS")},
                         std::move(rows));
}

Qt::Alignment horizontal(const QVariant &alignment)
{
    return alignment.value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
}

TEST(FlexGrid, NewGridHasHeaderRowAndOneEmptyDataRow)
{
    ui::FlexGrid grid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_EQ(grid.model()->rowCount(), 1); // row 0 is the header, not a model row
    EXPECT_FALSE(grid.verticalHeader()->isVisibleTo(&grid));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString());
}

struct BindCase
{
    int records;
    int fixedCols;
};

void PrintTo(const BindCase &c, std::ostream *os)
{
    *os << c.records << " records, " << c.fixedCols << " fixed columns";
}

class FlexGridBind : public ::testing::TestWithParam<BindCase>
{
};

TEST_P(FlexGridBind, RowsCountHeaderAndFieldsStartAfterFixedColumns)
{
    const BindCase c = GetParam();
    ui::FlexGrid grid;
    grid.setFixedCols(c.fixedCols);
    QSignalSpy moved(&grid, &ui::FlexGrid::rowColChange);
    grid.bind(itemRecords(c.records));

    EXPECT_EQ(grid.Rows(), std::max(c.records, 1) + 1);
    EXPECT_EQ(grid.Cols(), 5 + c.fixedCols);
    const int f = c.fixedCols;
    EXPECT_EQ(grid.TextMatrix(0, f), "ItemID");
    EXPECT_EQ(grid.TextMatrix(0, f + 4), "isADS");
    EXPECT_EQ(grid.model()->headerData(f + 1, Qt::Horizontal).toString(), "Qty");
    if (c.records == 0) {
        for (int col = 0; col < grid.Cols(); ++col)
            EXPECT_EQ(grid.TextMatrix(1, col), QString());
    } else {
        const int last = c.records;
        EXPECT_EQ(grid.TextMatrix(last, f), QStringLiteral("ITM%1").arg(last));
        EXPECT_EQ(grid.TextMatrix(last, f + 1), QString::number((last - 1) * 10));
        EXPECT_EQ(grid.TextMatrix(2, f + 2), "2.5");
        EXPECT_EQ(grid.TextMatrix(1, f + 3), QString()); // null reads as the empty text
        EXPECT_EQ(grid.TextMatrix(1, f + 4), "True");
        EXPECT_EQ(grid.TextMatrix(2, f + 4), "False");
    }
    if (f > 0) {
        EXPECT_EQ(grid.model()->flags(grid.model()->index(0, 0)), Qt::NoItemFlags);
        EXPECT_EQ(grid.Col(), f); // the current cell never sits in a fixed column
    }
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(moved.count(), 0); // binding is not a move of the user's
}

INSTANTIATE_TEST_SUITE_P(Results, FlexGridBind,
                         ::testing::Values(BindCase {0, 0}, BindCase {3, 0}, BindCase {3, 1},
                                           BindCase {0, 1}));

TEST(FlexGrid, FormatStringGivesHeadersAlignmentAndWidths)
{
    ui::FlexGrid grid;
    grid.setFormatString("<Code |< Product Name & Description |<UOM  |Quantity| >Cost|^Y/N");
    ASSERT_EQ(grid.Cols(), 6);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Code");
    EXPECT_EQ(grid.TextMatrix(0, 1), "Product Name & Description");
    EXPECT_EQ(grid.TextMatrix(0, 2), "UOM");
    EXPECT_EQ(grid.TextMatrix(0, 3), "Quantity");
    EXPECT_EQ(grid.TextMatrix(0, 4), ">Cost"); // a mark counts only as the first character
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), "Product Name & Description");

    grid.setTextMatrix(1, 0, "12");
    grid.setTextMatrix(1, 3, "12");
    grid.setTextMatrix(1, 4, "ABC");
    auto align = [&](int col) {
        return horizontal(grid.model()->data(grid.model()->index(0, col), Qt::TextAlignmentRole));
    };
    EXPECT_EQ(align(0), Qt::AlignLeft); // "<" even for a number
    EXPECT_EQ(align(3), Qt::AlignRight); // general: numbers right
    EXPECT_EQ(align(4), Qt::AlignLeft); // general: text left
    EXPECT_EQ(align(5), Qt::AlignHCenter);

    // Longer segments, blanks included, give wider columns.
    EXPECT_GT(grid.ColWidth(1), grid.ColWidth(0));
    EXPECT_GT(grid.ColWidth(2), grid.ColWidth(5));
}

TEST(FlexGrid, FormatStringAfterBindingKeepsTheDataAndRenamesColumns)
{
    ui::FlexGrid grid;
    grid.bind(itemRecords(3));
    grid.setFormatString("<Code |>Qty");
    EXPECT_EQ(grid.Cols(), 5);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Code");
    EXPECT_EQ(grid.TextMatrix(0, 2), "UnitCost");
    EXPECT_EQ(grid.TextMatrix(3, 0), "ITM3");
    EXPECT_EQ(grid.FormatString(), "<Code |>Qty");
}

TEST(FlexGrid, WidthZeroHidesAndAWidthShowsAgainAcrossBinding)
{
    ui::FlexGrid grid;
    grid.bind(itemRecords(2));
    grid.setColWidth(1, 800);
    grid.setColWidth(3, 0);
    EXPECT_EQ(grid.ColWidth(1), 800);
    EXPECT_EQ(grid.columnWidth(1), ui::twipsToPixels(800));
    EXPECT_TRUE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.ColWidth(3), 0);

    grid.bind(itemRecords(5)); // a refresh keeps the hidden key column hidden
    EXPECT_TRUE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.ColWidth(1), 800);

    grid.setColWidth(3, 1000);
    EXPECT_FALSE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.ColWidth(3), 1000);
}

TEST(FlexGrid, CellsWrittenAfterBindingReadBack)
{
    ui::FlexGrid grid;
    grid.bind(itemRecords(4));
    QSignalSpy header(grid.model(), &QAbstractItemModel::headerDataChanged);
    grid.setTextMatrix(2, 1, "77");
    grid.setTextMatrix(0, 3, "Lotnumber");
    grid.setTextMatrix(99, 1, "outside"); // ignored
    EXPECT_EQ(grid.TextMatrix(2, 1), "77");
    EXPECT_EQ(grid.TextMatrix(1, 1), "0");
    EXPECT_EQ(grid.TextMatrix(3, 1), "20");
    EXPECT_EQ(grid.model()->data(grid.model()->index(1, 1)).toString(), "77");
    EXPECT_EQ(grid.model()->headerData(3, Qt::Horizontal).toString(), "Lotnumber");
    EXPECT_EQ(header.count(), 1);
    EXPECT_EQ(grid.TextMatrix(99, 1), QString());
    EXPECT_EQ(grid.Rows(), 5);
}

TEST(FlexGrid, ClearKeepsTheShapeAndEmptiesTextsAndColours)
{
    ui::FlexGrid grid;
    grid.bind(itemRecords(3));
    const QColor window = grid.CellBackColor(1, 1);
    grid.setCellBackColor(1, 1, QColor(0xFF, 0xC0, 0xFF));
    EXPECT_EQ(grid.CellBackColor(1, 1), QColor(0xFF, 0xC0, 0xFF));
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.Cols(), 5);
    EXPECT_EQ(grid.TextMatrix(0, 0), QString());
    EXPECT_EQ(grid.TextMatrix(2, 0), QString());
    EXPECT_EQ(grid.CellBackColor(1, 1), window);
}

TEST(FlexGrid, RowsKeepTheTextsThatRemainAndNewRowsAreEmpty)
{
    ui::FlexGrid grid;
    grid.setCols(10);
    grid.setRows(4);
    for (int r = 1; r < 4; ++r)
        grid.setTextMatrix(r, 0, QStringLiteral("R%1").arg(r));
    grid.setCellBackColor(3, 0, Qt::red);
    grid.setRow(3);
    grid.setRows(3);
    EXPECT_EQ(grid.Row(), 2); // the current row went with the rows
    grid.setRows(5);
    EXPECT_EQ(grid.TextMatrix(2, 0), "R2");
    EXPECT_EQ(grid.TextMatrix(3, 0), QString());
    EXPECT_NE(grid.CellBackColor(3, 0), QColor(Qt::red));
    grid.setRows(0); // never below the fixed rows
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.TextMatrix(0, 0), QString());
}

struct RowCase
{
    int requested;
    int expected;
};

void PrintTo(const RowCase &c, std::ostream *os)
{
    *os << "row " << c.requested << " -> " << c.expected;
}

class FlexGridSetRow : public ::testing::TestWithParam<RowCase>
{
};

TEST_P(FlexGridSetRow, ClampsToTheDataRowsAndRaisesTheCellEvents)
{
    ui::FlexGrid grid;
    grid.setFixedCols(1);
    grid.setCols(4);
    grid.setRows(11);
    grid.setRow(4);
    QSignalSpy moved(&grid, &ui::FlexGrid::rowColChange);
    QSignalSpy entered(&grid, &ui::FlexGrid::enterCell);
    grid.setRow(GetParam().requested);
    EXPECT_EQ(grid.Row(), GetParam().expected);
    EXPECT_EQ(grid.Col(), 1);
    const int expectedEvents = GetParam().expected == 4 ? 0 : 1;
    EXPECT_EQ(moved.count(), expectedEvents);
    EXPECT_EQ(entered.count(), expectedEvents);

    grid.setCol(0); // a fixed column never becomes current
    EXPECT_EQ(grid.Col(), 1);
    grid.setCol(9);
    EXPECT_EQ(grid.Col(), 3);
}

INSTANTIATE_TEST_SUITE_P(Rows, FlexGridSetRow,
                         ::testing::Values(RowCase {0, 1}, RowCase {-5, 1}, RowCase {7, 7},
                                           RowCase {10, 10}, RowCase {999, 10}, RowCase {4, 4}));

TEST(FlexGrid, TopRowScrollsAndFollowsTheCurrentRow)
{
    ui::FlexGrid grid;
    grid.resize(300, 160);
    grid.show();
    grid.setRows(101);
    EXPECT_EQ(grid.TopRow(), 1);
    grid.setTopRow(40);
    EXPECT_EQ(grid.TopRow(), 40);
    grid.setRow(90); // scrolled into view
    EXPECT_GT(grid.TopRow(), 40);
    EXPECT_LE(grid.TopRow(), 90);
    EXPECT_TRUE(grid.viewport()->rect().contains(grid.visualRect(grid.currentIndex())));
    grid.setTopRow(0);
    EXPECT_EQ(grid.TopRow(), 1);
}

TEST(FlexGrid, ClickMakesADataCellCurrentAndAFixedCellChoosesItsRow)
{
    ui::FlexGrid grid;
    grid.resize(400, 200);
    grid.setFixedCols(1);
    grid.setCols(3);
    grid.setRows(5);
    grid.show();
    QSignalSpy clicked(&grid, &ui::FlexGrid::cellClicked);
    QSignalSpy moved(&grid, &ui::FlexGrid::rowColChange);
    QSignalSpy doubled(&grid, &ui::FlexGrid::dblClick);

    const QRect cell = grid.visualRect(grid.model()->index(2, 2)); // grid row 3, column 2
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(moved.count(), 1);
    EXPECT_TRUE(grid.selectionModel()->isSelected(grid.currentIndex()));

    // The fixed cell beside a row (a tick box) chooses that row, the column stays; a double
    // click on it is the row's double click. It is never a click on a data cell.
    const QRect fixed = grid.visualRect(grid.model()->index(0, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, fixed.center());
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(doubled.count(), 0);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, fixed.center());
    EXPECT_EQ(doubled.count(), 1);
    EXPECT_EQ(clicked.count(), 1);

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(doubled.count(), 2);
    EXPECT_EQ(grid.Row(), 3);

    // The header row stays out of reach.
    grid.setFixedRows(1);
    QTest::mouseDClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(doubled.count(), 2);
}

TEST(FlexGrid, KeysGoToTheFormFirstAndEnterStaysInTheGrid)
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *grid = new ui::FlexGrid(&dialog);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    layout->addWidget(grid);
    layout->addWidget(ok);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    grid->setRows(6);
    dialog.show();
    grid->setFocus();

    bool swallow = true;
    std::vector<int> keys;
    QObject::connect(grid, &ui::FlexGrid::keyPressed, grid,
                     [&](int key, Qt::KeyboardModifiers, bool *handled) {
                         keys.push_back(key);
                         *handled = swallow;
                     });
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 1);
    swallow = false;
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(keys,
              (std::vector<int> {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return, Qt::Key_Delete}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
}

} // namespace
