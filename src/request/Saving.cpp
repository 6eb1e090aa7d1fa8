#include "request/Saving.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "request/FormHelpers.h"
#include "request/Numbering.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/frmDeletePassword.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QRegularExpression>
#include <optional>

namespace {

// The hourglass while the save runs.
class WaitCursor final
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

bool isPlaceholder(const QString &number)
{
    return number == QLatin1String("NEW") || trimBlanks(number).isEmpty();
}

QString noCommas(QString text)
{
    return text.remove(QLatin1Char(','));
}

QString remarksText(const Ui::frmMain &ui)
{
    return ui.txtRemarks->toPlainText();
}

} // namespace

QString bareNumber(const QString &cell)
{
    static const QRegularExpression plain(QStringLiteral("^ *-?(\\d+(\\.\\d*)?|\\.\\d+) *$"));
    if (plain.match(cell).hasMatch())
        return cell;
    // "1,250.5" reads whole; other text by its leading number, as the quantity check reads it.
    return format::numberText(format::isNumeric(cell) ? format::numericValue(cell)
                                                      : format::leadingNumber(cell));
}

Saving::Saving(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void Saving::cmdSave_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    if (trimBlanks(ui.cboTargetLocation->Text()).isEmpty()) {
        ui::msgBox(QStringLiteral("Invalid target location..."));
        ui.cboTargetLocation->setFocus();
        return;
    }
    const QString number = trimBlanks(ui.txtDocNum->text());
    if (number.isEmpty()) {
        ui::msgBox(QStringLiteral("Invalid document number..."));
        ui.txtDocNum->setFocus();
        return;
    }
    if (IsListEmpty() || !AllQuantitiesFilled())
        return;
    if (trimBlanks(remarksText(ui)).isEmpty()) {
        ui::msgBox(QStringLiteral("Specify Purpose."), ui::Buttons::Ok, ui::Icon::Information);
        ui.txtRemarks->setFocus();
        return;
    }
    // A number the user typed himself must be a new one; a locked box holds "NEW" or the
    // number of the document being edited.
    if (!ui.txtDocNum->isReadOnly() && Verify_DocumentNumber(number)) {
        ui::msgBox(QStringLiteral("Document Number already exists. Please assign a new number."),
                   ui::Buttons::Ok, ui::Icon::Critical, QStringLiteral("MESSAGE"));
        ui.txtDocNum->setFocus();
        return;
    }
    m_flags.VerifyOnSave = false;
    if (!SaveRequest())
        return;
    m_form.LoadListing();
    ui.SSTab1->setCurrentIndex(0);
    if (isSite("Q4VH")) {
        m_form.InitRequestOrderGrid(true);
        ui.frameRO->setVisible(false);
    }
}

bool Saving::IsListEmpty()
{
    Ui::frmMain &ui = *m_c.ui;
    bool empty = trimBlanks(ui.grdDetails->TextMatrix(1, DetailsCol::Code)).isEmpty();
    if (isSite("Q4VH"))
        empty = empty && trimBlanks(ui.fgRO->TextMatrix(1, 0)).isEmpty();
    if (empty)
        ui::msgBox(QStringLiteral("There are no items in the list"), ui::Buttons::Ok,
                   ui::Icon::Information);
    return empty;
}

bool Saving::AllQuantitiesFilled()
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, DetailsCol::Code).isEmpty())
            continue;
        if (format::leadingNumber(grid.TextMatrix(row, DetailsCol::Quantity)) > 0)
            continue;
        ui::msgBox(QStringLiteral("Fill all Quantities!"), ui::Buttons::Ok, ui::Icon::Information);
        // The line is shown in the entry fields for the quantity to be put right.
        grid.setRow(row);
        grid.setCol(2);
        m_form.grdDetailsToText();
        return false;
    }
    return true;
}

QString Saving::GetRequestUserID()
{
    QString result = Employeecode();
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("select top 1 isnull(UserID,'') as UserID from "
                       "inventory..tbInvWithdrawRequest where documentnumber = '")
        + db::quoteInner(m_c.ui->txtDocNum->text()) + QStringLiteral("'"));
    if (!rs.eof())
        result = rs.text(QStringLiteral("UserID"));
    return result;
}

