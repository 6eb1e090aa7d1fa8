#pragma once

#include "pickers/clstemCollection.h"

class QPixmap;

namespace ui {
class FlexGrid;
}

// The tick column of the tick-list pickers: column 0 holds "." and the ticked picture when the
// row is ticked, "" and the unticked picture otherwise. Only a row with an item code (column 1)
// can be ticked.
namespace ticklist {

// The two pictures of the pickers' image list.
const QPixmap &tickedPicture();
const QPixmap &untickedPicture();

bool isTicked(const ui::FlexGrid &grid, int row);
void setTicked(ui::FlexGrid &grid, int row, bool ticked);
// Ticks an unticked row and unticks a ticked one; false when the row has no item code.
bool toggle(ui::FlexGrid &grid, int row);
// Every data row with an item code ticked or unticked.
void setAll(ui::FlexGrid &grid, bool ticked);
// The unticked picture for every data row with an item code.
void markUnticked(ui::FlexGrid &grid);

// The grid columns that fill a chosen-item record.
struct Columns
{
    int code, name, supplier, classification, listCost, onHand, retail, uom, quantity;
};

// The ticked rows in row order, as chosen-item records.
ChosenItemList tickedItems(const ui::FlexGrid &grid, const Columns &columns);

} // namespace ticklist
