#include "pickers/TickList.h"

#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>

namespace ticklist {

namespace {

constexpr int kCodeCol = 1;
const QString kTick = QStringLiteral(".");

// A check box indicator drawn by the style, so the pictures match the desktop's boxes.
QPixmap drawIndicator(bool checked)
{
    QStyle *style = QApplication::style();
    const int size = style->pixelMetric(QStyle::PM_IndicatorWidth);
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QStyleOptionButton option;
    option.rect = QRect(0, 0, size, size);
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    option.palette = QApplication::palette();
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
    return picture;
}

bool hasCode(const ui::FlexGrid &grid, int row)
{
    return !grid.TextMatrix(row, kCodeCol).isEmpty();
}

} // namespace

const QPixmap &tickedPicture()
{
    static const QPixmap picture = drawIndicator(true);
    return picture;
}

const QPixmap &untickedPicture()
{
    static const QPixmap picture = drawIndicator(false);
    return picture;
}

bool isTicked(const ui::FlexGrid &grid, int row)
{
    return grid.TextMatrix(row, 0) == kTick;
}

void setTicked(ui::FlexGrid &grid, int row, bool ticked)
{
    grid.setCellPicture(row, 0, ticked ? tickedPicture() : untickedPicture());
    grid.setTextMatrix(row, 0, ticked ? kTick : QString());
    // The marker is for the program; the user sees the picture.
    grid.setCellForeColor(row, 0, grid.CellBackColor(row, 0));
}

bool toggle(ui::FlexGrid &grid, int row)
{
    if (row < grid.FixedRows() || row >= grid.Rows() || !hasCode(grid, row))
        return false;
    setTicked(grid, row, !isTicked(grid, row));
    return true;
}

void setAll(ui::FlexGrid &grid, bool ticked)
{
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row)
        if (hasCode(grid, row))
            setTicked(grid, row, ticked);
}

void markUnticked(ui::FlexGrid &grid)
{
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row)
        if (hasCode(grid, row) && grid.TextMatrix(row, 0).isEmpty())
            grid.setCellPicture(row, 0, untickedPicture());
}

ChosenItemList tickedItems(const ui::FlexGrid &grid, const Columns &columns)
{
    ChosenItemList items;
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
        if (!isTicked(grid, row))
            continue;
        const auto cell = [&](int col) {
            return grid.TextMatrix(row, col);
        };
        items.push_back(clstemCollection {
            cell(columns.code), cell(columns.name), cell(columns.supplier),
            cell(columns.classification), cell(columns.listCost), cell(columns.onHand),
            cell(columns.retail), cell(columns.uom), cell(columns.quantity)});
    }
    return items;
}

} // namespace ticklist