bool Saving::SaveRequest()
{
    Ui::frmMain &ui = *m_c.ui;
    std::optional<WaitCursor> busy(std::in_place);

    // The server's date and time of this save, and the location combos read afresh. These
    // only read, and may ask the user, so they come before the transaction.
    LoadHospitalInfo();
    const QString transDate = QLatin1Char('\'')
        + format::dateTimeText(format::parseDateTime(Session.CurDate)) + QLatin1Char('\'');
    m_form.cboTargetLocation_Validate();
    m_form.cboLocation_Validate();

    // A return goes from the requesting location back to the supplying one.
    const QString location = m_flags.IsRequest ? ui.cboLocation->Tag : ui.cboTargetLocation->Tag;
    const QString target = m_flags.IsRequest ? ui.cboTargetLocation->Tag : ui.cboLocation->Tag;
    if (trimBlanks(target).isEmpty()) {
        busy.reset();
        ui::msgBox(QStringLiteral("TargetLocationid is Blank! Reselect location..."));
        if (m_flags.IsRequest)
            ui.cboTargetLocation->setFocus();
        else
            ui.cboLocation->setFocus();
        return false;
    }
    const QString lineTable = m_flags.IsConsolidation
        ? QStringLiteral("tbInvWithdrawRequestConsolidation")
        : QStringLiteral("tbInvWithdrawRequest");

    // The second person confirms before anything is written, so that no transaction waits on
    // the dialog; the stamp then goes in with the lines.
    bool confirmed = false;
    QString verifierID;
    if (m_flags.VerifyOnSave && !isSite("ZRWB")) {
        busy.reset();
        frmDeletePassword &dialog = frmDeletePassword::instance();
        dialog.OKCharge = false; // nothing confirmed until the dialog says so
        ui::showModal(dialog);
        confirmed = dialog.OKCharge;
        verifierID = dialog.VerifyID;
        busy.emplace();
    }

    // Numbers are drawn inside the transaction, so that no other save takes them meanwhile;
    // a refusal puts the placeholders back, and the next press draws again.
    const QString heldDocNum = ui.txtDocNum->text();
    const QString heldRODocNum = ui.txtRODocNum->text();
    try {
        db::Transaction transaction = sqlconnection().begin();
        if (isPlaceholder(ui.txtDocNum->text())) {
            ui.txtDocNum->setText(DrawNewDocNumber());
            if (isSite("ZRWB"))
                UpdateMRISDocNumber();
        }
        if (isPlaceholder(ui.txtRODocNum->text()))
            ui.txtRODocNum->setText(QStringLiteral("RO-") + getNewRONumber());
        WriteDocument(lineTable, location, target, transDate, confirmed, verifierID);
        transaction.commit();
    } catch (const db::DatabaseError &error) {
        ui.txtDocNum->setText(heldDocNum);
        ui.txtRODocNum->setText(heldRODocNum);
        busy.reset();
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
        return false;
    }

    busy.reset();
    const QString number = trimBlanks(ui.txtDocNum->text());
    if (m_flags.VerifyOnSave) {
        if (!isSite("ZRWB") && !confirmed)
            ui::msgBox(QStringLiteral("Request not verified!"), ui::Buttons::Ok,
                       ui::Icon::Critical);
    } else if (!ui.grdDetails->TextMatrix(1, DetailsCol::Code).isEmpty()) {
        ui::msgBox(QStringLiteral("Document #: ") + number
                       + QStringLiteral(" still needs to be verified "),
                   ui::Buttons::Ok, ui::Icon::Information);
    }
    return true;
}

void Saving::WriteDocument(const QString &lineTable, const QString &location, const QString &target,
                           const QString &transDate, bool verifierConfirmed,
                           const QString &verifierID)
{
    Ui::frmMain &ui = *m_c.ui;
    const ui::FlexGrid &grid = *ui.grdDetails;
    const QString number = db::quoteInner(trimBlanks(ui.txtDocNum->text()));
    // What the commands need from the database is read first; the commands then go in one batch,
    // none of them waiting on another's result.
    const QString userID = GetRequestUserID();
    const QString remarks = db::quoteInner(remarksText(ui));
    const bool lotNumbers = GetInvSwitch(QStringLiteral("91"));
    QStringList commands;

    // The document's lines are replaced wholesale.
    commands << (QStringLiteral("Delete INVENTORY..") + lineTable
                 + QStringLiteral(" Where DocumentNumber = '")
                 + db::quoteInner(ui.txtDocNum->text()) + QStringLiteral("'"));
    if (!trimBlanks(grid.TextMatrix(1, DetailsCol::Code)).isEmpty()) {
        for (int row = 1; row < grid.Rows(); ++row) {
            const QString code = grid.TextMatrix(row, DetailsCol::Code);
            if (trimBlanks(code).isEmpty())
                continue;
            const QString ads
                = trimBlanks(grid.TextMatrix(row, DetailsCol::isADS)) == QLatin1String("Y")
                ? QStringLiteral("1")
                : QStringLiteral("0");
            commands << (QStringLiteral("Insert INVENTORY..") + lineTable
                         + QStringLiteral(
                             " (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, "
                             "LocationID, TargetLocationID, TransDate, UserID, Remarks) ")
                         + QStringLiteral("Values ('") + number + QStringLiteral("','")
                         + db::quoteInner(code) + QStringLiteral("',")
                         + bareNumber(grid.TextMatrix(row, DetailsCol::Quantity))
                         + QStringLiteral(",")
                         + bareNumber(grid.TextMatrix(row, DetailsCol::UnitCost))
                         + QStringLiteral(",'")
                         + db::quoteInner(grid.TextMatrix(row, DetailsCol::Retail))
                         + QStringLiteral("', '") + ads + QStringLiteral("', '")
                         + db::quoteInner(location) + QStringLiteral("', '")
                         + db::quoteInner(target) + QStringLiteral("', ") + transDate
                         + QStringLiteral(", '") + db::quoteInner(userID) + QStringLiteral("', '")
                         + remarks + QStringLiteral("')"));
            if (lotNumbers)
                commands << (QStringLiteral("update INVENTORY..") + lineTable + QStringLiteral(" ")
                             + QStringLiteral(" set lotnumber = '")
                             + db::quoteInner(grid.TextMatrix(row, DetailsCol::LotNumber))
                             + QStringLiteral("' ") + QStringLiteral(" where documentnumber = '")
                             + number + QStringLiteral("' ") + QStringLiteral(" and itemid = '")
                             + db::quoteInner(code) + QStringLiteral("' "));
        }
    }

    if (isSite("Q4VH"))
        WriteRequestOrders(transDate, commands);

    if (lotNumbers)
        commands << (QStringLiteral(" update INVENTORY..") + lineTable
                     + QStringLiteral("  set isrequest = '")
                     + (m_flags.IsRequest ? QStringLiteral("True") : QStringLiteral("False"))
                     + QStringLiteral("' where documentnumber =  '") + number
                     + QStringLiteral("' "));

    if (isSite("ZRWB"))
        commands << (QStringLiteral(" update INVENTORY..") + lineTable
                     + QStringLiteral("  set ApprovingOfficerID = '")
                     + db::quoteInner(trimBlanks(ui.txtOfficer->text())) + QStringLiteral("', ")
                     + QStringLiteral(" DepartmentID = '") + db::quoteInner(ui.cboDepartment->Tag)
                     + QStringLiteral("' , SectionID = '") + db::quoteInner(ui.cboSection->Tag)
                     + QStringLiteral("' , ") + QStringLiteral(" Requestedby = '")
                     + db::quoteInner(trimBlanks(ui.txtReqID->text())) + QStringLiteral("'")
                     + QStringLiteral(" where documentnumber =  '") + number
                     + QStringLiteral("' "));

    // At ZRWB the logged-in user verifies; elsewhere the person confirmed beforehand.
    const bool zrwb = isSite("ZRWB");
    if (m_flags.VerifyOnSave && (zrwb || verifierConfirmed))
        AddVerification(lineTable, zrwb ? Employeecode() : verifierID, zrwb, commands);
    sqlconnection().executeBatch(commands);
}

