#pragma once

#include <QString>
#include <vector>

class QEvent;
struct RequestLine;
struct RequestOrderLine;
class frmMain;
struct MainControls;
struct MainFlags;

namespace ui {
class FlexGrid;
}

// The first row r from 1 to (rows - 1) whose cell (r, column) equals the code; row receives r.
bool IsInGrid(const ui::FlexGrid &grid, const QString &code, int column, int &row);

// The request lines grid grdDetails and the request-order grid fgRO: moving a row into the entry
// fields, the in-cell quantity editor txtEntry, deleting lines, totals, the line counter, the
// location lock and the Details button.
class LinesGrid final
{
public:
    explicit LinesGrid(frmMain &form);

    void UpdateGrandTotal();
    void UpdateLineCounter();
    void LockLocations();
    void cmdDetails_Click();
    void InitRequestOrderGrid(bool clear);
    void UpdateROTotal();

    void grdDetailsToText();
    void LoadLineToEntry(bool FromRequestOrder);
    void cmdDelete_Click();
    void cmdRemoveRO_Click();
    // The grid's last (empty) row into the entry fields, ready for a new line (switch 92 off).
    void cmdAdd_Click();
    // Writes the entry fields into the grid: over the current row for "Update", else into the
    // first free row; the grid grows when the last row was taken.
    void WriteEntry();
    // Puts a line into the document and shows it in grid row `row` (1 for the first line): the
    // line there is replaced, a row past the lines adds one, and the grid keeps one empty row
    // at its end. Returns the row it went to.
    int PutLine(int row, const RequestLine &line);
    // Writes a line's cells into a row of grdDetails; the stock and lot cells only when asked.
    static void ShowLine(ui::FlexGrid &grid, int row, const RequestLine &line, bool onHand = true,
                         bool lotNumber = true);
    // The entry fields as a line.
    RequestLine EntryLine() const;
    void AddToRequestOrder();
    // The request-order list as the grid fgRO holds it, into the document.
    void TakeRequestOrders();
    std::vector<RequestOrderLine> RequestOrdersOnGrid() const;
    bool IsOnRequestOrderList() const;
    // Makes the last (empty) row current, scrolled so that it shows near the bottom.
    void ShowLastRow();

    // Events of grdDetails, fgRO and txtEntry; installHooks() connects the ones that need to
    // see the controls' raw events.
    void installHooks();
    void grdDetails_KeyDown(int key, int modifiers, bool *handled);
    void grdDetails_Click();
    void grdDetails_RowColChange();
    void fgRO_Click();

private:
    bool grdDetails_Event(QEvent *event);
    bool txtEntry_Event(QEvent *event);
    // Lays the editor over the current quantity cell (switch 92, a row with a description).
    void OpenEditor();
    void HideEditor();
    void txtEntry_Enter();
    void MoveEditor(int step);
    void focusCodeField();

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
    // True while the routines move the current cell themselves: no entry loading then.
    bool m_moving = false;
    bool m_keepGridFocus = false; // a click: the line is shown, the focus stays on the grid
};
