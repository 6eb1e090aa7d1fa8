#include "request/AddLines.h"

#include "pickers/frmAPPItems.h"
#include "pickers/frmPreviousTransactions.h"
#include "platform/format/Format.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "request/LinesGrid.h"
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
    int row = grid.Rows() - 1;
    IsInGrid(grid, QString(), DetailsCol::Code, row);

    const double total = format::typedNumber(item.Quantity) * format::typedNumber(item.ListCost);
    grid.setTextMatrix(row, DetailsCol::Code, item.ItemCode);
    grid.setTextMatrix(row, DetailsCol::Description, item.ItemName);
    grid.setTextMatrix(row, DetailsCol::UOM, item.UOM);
    grid.setTextMatrix(row, DetailsCol::Quantity, item.Quantity);
    grid.setTextMatrix(row, DetailsCol::UnitCost, item.ListCost);
    grid.setTextMatrix(row, DetailsCol::TotalCost, format::numberText(total));
    grid.setTextMatrix(row, DetailsCol::Retail, item.Retail);
    grid.setTextMatrix(row, DetailsCol::isADS, QStringLiteral("N"));
    grid.setTextMatrix(row, DetailsCol::OnHand, item.OnHand);

    if (row != grid.Rows() - 1)
        return false;
    // The grid always ends with one empty row.
    grid.setRows(grid.Rows() + 1);
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
