#pragma once

#include <functional>

class QAbstractButton;
class QWidget;

namespace ui {
class FlexGrid;
}

namespace pickers {

// What a list picker's grid does with the keyboard and where its current cell shows.
struct ListPickerGrid
{
    ui::FlexGrid *grid = nullptr;
    QAbstractButton *chooseButton = nullptr; // Enter chooses only while it is enabled
    std::function<void()> choose;
    std::function<void()> close;
    QWidget *backTo = nullptr; // where Up twice on the first row goes; nullptr: nowhere
    bool highlight = true; // the current cell in the info-background colour
};

// The keys every list picker shares: Enter chooses the current row while the choose button is
// enabled, Escape closes without a choice, and Up or Page Up pressed twice while the first data
// row is current goes back to the control before the grid (the first press only arms the way
// back; moving off the first row disarms it). With highlight, the current cell is shown in the
// info-background colour and the cell left gets the window colour back.
void installListPickerKeys(const ListPickerGrid &picker);

// Shows the grid's current cell highlighted again (after the grid was refilled).
void highlightCurrentCell(ui::FlexGrid &grid);

} // namespace pickers
