#include "platform/db/EmbeddedConnection.h"
#include "platform/ui/FlexGrid.h"

#include <QDateTime>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A grid with a fixed first column, bound to the rows of a statement on a fresh engine.
class FlexGridSort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = db::EmbeddedConnection::openInMemory();
        db->execute(QStringLiteral("CREATE TABLE INVENTORY..tbSortCase (Doc varchar(20), "
                                   "Qty decimal(18,4), Made datetime, Who varchar(30))"));
        add({"10", "5", "12/01/2026 09:00:00 AM", "baker"});
        add({"9", "40.5", "11/30/2026 04:00:00 PM", "Adams"});
        add({"100", "", "12/01/2026 08:00:00 AM", "carter"});
        add({"11", "-2", "01/15/2025 10:00:00 AM", "adams"});
        grid.setFixedCols(1);
        grid.resize(600, 300);
        rebind();
    }

    void add(const std::array<const char *, 4> &row)
    {
        const auto value = [](const char *text) {
            return *text ? QStringLiteral("'%1'").arg(QLatin1String(text)) : QStringLiteral("NULL");
        };
        db->execute(QStringLiteral("INSERT INTO INVENTORY..tbSortCase VALUES (%1, %2, %3, %4)")
                        .arg(value(row[0]), value(row[1]), value(row[2]), value(row[3])));
    }

    void rebind()
    {
        grid.bind(db->query(QStringLiteral("SELECT Doc, Qty, Made, Who FROM "
                                           "INVENTORY..tbSortCase ORDER BY Doc")));
    }

    QStringList docs() const
    {
        QStringList list;
        for (int row = 1; row < grid.Rows(); ++row)
            list << grid.TextMatrix(row, 1);
        return list;
    }

    void clickHeading(int col)
    {
        QHeaderView *header = grid.horizontalHeader();
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    std::unique_ptr<db::EmbeddedConnection> db;
    ui::FlexGrid grid;
};

struct SortCase
{
    const char *name;
    int col;
    QStringList ascending; // the Doc column after one click on the heading
};

std::ostream &operator<<(std::ostream &out, const SortCase &c)
{
    return out << c.name;
}

class FlexGridSortBy : public FlexGridSort, public ::testing::WithParamInterface<SortCase>
{
};

// Numbers as numbers (not "10" < "9"), dates as dates (not by their month-first text), names
// without regard to letter case, an empty quantity first; a second click reverses.
TEST_P(FlexGridSortBy, HeadingClicksSortAscendingThenDescending)
{
    const SortCase &c = GetParam();
    grid.setSortable(true);
    grid.show();
    clickHeading(c.col);
    EXPECT_EQ(docs(), c.ascending);
    EXPECT_EQ(grid.SortCol(), c.col);
    EXPECT_EQ(grid.SortOrder(), Qt::AscendingOrder);
    clickHeading(c.col);
    QStringList descending = c.ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(docs(), descending);
    EXPECT_EQ(grid.SortOrder(), Qt::DescendingOrder);
}

const SortCase kSorts[] = {
    {"Numbers", 1, {"9", "10", "11", "100"}},
    {"Decimals", 2, {"100", "11", "10", "9"}},
    {"Dates", 3, {"11", "9", "100", "10"}},
    {"NamesIgnoringCase", 4, {"9", "11", "10", "100"}},
};

INSTANTIATE_TEST_SUITE_P(Columns, FlexGridSortBy, ::testing::ValuesIn(kSorts));

TEST_F(FlexGridSort, UnsortableGridAndFixedColumnKeepTheBoundOrder)
{
    grid.show();
    const QStringList bound = docs();
    clickHeading(2);
    EXPECT_EQ(docs(), bound);
    EXPECT_EQ(grid.SortCol(), -1);
    grid.setSortable(true);
    clickHeading(0);
    EXPECT_EQ(docs(), bound);
    EXPECT_EQ(grid.SortCol(), -1);
}

// The chosen order holds when the grid is bound again (new rows land in their place), the first
// row is then current; colours and the current row move with their rows when the user sorts.
TEST_F(FlexGridSort, SortSurvivesRebindingAndCarriesColoursAndTheCurrentRow)
{
    grid.setSortable(true);
    const QColor pink(0xFF, 0xC0, 0xFF);
    grid.setCellBackColor(2, 0, pink); // "100"
    grid.setRow(3); // "11"
    QSignalSpy moved(&grid, &ui::FlexGrid::rowColChange);
    grid.sortBy(2, Qt::DescendingOrder);
    EXPECT_EQ(docs(), (QStringList {"9", "10", "11", "100"}));
    EXPECT_EQ(grid.TextMatrix(grid.Row(), 1), QStringLiteral("11"));
    EXPECT_EQ(grid.CellBackColor(4, 0), pink);
    EXPECT_NE(grid.CellBackColor(2, 0), pink);
    EXPECT_EQ(moved.count(), 0);

    add({"12", "7", "12/02/2026 09:00:00 AM", "dunn"});
    rebind();
    EXPECT_EQ(docs(), (QStringList {"9", "12", "10", "11", "100"}));
    EXPECT_EQ(grid.Row(), 1);
    rebind();
    EXPECT_EQ(docs(), (QStringList {"9", "12", "10", "11", "100"}));
}

TEST_F(FlexGridSort, NoticeStandsInForTheRowsUntilCleared)
{
    grid.show();
    grid.setNotice(QStringLiteral("No documents found."));
    EXPECT_EQ(grid.Notice(), QStringLiteral("No documents found."));
    const QImage withNotice = grid.viewport()->grab().toImage();
    grid.setNotice(QString());
    const QImage withRows = grid.viewport()->grab().toImage();
    EXPECT_NE(withNotice, withRows);
}

// Widths the user dragged stay through new format widths and binding, except for a column the
// form hides; the stretched column takes the room the others leave.
TEST_F(FlexGridSort, DraggedWidthsStayAndTheStretchedColumnFillsTheWidth)
{
    grid.show();
    grid.setColWidth(1, 900);
    grid.horizontalHeader()->resizeSection(1, 140);
    grid.setColWidth(1, 900);
    rebind();
    EXPECT_EQ(grid.columnWidth(1), 140);
    EXPECT_EQ(grid.userColWidths().value(1), 140);
    grid.setColWidth(1, 0);
    EXPECT_TRUE(grid.isColumnHidden(1));

    grid.setColWidth(1, 900);
    grid.setStretchCol(4);
    int used = 0;
    for (int col = 0; col < grid.Cols(); ++col)
        used += grid.isColumnHidden(col) ? 0 : grid.columnWidth(col);
    EXPECT_EQ(used, grid.viewport()->width());

    ui::FlexGrid other;
    other.setFixedCols(1);
    other.setUserColWidths(grid.userColWidths());
    other.bind(db->query(QStringLiteral("SELECT Doc, Qty, Made, Who FROM INVENTORY..tbSortCase")));
    EXPECT_EQ(other.columnWidth(1), 140);
}

} // namespace
