#include "request/ItemEntry.h"

#include "objects/clsItem.h"
#include "objects/clsItemMaster.h"
#include "pickers/frmItemLookup.h"
#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/KeyboardRule.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "platform/ui/Shell.h"
#include "request/EventHook.h"
#include "request/FormHelpers.h"
#include "request/Guarded.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QKeyEvent>

namespace {

const QString costPattern = QStringLiteral("########0.0000");

// The location an item is looked up at: the supplying one for a request, the requesting one for
// a return and always at DVN. Its name as shown and its identifier.
struct LookupLocation
{
    QString name;
    QString id;
};

LookupLocation lookupLocation(const Ui::frmMain &ui, bool isRequest)
{
    const ui::DataCombo &combo
        = !isSite("DVN") && isRequest ? *ui.cboLocation : *ui.cboTargetLocation;
    return {combo.Text(), combo.Tag};
}

} // namespace

ItemEntry::ItemEntry(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void ItemEntry::focusIfShown(QWidget *widget)
{
    if (widget->isVisible() && widget->isEnabled())
        widget->setFocus();
}

void ItemEntry::txtProdCode_Validate(bool &cancel)
{
    cancel = false;
    Ui::frmMain &ui = *m_c.ui;
    clsItem item;
    item.setActiveConnection(&sqlconnection());

    const auto sideFigures = [this, &ui](bool toQuantity) {
        // 14.
        const QString code = ui.txtProdCode->text();
        if (isSite("Q4VH") && !code.isEmpty())
            LoadPPMP(code);
        LoadBlockedQty();
        if (toQuantity)
            focusIfShown(ui.txtWithdraw);
    };

    // 1. Leaving an empty code field lets the focus go where the user (or the New command)
    // sends it: there is no item to give a quantity for.
    const QString typed = trimBlanks(ui.txtProdCode->text());
    if (typed.isEmpty()) {
        ui.txtProdName->clear();
        sideFigures(false);
        return;
    }
    // 2.-4.
    ui.txtProdCode->setText(GetItemIDByBarcode(typed));
    const LookupLocation location = lookupLocation(ui, m_form.document().isRequest());
    item.SupplyingLocationID = ui.cboLocation->Tag;
    item.RequestingLocationID = ui.cboTargetLocation->Tag;
    if (!item.SearchItem(ui.txtProdCode->text(), location.name, location.id)) {
        // 5.
        ShowItemDetails();
        ui.cmdOK->setEnabled(false);
        ui.cmdOK->setText(QStringLiteral("Add to List"));
        sideFigures(true);
        return;
    }

    // 6. The retail flag comes from the item master where the site says so. The master of the
    // item just loaded is read by its code, so no second pick can change the item.
    if (isSite("TKRL") || GetInvSwitch(QStringLiteral("96"))) {
        m_c.optConsumed[0]->setEnabled(false);
        m_c.optConsumed[1]->setEnabled(false);
        clsItemMaster master;
        master.setActiveConnection(&sqlconnection());
        if (master.LoadItem(item.ItemID) && !master.ItemID.isEmpty())
            m_c.optConsumed[master.IsRetail ? 0 : 1]->setChecked(true);
    }

    // 7.-8.
    ui.cmdOK->setEnabled(true);
    ui.txtProdCode->setText(item.ItemID);
    if (Session.AllowWDZeroOnHand && item.OnHand <= 0) {
        ui::msgBox(QStringLiteral("Zero Item Onhand"), ui::Buttons::Ok, ui::Icon::Critical,
                   QStringLiteral("HEY!"));
        ui::msgBox(QStringLiteral("Enter another item"), ui::Buttons::Ok, ui::Icon::Information,
                   QStringLiteral("OK"));
        if (ui.txtProdCode->isVisible())
            ui.txtProdCode->setFocus();
        return;
    }

    // 10.-12.
    showFigures(item);
    const clsItemMaster &master = item.ItemMaster();
    const bool averageCost = !isSite("ZOLTA") && GetInvSwitch(QStringLiteral("59"));
    ui.txtUnitCost->setText(format::formatNumber(
        (averageCost ? master.AverageCost : master.ListCost).toDouble(), costPattern));
    showADS(item);
    focusIfShown(ui.txtWithdraw);

    // 13.
    bool quantityCancel = false;
    txtWithdraw_Validate(quantityCancel);
    sideFigures(true);
}

void ItemEntry::showFigures(clsItem &item)
{
    Ui::frmMain &ui = *m_c.ui;
    clsItemMaster &master = item.ItemMaster();
    ui.txtProdName->setText(master.ItemName + QLatin1Char(' ') + trimBlanks(master.ItemDesc));
    ui.txtListCost->setText(master.ListCost.toString());
    ui.txtPacking->setText(format::numberText(master.Packing));
    ui.txtOnhand->setText(format::numberText(item.OnHand));
    ui.txtAverageCost->setText(format::formatNumber(master.AverageCost.toDouble(), costPattern));
    ui.txtUOM->setText(item.UOMDescription);
    ui.txtMax->setText(format::numberText(item.MaxStock));
    ui.txtMin->setText(format::numberText(item.MinimumStockLevel));
}

void ItemEntry::showADS(const clsItem &item)
{
    Ui::frmMain &ui = *m_c.ui;
    ui.chkAdS->setVisible(item.IsADSStock);
    ui.lblADSStock->setVisible(item.IsADSStock);
    if (item.IsADSStock) {
        ui.chkAdS->setChecked(true);
        ui.lblADSStock->setText(format::numberText(item.ADSStock));
    }
}

void ItemEntry::ShowItemDetails()
{
    Ui::frmMain &ui = *m_c.ui;
    const QString code = ui.txtProdCode->text();
    clsItem item;
    item.setActiveConnection(&sqlconnection());
    // A blank code is no item: the fields are emptied rather than filled with zeros.
    if (!trimBlanks(code).isEmpty() && item.LoadItem(code, ui.cboLocation->Tag)) {
        showFigures(item);
        ui.txtProdCode->setText(item.ItemID);
        showADS(item);
        return;
    }
    for (QLineEdit *field :
         {ui.txtProdName, ui.txtListCost, ui.txtPacking, ui.txtOnhand, ui.txtAverageCost,
          ui.txtUnitCost, ui.txtUOM, ui.txtWithdraw, ui.txtTotalCost})
        field->clear();
}

void ItemEntry::LoadBlockedQty()
{
    if (!isSite("BWQ"))
        return;
    Ui::frmMain &ui = *m_c.ui;
    ui.txtBlockedQty->setText(QStringLiteral("0"));
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral(" select inventory.dbo.fn_inv_getExpiredQty( itemid,locationid) + "
                       "isnull(DamagedQty,0) +  isnull(ReservedQty,0)  as BlockedQty"
                       " from inventory..tbinvent  where locationid = '")
        + db::quoteInner(ui.cboLocation->Tag) + QStringLiteral("'  and itemid = '")
        + db::quoteInner(trimBlanks(ui.txtProdCode->text())) + QStringLiteral("' "));
    if (!rs.eof())
        ui.txtBlockedQty->setText(rs.text(QStringLiteral("BlockedQty")));
}