void Saving::AddVerification(const QString &lineTable, const QString &verifierID, bool zrwb,
                             QStringList &commands)
{
    Ui::frmMain &ui = *m_c.ui;
    const QString number = db::quoteInner(trimBlanks(ui.txtDocNum->text()));
    const QString verifier = db::quoteInner(verifierID);
    commands << (QStringLiteral("Update Inventory..") + lineTable
                 + QStringLiteral(" set Verifiedby = '") + verifier
                 + QStringLiteral("', verifiedDate = GetDate() where DocumentNumber = '") + number
                 + QStringLiteral("'"));
    if (!zrwb && isSite("Q4VH"))
        commands << (QStringLiteral("Update Inventory..tbInvRequestOrder set Verifiedby = '")
                     + verifier
                     + QStringLiteral("', verifiedDate = GetDate() where DocumentNumber = '")
                     + db::quoteInner(ui.txtRODocNum->text()) + QStringLiteral("'"));
}

void Saving::WriteRequestOrders(const QString &transDate, QStringList &commands)
{
    Ui::frmMain &ui = *m_c.ui;
    const ui::FlexGrid &grid = *ui.fgRO;
    const QString number = db::quoteInner(ui.txtRODocNum->text());

    commands << (QStringLiteral("Delete INVENTORY..tbinvRequestOrder Where DocumentNumber = '")
                 + number + QStringLiteral("'"));
    if (grid.TextMatrix(1, 0).isEmpty())
        return;
    // Request orders always go from the supplying to the requesting combo, whatever the kind of
    // document, under the current user; their remarks lose their single quotes.
    const QString remarks = remarksText(ui).remove(QLatin1Char('\''));
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, 1).isEmpty())
            continue;
        commands << (QStringLiteral("Insert into inventory..tbinvRequestOrder(Documentnumber, ")
                     + QStringLiteral(
                         "locationid,targetlocationid,itemid,qty,unitcost,totalcost,userid,"
                         "transdate,Remarks) values( ")
                     + QStringLiteral(" '") + number + QStringLiteral("', '")
                     + db::quoteInner(ui.cboLocation->Tag) + QStringLiteral("', '")
                     + db::quoteInner(ui.cboTargetLocation->Tag) + QStringLiteral("', ")
                     + QStringLiteral(" '") + db::quoteInner(grid.TextMatrix(row, 0))
                     + QStringLiteral("','") + db::quoteInner(noCommas(grid.TextMatrix(row, 3)))
                     + QStringLiteral("', '") + db::quoteInner(noCommas(grid.TextMatrix(row, 4)))
                     + QStringLiteral("', ") + QStringLiteral(" '")
                     + db::quoteInner(noCommas(grid.TextMatrix(row, 5))) + QStringLiteral("','")
                     + db::quoteInner(Employeecode()) + QStringLiteral("',") + transDate
                     + QStringLiteral(", '") + db::quoteInner(remarks) + QStringLiteral("') "));
    }
}
