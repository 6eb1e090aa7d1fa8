#include "request/LineChecks.h"

#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Prompt.h"
#include "request/FormHelpers.h"
#include "request/ItemEntry.h"
#include "request/LinesGrid.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <cmath>

namespace {

void focusIfShown(QWidget *widget)
{
    if (widget->isVisible() && widget->isEnabled())
        widget->setFocus();
}

void tell(const QString &text, ui::Icon icon, const QString &title = QString())
{
    ui::msgBox(text, ui::Buttons::Ok, icon, title);
}

bool ask(const QString &text)
{
    return ui::msgBox(text, ui::Buttons::YesNo, ui::Icon::Question) == ui::Answer::Yes;
}

} // namespace

namespace line_limits {

QString quantityRule()
{
    return QStringLiteral("Quantity must be a whole number from 1 to ")
        + format::formatNumber(MaxQuantity, QStringLiteral("###,###,##0")) + QLatin1Char('.');
}

QString unitCostRule()
{
    return QStringLiteral("Unit Cost must be a number from 0 to ")
        + format::formatNumber(MaxAmount, QStringLiteral("###,###,##0.0000")) + QLatin1Char('.');
}

QString totalCostRule()
{
    return QStringLiteral("Total Cost (Quantity x Unit Cost) must not be more than ")
        + format::formatNumber(MaxAmount, QStringLiteral("###,###,##0.0000")) + QLatin1Char('.');
}

bool checkCellQuantity(const QString &text, double &quantity)
{
    if (format::readTypedNumber(text, quantity) && quantity >= 1 && quantity <= MaxQuantity
        && quantity == std::floor(quantity))
        return true;
    tell(quantityRule(), ui::Icon::Information, QStringLiteral("MESSAGE"));
    return false;
}

} // namespace line_limits

LineChecks::LineChecks(frmMain &form, ItemEntry &entry, LinesGrid &lines)
    : m_entry(entry)
    , m_lines(lines)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void LineChecks::cmdOK_Click()
{
    bool toRequestOrder = false;
    if (!CheckEntry(toRequestOrder))
        return;
    if (toRequestOrder)
        m_lines.AddToRequestOrder();
    else
        m_lines.WriteEntry();
    CloseAdd();
}