bool ItemEntry::IsItemPending()
{
    Ui::frmMain &ui = *m_c.ui;
    const QString code = db::quoteInner(ui.txtProdCode->text());
    const QString target = db::quoteInner(ui.cboTargetLocation->Tag);
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral("select itemid from inventory..tbInvWithdrawRequest  Where ItemID = '")
        + code + QStringLiteral("'  and TargetLocationID = '") + target
        + QStringLiteral("'  and isnull(Status,'') = ''  and documentnumber <> '")
        + db::quoteInner(ui.txtDocNum->text())
        + QStringLiteral("' Union All  select itemid from inventory..tbinvRequestOrder "
                         " Where ItemID = '")
        + code + QStringLiteral("'  and TargetLocationID = '") + target
        + QStringLiteral("'  and ISNULL(status,'') = ''  and documentnumber <> '")
        + db::quoteInner(ui.txtRODocNum->text()) + QStringLiteral("'"));
    return !rs.eof();
}

void ItemEntry::LoadPPMP(const QString &ItemCode)
{
    Ui::frmMain &ui = *m_c.ui;
    const db::Recordset rs
        = sqlconnection().query(QStringLiteral("select inventory.dbo.fn_InvReq_GetPPMP( '")
                                + db::quoteInner(ui.cboTargetLocation->Tag) + QStringLiteral("', '")
                                + db::quoteInner(ItemCode) + QStringLiteral("' ) as PPMP"));
    ui.txtPPMP->setText(rs.eof() ? QStringLiteral("0") : rs.text(QStringLiteral("PPMP")));
}

