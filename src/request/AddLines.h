#pragma once

#include "pickers/clstemCollection.h"

class frmMain;
struct MainControls;
struct MainFlags;

// The two commands that add several request lines at once: "Add" with the annual plan items
// picker (switch 92; without it the command makes the empty last row ready for typing) and
// "Add from Previous MRIS" with the previous transactions picker.
class AddLines final
{
public:
    explicit AddLines(frmMain &form);

    void cmdAdd_Click();
    void cmdAddFromPrevious_Click();
    // Writes the items as lines, in order, then updates the totals and the location lock.
    void AddChosen(const ChosenItemList &items);

private:
    // Writes a picked item into the first free row of grdDetails, growing the grid when that
    // was the last row; true when the grid grew.
    bool writeLine(const clstemCollection &item);
    // After the lines are written: the empty last row into the entry fields, totals, lock.
    void finishAdding(bool grew);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
