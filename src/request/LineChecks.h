#pragma once

#include <QString>

class frmMain;
class ItemEntry;
class LinesGrid;
struct MainControls;
struct MainFlags;

// The numbers of a request line as the columns that store them take them. Quantities are whole
// and go to float columns as plain digits, which stay exact up to fifteen of them; unit and
// total costs go to money columns, written with at most fifteen significant digits, four of
// them decimals.
namespace line_limits {
inline constexpr double MaxQuantity = 999'999'999'999'999.0;
inline constexpr double MaxAmount = 99'999'999'999.9999;
// The messages that name the field and its limit.
QString quantityRule();
QString unitCostRule();
QString totalCostRule();
// A quantity typed into the grid's cell editor: a whole number from 1 to MaxQuantity, with or
// without thousands separators. False after telling the user.
bool checkCellQuantity(const QString &text, double &quantity);
} // namespace line_limits

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
    // The quantity, unit cost and line total within what their columns hold.
    bool CheckLimits(double quantity);
    // The row the entry would be written into: the current one for "Update", else the first
    // free one.
    int TargetRow() const;
    void CloseAdd();

    ItemEntry &m_entry;
    LinesGrid &m_lines;
    MainControls &m_c;
    MainFlags &m_flags;
};