void ItemEntry::cmdCode_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    const LookupLocation location = lookupLocation(ui, m_form.document().isRequest());
    frmItemLookup lookup(&m_form);
    lookup.SearchString = trimBlanks(ui.txtProdCode->text());
    lookup.LocationName = location.name;
    lookup.LocationCode = location.id;
    lookup.SupplyingLocationID = ui.cboLocation->Tag;
    lookup.RequestingLocationID = ui.cboTargetLocation->Tag;
    lookup.load();
    ui::showModal(lookup);
    const QString picked = Session.LookupResult.toString();
    if (picked.isEmpty()) {
        focusIfShown(ui.txtProdCode);
        return;
    }
    // The picked code is resolved as if typed, which loads it at once.
    ui.txtProdCode->setText(picked);
    bool cancel = false;
    txtProdCode_Validate(cancel);
}

void ItemEntry::txtWithdraw_Validate(bool &cancel)
{
    QLineEdit &field = *m_c.ui->txtWithdraw;
    if (trimBlanks(field.text()).isEmpty())
        field.setText(QStringLiteral("0"));
    if (!format::isNumeric(field.text())) {
        ui::msgBox(QStringLiteral("Invalid entry..."));
        cancel = true;
        return;
    }
    // The quantity is always a whole number.
    field.setText(
        format::formatNumber(format::numericValue(field.text()), QStringLiteral("#########0")));
    ComputeLineTotal();
}

void ItemEntry::txtUnitCost_Validate(bool &cancel)
{
    Ui::frmMain &ui = *m_c.ui;
    QLineEdit &field = *ui.txtUnitCost;
    if (trimBlanks(field.text()).isEmpty())
        field.setText(QStringLiteral("0.00"));
    if (!format::isNumeric(field.text())) {
        ui::msgBox(QStringLiteral("Invalid entry..."));
        cancel = true;
        return;
    }
    const double cost = format::numericValue(field.text());
    ui.txtAverageCost->setText(format::formatNumber(cost, QStringLiteral("#########0.0000")));
    if (cost <= 0)
        field.setText(QStringLiteral("0.00"));
    ComputeLineTotal();
}

void ItemEntry::txtWithdraw_Change()
{
    m_c.ui->cmdOK->setEnabled(true);
}

void ItemEntry::txtUnitCost_Change()
{
    m_c.ui->cmdOK->setEnabled(true);
}

void ItemEntry::ComputeLineTotal()
{
    Ui::frmMain &ui = *m_c.ui;
    const double total = format::leadingNumber(ui.txtWithdraw->text())
        * format::leadingNumber(ui.txtUnitCost->text());
    ui.txtTotalCost->setText(format::formatNumber(total, QStringLiteral("###,###,##0.0000")));
}

void ItemEntry::installHooks()
{
    // The unit cost handles Enter itself; a quote is still never typed.
    ui::setKeyboardRuleExempt(m_c.ui->txtUnitCost);
    new EventHook(m_c.ui->txtUnitCost, [this](QEvent *event) { return txtUnitCost_Event(event); });
}

bool ItemEntry::txtUnitCost_Event(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->text() == QLatin1String("'"))
        return true;
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    Ui::frmMain &ui = *m_c.ui;
    if (ui.cmdOK->isEnabled())
        ui.cmdOK->setFocus();
    else if (Session.Shell)
        Session.Shell->SendKeys(QStringLiteral("{Tab}"));
    return true;
}
