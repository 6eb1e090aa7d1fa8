#include "request/AddLines.h"

#include "pickers/frmAPPItems.h"
#include "pickers/frmPreviousTransactions.h"
#include "platform/format/Format.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "request/LinesGrid.h"
#include "request/RequestDocument.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "ui_frmMain.h"

AddLines::AddLines(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void AddLines::cmdAdd_Click()
{
    if (!GetInvSwitch(QStringLiteral("92"))) {
        m_form.linesGrid().cmdAdd_Click();
        return;
    }
    Ui::frmMain &ui = *m_c.ui;
    frmAPPItems picker(&m_form);
    picker.SupplyingLocationID = ui.cboLocation->Tag;
    picker.RequestingLocationID = ui.cboTargetLocation->Tag;
    ui::showModal(picker);

    bool grew = false;
    for (const clstemCollection &item : picker.ChosenItems)
        grew = writeLine(item) || grew;
    finishAdding(grew);
}

void AddLines::cmdAddFromPrevious_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    frmPreviousTransactions picker(&m_form);
    picker.SupplyingLocationID = ui.cboLocation->Tag;
    picker.RequestingLocationID = ui.cboTargetLocation->Tag;
    ui::showModal(picker);

    bool grew = false;
    for (const clstemCollection &item : picker.ChosenItems) {
        int row = 0;
        // An item already on the request keeps its line.
        if (IsInGrid(*ui.grdDetails, item.ItemCode, DetailsCol::Code, row))
            continue;
        grew = writeLine(item) || grew;
    }
    finishAdding(grew);
}

void AddLines::AddChosen(const ChosenItemList &items)
{
    bool grew = false;
    for (const clstemCollection &item : items)
        grew = writeLine(item) || grew;
    finishAdding(grew);
}

bool AddLines::writeLine(const clstemCollection &item)
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    RequestLine line;
    line.itemId = item.ItemCode;
    line.description = item.ItemName;
    line.uom = item.UOM;
    line.quantity = format::typedNumber(item.Quantity);
    line.unitCost = format::Currency::fromDouble(format::typedNumber(item.ListCost));
    line.retail = item.Retail;
    line.ads = false;
    line.onHand = item.OnHand;
    const int rows = grid.Rows();
    const int row = m_form.linesGrid().PutLine(m_form.document().lineCount() + 1, line);
    if (row != rows - 1)
        return false;
    m_form.linesGrid().ShowLastRow();
    return true;
}

void AddLines::finishAdding(bool grew)
{
    if (grew) {
        // The entry fields follow the new empty row, so no earlier line stays up for "Update".
        m_form.linesGrid().LoadLineToEntry(false);
        m_flags.IsNewLine = true;
    }
    m_form.UpdateGrandTotal();
    m_form.UpdateLineCounter();
    // Lines drawn for this pair of locations hold the locations, as a typed line does.
    m_form.LockLocations();
}
