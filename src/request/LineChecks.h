#pragma once

class frmMain;
class ItemEntry;
class LinesGrid;
struct MainControls;
struct MainFlags;

// cmdOK_Click: the ordered checks of the entry against the grid, the stock, the plan and the
// site's rules; when all pass, the line goes into grdDetails (or, at Q4VH, into the request
// orders).
class LineChecks final
{
public:
    LineChecks(frmMain &form, ItemEntry &entry, LinesGrid &lines);

    void cmdOK_Click();

private:
    // The checks in order; false (after its message) when one stops the add. toRequestOrder
    // is set when the user sends the entry to the request orders instead.
    bool CheckEntry(bool &toRequestOrder);
    void CloseAdd();

    ItemEntry &m_entry;
    LinesGrid &m_lines;
    MainControls &m_c;
    MainFlags &m_flags;
};