bool LineChecks::CheckEntry(bool &toRequestOrder)
{
    Ui::frmMain &ui = *m_c.ui;
    const QString message = QStringLiteral("MESSAGE");
    const QString hey = QStringLiteral("HEY!");
    const QString code = ui.txtProdCode->text();
    const double quantity = format::typedNumber(ui.txtWithdraw->text());
    const double onHand = format::typedNumber(ui.txtOnhand->text());
    const auto stopAtQuantity = [&ui] {
        focusIfShown(ui.txtWithdraw);
        return false;
    };

    // 1. A blank code is left to the code check below rather than found as the empty row. The
    // line being changed by "Update" keeps its row; no other row may hold the item, whatever
    // the entry went through since (a failed look-up turns "Update" into "Add to List").
    const int target = TargetRow();
    bool listed = false;
    if (!trimBlanks(code).isEmpty()) {
        for (int row = 1; row < ui.grdDetails->Rows() && !listed; ++row)
            listed = row != target && ui.grdDetails->TextMatrix(row, DetailsCol::Code) == code;
    }
    if (listed) {
        tell(QStringLiteral("Item is already entered.  Please select another item!"),
             ui::Icon::Information, message);
        if (ui.txtProdCode->isVisible())
            ui.txtProdCode->setFocus();
        return false;
    }
    // 2.
    if (isSite("Q4VH") && m_entry.IsItemPending()) {
        tell(QStringLiteral("There is already a pending request for this item!"),
             ui::Icon::Information);
        return false;
    }
    // 3.
    // A code that no look-up resolved is no item, whatever was typed after it.
    if (trimBlanks(code).isEmpty() || !m_entry.HoldsItem()) {
        tell(QStringLiteral("Invalid product code..."), ui::Icon::Information, message);
        focusIfShown(ui.txtProdCode);
        return false;
    }
    // 4.
    double typed = 0;
    if (!format::readTypedNumber(ui.txtWithdraw->text(), typed)) {
        tell(QStringLiteral("Invalid quantity..."), ui::Icon::Information, message);
        return stopAtQuantity();
    }
    // 5.
    if (GetPharmaSwitch(QStringLiteral("5")) && onHand < quantity) {
        tell(QStringLiteral("Quantity must be less than or equal to Current Stock..."),
             ui::Icon::Information, message);
        return stopAtQuantity();
    }
    // 6. A unit cost of 0 passes.
    if (quantity == 0) {
        tell(QStringLiteral("Please enter a value for Quantity."), ui::Icon::Information, message);
        return stopAtQuantity();
    }
    if (!format::readTypedNumber(ui.txtUnitCost->text(), typed) || typed < 0) {
        tell(QStringLiteral("Invalid unit cost..."), ui::Icon::Information, message);
        focusIfShown(ui.txtUnitCost);
        return false;
    }
    // 7.
    if (quantity < 0) {
        tell(QStringLiteral("Quantity must not be lesser than zero."), ui::Icon::Information, hey);
        return stopAtQuantity();
    }
    if (!CheckLimits(quantity))
        return false;
    // 8.
    if (Session.AllowWDZeroOnHand && onHand <= 0) {
        tell(QStringLiteral("Zero Item Onhand"), ui::Icon::Critical, hey);
        tell(QStringLiteral("Enter another item"), ui::Icon::Information, QStringLiteral("OK"));
        focusIfShown(ui.txtProdCode);
        return false;
    }
    // 9. A warning only.
    if (isSite("UVTKQO") && onHand < quantity)
        tell(QStringLiteral("The requested quantity is greater than the current stock"),
             ui::Icon::Critical, hey);
    // 10.
    if (isSite("Q4VH") && format::typedNumber(ui.txtPPMP->text()) < quantity) {
        tell(QStringLiteral("Your PPMP allocation is not enough for your request!"),
             ui::Icon::Information);
        return stopAtQuantity();
    }
    // 11.
    if (quantity > 0 && onHand < quantity) {
        if (isSite("Q4VH")) {
            // The request-order list holds an item once.
            if (m_lines.IsOnRequestOrderList()) {
                tell(QStringLiteral("Item already on Request Order List!"), ui::Icon::Information);
                return false;
            }
            if (!ask(QStringLiteral("Quantity is greater than current stock.  Do you want to add "
                                    "item to Request Order?")))
                return stopAtQuantity();
            toRequestOrder = true;
            return true;
        }
        if (isSite("JFX")) {
            tell(QStringLiteral("Quantity is greater than current stock!"), ui::Icon::Critical);
            return stopAtQuantity();
        }
        if (Session.AllowWDZeroOnHand) {
            tell(QStringLiteral("Quantity is greater than current stock."), ui::Icon::Exclamation);
            return stopAtQuantity();
        }
        if (!ask(QStringLiteral("Quantity is greater than current stock.  Do you want to "
                                "continue?")))
            return stopAtQuantity();
    }
    // 12.
    if (isSite("Q4VH") && m_lines.IsOnRequestOrderList()) {
        tell(QStringLiteral("Item already on Request Order List!"), ui::Icon::Information);
        return false;
    }
    // 13. Blocked stock may not be requested: equality already reaches into it.
    if (isSite("BWQ")) {
        const double blocked = format::typedNumber(ui.txtBlockedQty->text());
        if (blocked > 0 && onHand - blocked <= quantity) {
            tell(QStringLiteral("Quantity includes Blocked Stocks! Change Quantity."),
                 ui::Icon::Information);
            return stopAtQuantity();
        }
    }
    return true;
}

bool LineChecks::CheckLimits(double quantity)
{
    Ui::frmMain &ui = *m_c.ui;
    const QString message = QStringLiteral("MESSAGE");
    if (quantity > line_limits::MaxQuantity) {
        tell(line_limits::quantityRule(), ui::Icon::Information, message);
        focusIfShown(ui.txtWithdraw);
        return false;
    }
    const double unitCost = format::typedNumber(ui.txtUnitCost->text());
    if (unitCost > line_limits::MaxAmount) {
        tell(line_limits::unitCostRule(), ui::Icon::Information, message);
        focusIfShown(ui.txtUnitCost);
        return false;
    }
    // The total as the grid will hold it, to four decimals.
    const double total = std::round(quantity * unitCost * 10000.0) / 10000.0;
    if (total > line_limits::MaxAmount) {
        tell(line_limits::totalCostRule(), ui::Icon::Information, message);
        focusIfShown(ui.txtWithdraw);
        return false;
    }
    return true;
}

int LineChecks::TargetRow() const
{
    const Ui::frmMain &ui = *m_c.ui;
    const ui::FlexGrid &grid = *ui.grdDetails;
    if (ui.cmdOK->text() == QLatin1String("Update"))
        return grid.Row();
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, DetailsCol::Code).isEmpty())
            return row;
    }
    return grid.Row();
}

void LineChecks::CloseAdd()
{
    Ui::frmMain &ui = *m_c.ui;
    // A disabled button hands the focus to the next control, which may be the grid, whose row
    // would then be loaded over the entry; the code field takes it instead.
    if (ui.cmdOK->hasFocus())
        focusIfShown(ui.txtProdCode);
    ui.cmdOK->setEnabled(false);
    m_lines.UpdateGrandTotal();
    m_lines.UpdateLineCounter();
    m_lines.LockLocations();
}
