#include "request/ItemEntry.h"

#include "objects/clsItem.h"
#include "objects/clsItemMaster.h"
#include "pickers/clstemCollection.h"
#include "pickers/frmItemLookup.h"
#include "pickers/frmKitEntry.h"
#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyboardRule.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "platform/ui/Shell.h"
#include "request/AddLines.h"
#include "request/EventHook.h"
#include "request/FormHelpers.h"
#include "request/Guarded.h"
#include "request/LineChecks.h"
#include "request/LinesGrid.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <cmath>

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

    // Whatever this look-up finds, nothing of the item before it stays on the entry.
    ClearItem();

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
    const LookupLocation location = lookupLocation(ui, m_flags.IsRequest);
    item.SupplyingLocationID = ui.cboLocation->Tag;
    item.RequestingLocationID = ui.cboTargetLocation->Tag;
    if (!item.SearchItem(ui.txtProdCode->text(), location.name, location.id)) {
        // 5. No item: the entry is emptied and Add stays off until an item is resolved.
        const QString code = ui.txtProdCode->text();
        const QString picked = Session.LookupResult.toString();
        ui.txtWithdraw->clear();
        ui.txtTotalCost->clear();
        ui.cmdOK->setEnabled(false);
        ui.cmdOK->setText(QStringLiteral("Add to List"));
        m_flags.IsNewLine = true;
        // A code that lists nothing is said so and taken away, and the code field waits for
        // the next one; a list closed without a pick was the user's choice.
        if (TellNotFound(picked.isEmpty() ? code : picked, location.name, location.id)) {
            ui.txtProdCode->clear();
            focusIfShown(ui.txtProdCode);
            return;
        }
        sideFigures(true);
        return;
    }

    // 6. The retail flag comes from the item master where the site says so. The master of the
    // item just loaded is read by its code, so no second pick can change the item.
    if (retailFromMaster()) {
        clsItemMaster master;
        master.setActiveConnection(&sqlconnection());
        if (master.LoadItem(item.ItemID) && !master.ItemID.isEmpty())
            m_c.optConsumed[master.IsRetail ? 0 : 1]->setChecked(true);
    }

    // 7.-8.
    m_resolved = item.ItemID;
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

    // 9. A kit's components may be taken instead of the kit.
    if (IsKit(item.ItemID) && AddKit(item.ItemID))
        return;

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

void ItemEntry::ClearItem()
{
    Ui::frmMain &ui = *m_c.ui;
    m_resolved.clear();
    for (QLineEdit *field : {ui.txtProdName, ui.txtListCost, ui.txtPacking, ui.txtOnhand,
                             ui.txtAverageCost, ui.txtUnitCost, ui.txtUOM, ui.txtMax, ui.txtMin,
                             ui.txtTotalCost, ui.txtBlockedQty, ui.txtPPMP})
        field->clear();
    ui.chkAdS->setChecked(false);
    ui.chkAdS->hide();
    ui.lblADSStock->clear();
    ui.lblADSStock->hide();
    ResetRetail();
}

bool ItemEntry::retailFromMaster() const
{
    return isSite("TKRL") || GetInvSwitch(QStringLiteral("96"));
}

void ItemEntry::ResetRetail()
{
    QRadioButton *yes = m_c.optConsumed[0];
    QRadioButton *no = m_c.optConsumed[1];
    // Where the item master decides, nothing is retail until an item says so.
    if (retailFromMaster()) {
        yes->setEnabled(false);
        no->setEnabled(false);
        no->setChecked(true);
        return;
    }
    // Elsewhere the requesting location's choice comes back, as set up with the document.
    if (!yes->isEnabled())
        no->setChecked(true);
    else if (!no->isEnabled())
        yes->setChecked(true);
    else
        (m_flags.TargetAllowsRetail ? yes : no)->setChecked(true);
}

bool ItemEntry::TellNotFound(const QString &code, const QString &locationName,
                             const QString &locationId)
{
    // A look-up the user closed without a pick was a choice; a code that lists nothing is news.
    // Without a location identifier the location is what failed, and its check says so.
    if (trimBlanks(locationId).isEmpty())
        return false;
    frmItemLookup probe(&m_form);
    probe.SearchString = code;
    probe.LocationName = locationName;
    probe.LocationCode = locationId;
    probe.SupplyingLocationID = m_c.ui->cboLocation->Tag;
    probe.RequestingLocationID = m_c.ui->cboTargetLocation->Tag;
    probe.load();
    if (probe.grdLookup->isEnabled())
        return false;
    ui::msgBox(QStringLiteral("No item matches \"") + code + QStringLiteral("\" at ") + locationName
                   + QLatin1Char('.'),
               ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("MESSAGE"));
    return true;
}

bool ItemEntry::IsKit(const QString &code)
{
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral("select ItemID from INVENTORY..tbInvKit where KitItemID = '")
        + db::quoteInner(code) + QLatin1Char('\''));
    return !rs.eof();
}

