#include "request/LinesGrid.h"

#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

namespace {

// The sum of a grid column over its data rows, each numeric cell taken to four decimals.
format::Currency columnSum(const ui::FlexGrid &grid, int col)
{
    format::Currency sum;
    for (int row = 1; row < grid.Rows(); ++row) {
        const QString text = grid.TextMatrix(row, col);
        if (format::isNumeric(text))
            sum += format::Currency::fromText(
                format::formatNumber(format::numericValue(text), QStringLiteral("########0.0000")));
    }
    return sum;
}

} // namespace

LinesGrid::LinesGrid(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void LinesGrid::UpdateGrandTotal()
{
    const format::Currency sum = columnSum(*m_c.ui->grdDetails, DetailsCol::TotalCost);
    m_c.ui->txtTotalCounter->setText(
        format::formatNumber(sum.toDouble(), QStringLiteral("###,###,##0.0000")));
}

void LinesGrid::UpdateLineCounter()
{
    const ui::FlexGrid &grid = *m_c.ui->grdDetails;
    m_c.ui->txtLineCounter->setText(format::numberTextStd(grid.Row()) + QLatin1Char('/')
                                    + format::numberTextStd(grid.Rows() - 1));
}

void LinesGrid::LockLocations()
{
    Ui::frmMain &ui = *m_c.ui;
    if (ui.txtDocNum->text() != QLatin1String("NEW"))
        return;
    const bool noLines = ui.grdDetails->TextMatrix(1, DetailsCol::Code).isEmpty();
    ui.cboLocation->setEnabled(noLines);
    // The requesting location stays locked where the site locks it for good.
    if (!isSite("YXOPL"))
        ui.cboTargetLocation->setEnabled(noLines);
}

void LinesGrid::cmdDetails_Click()
{
    m_flags.IsNewDocument = false;
    const ui::FlexGrid &listing = *m_c.ui->grdListing;
    if (!listing.isEnabled())
        return;
    const int row = listing.Row();
    if (row < 1 || listing.TextMatrix(row, 1).isEmpty())
        return;
    if (IsUserAuthorized(Employeecode(), listing.TextMatrix(row, 6), listing.TextMatrix(row, 7)))
        m_c.ui->SSTab1->setCurrentIndex(1);
}

void LinesGrid::InitRequestOrderGrid(bool clear)
{
    ui::FlexGrid &grid = *m_c.ui->fgRO;
    if (clear)
        grid.Clear();
    grid.setFormatString(
        QStringLiteral("<Code |< Item Description                   |<UOM   |<Qty  "
                       "|<Unit Cost |<Total Cost "));
    grid.setColWidth(2, 0);
    grid.setRows(100);
}

void LinesGrid::UpdateROTotal()
{
    // The request-order frame's total adds up column 4 of fgRO.
    const format::Currency sum = columnSum(*m_c.ui->fgRO, 4);
    m_c.ui->txtTotalRO->setText(
        format::formatNumber(sum.toDouble(), QStringLiteral("###,###,##0.0000")));
}