bool ItemEntry::AddKit(const QString &kitCode)
{
    Ui::frmMain &ui = *m_c.ui;
    if (ui::msgBox(QStringLiteral("Item is a Kit. Do you want to add items located in the Kit?"),
                   ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Message"))
        != ui::Answer::Yes)
        return false;
    frmKitEntry kit(&m_form);
    kit.ItemID = kitCode;
    ui::showModal(kit);

    // Every component, or the one picked with its quantity in the kit; a dialog closed without
    // either adds nothing.
    db::Recordset rs;
    if (kit.AllItems) {
        rs = sqlconnection().query(QStringLiteral("Inventory..sp_Inv_KitofItems ")
                                   + db::quote(kitCode));
    } else if (!kit.ItemID.isEmpty() && kit.ItemID != kitCode) {
        rs = sqlconnection().query(QStringLiteral("Inventory..sp_Inv_KitofItems_PerItem ")
                                   + db::quote(trimBlanks(kit.ItemID)) + QLatin1Char(',')
                                   + format::numberText(format::typedNumber(kit.Quantity)));
    }

    ChosenItemList components;
    QStringList listed;
    for (; !rs.eof(); rs.moveNext()) {
        clstemCollection line;
        line.ItemCode = rs.text(QStringLiteral("ItemID"));
        line.ItemName = rs.text(QStringLiteral("ItemName"));
        line.Quantity = rs.text(QStringLiteral("Qty"));
        line.ListCost = rs.text(QStringLiteral("UnitCost"));
        line.Retail = rs.text(QStringLiteral("RetailType"));
        int row = 0;
        if (IsInGrid(*ui.grdDetails, line.ItemCode, DetailsCol::Code, row)) {
            listed << line.ItemCode;
            continue;
        }
        clsItem stock;
        stock.setActiveConnection(&sqlconnection());
        if (stock.LoadItem(line.ItemCode, ui.cboLocation->Tag))
            line.OnHand = format::numberText(stock.OnHand);
        components.push_back(line);
    }
    if (!listed.isEmpty())
        ui::msgBox(QStringLiteral("Already on the request, not added again: ")
                       + listed.join(QStringLiteral(", ")) + QLatin1Char('.'),
                   ui::Buttons::Ok, ui::Icon::Information, QStringLiteral("MESSAGE"));

    // The kit itself is not a line: the entry is made ready for the next item.
    AddLines(m_form).AddChosen(components);
    ui.txtProdCode->clear();
    ClearItem();
    ui.cmdOK->setEnabled(false);
    m_form.linesGrid().cmdAdd_Click();
    return true;
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
    // A hidden box is never ticked: the line would say ADS for an item that has none.
    ui.chkAdS->setChecked(item.IsADSStock);
    ui.lblADSStock->setText(item.IsADSStock ? format::numberText(item.ADSStock) : QString());
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
        m_resolved = item.ItemID;
        return;
    }
    m_resolved.clear();
    for (QLineEdit *field :
         {ui.txtProdName, ui.txtListCost, ui.txtPacking, ui.txtOnhand, ui.txtAverageCost,
          ui.txtUnitCost, ui.txtUOM, ui.txtWithdraw, ui.txtTotalCost, ui.txtMax, ui.txtMin})
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
    const LookupLocation location = lookupLocation(ui, m_flags.IsRequest);
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
    double quantity = 0;
    if (!format::readTypedNumber(field.text(), quantity)
        || std::fabs(quantity) > line_limits::MaxQuantity) {
        ui::msgBox(QStringLiteral("Invalid entry... ") + line_limits::quantityRule());
        cancel = true;
        return;
    }
    // The quantity is always a whole number.
    field.setText(format::formatNumber(quantity, QStringLiteral("#########0")));
    ComputeLineTotal();
}

void ItemEntry::txtUnitCost_Validate(bool &cancel)
{
    Ui::frmMain &ui = *m_c.ui;
    QLineEdit &field = *ui.txtUnitCost;
    if (trimBlanks(field.text()).isEmpty())
        field.setText(QStringLiteral("0.00"));
    double cost = 0;
    if (!format::readTypedNumber(field.text(), cost) || cost > line_limits::MaxAmount) {
        ui::msgBox(QStringLiteral("Invalid entry... ") + line_limits::unitCostRule());
        cancel = true;
        return;
    }
    ui.txtAverageCost->setText(format::formatNumber(cost, QStringLiteral("#########0.0000")));
    if (cost <= 0)
        field.setText(QStringLiteral("0.00"));
    ComputeLineTotal();
}

void ItemEntry::txtWithdraw_Change()
{
    // Typing a quantity makes no line of a code that is no item.
    if (HoldsItem())
        m_c.ui->cmdOK->setEnabled(true);
}

void ItemEntry::txtUnitCost_Change()
{
    if (HoldsItem())
        m_c.ui->cmdOK->setEnabled(true);
}

bool ItemEntry::HoldsItem() const
{
    const Ui::frmMain &ui = *m_c.ui;
    const QString code = ui.txtProdCode->text();
    if (trimBlanks(code).isEmpty())
        return false;
    if (code == m_resolved)
        return true;
    const ui::FlexGrid &grid = *ui.grdDetails;
    return ui.cmdOK->text() == QLatin1String("Update")
        && grid.TextMatrix(grid.Row(), DetailsCol::Code) == code;
}

void ItemEntry::ComputeLineTotal()
{
    Ui::frmMain &ui = *m_c.ui;
    const double total
        = format::typedNumber(ui.txtWithdraw->text()) * format::typedNumber(ui.txtUnitCost->text());
    ui.txtTotalCost->setText(format::formatNumber(total, QStringLiteral("###,###,##0.0000")));
}

void ItemEntry::installHooks()
{
    // The unit cost handles Enter itself; a quote is still never typed.
    ui::setKeyboardRuleExempt(m_c.ui->txtUnitCost);
    new EventHook(m_c.ui->txtUnitCost, [this](QEvent *event) { return txtUnitCost_Event(event); });
    // A button on a main window ignores Enter; this one takes it, so that code, quantity and
    // cost each closed with Enter end with one more Enter that adds the line.
    new EventHook(m_c.ui->cmdOK, [this](QEvent *event) { return cmdOK_Event(event); });
}

bool ItemEntry::cmdOK_Event(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
        return false;
    QPushButton &button = *m_c.ui->cmdOK;
    if (button.isEnabled())
        button.click();
    return true;
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
