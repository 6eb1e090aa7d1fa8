#include "request/Saving.h"

#include "objects/clsEmployee.h"
#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "request/FormHelpers.h"
#include "request/Numbering.h"
#include "request/RequestDocument.h"
#include "request/SaveStatements.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/frmDeletePassword.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
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

QString remarksText(const Ui::frmMain &ui)
{
    return ui.txtRemarks->toPlainText();
}

} // namespace

StoredState ReadStoredState(const QString &lineTable, const QString &number)
{
    StoredState state;
    state.table = lineTable;
    state.number = number;
    db::Recordset rs = sqlconnection().query(SaveStatements::storedState(lineTable, number));
    bool first = true;
    for (; !rs.eof(); rs.moveNext()) {
        if (first) {
            state.status = rs.text(QStringLiteral("Status"));
            state.verifiedBy = rs.text(QStringLiteral("Verifiedby"));
            state.verifiedDate = rs.field(QStringLiteral("verifiedDate")).toDateTime();
            state.processBy = rs.text(QStringLiteral("ProcessBy"));
            state.departmentId = rs.text(QStringLiteral("DepartmentID"));
            state.sectionId = rs.text(QStringLiteral("SectionID"));
            first = false;
        }
        StoredLine line;
        line.itemId = rs.text(QStringLiteral("ItemID"));
        line.quantity = numberValue(rs.field(QStringLiteral("Quantity")));
        line.unitCost
            = format::Currency::fromDouble(numberValue(rs.field(QStringLiteral("UnitCost"))));
        line.retail = rs.text(QStringLiteral("ForRetail"));
        line.ads = isTrueValue(rs.field(QStringLiteral("isADS")));
        line.lotNumber = rs.text(QStringLiteral("lotnumber"));
        state.lines.push_back(std::move(line));
    }
    return state;
}

StoredState ReadStoredState(const QString &number)
{
    // A number stored among the requests is that document; one found only among the
    // consolidation requests is a consolidation request.
    StoredState state = ReadStoredState(QStringLiteral("tbInvWithdrawRequest"), number);
    if (state.lines.empty()) {
        StoredState consolidation
            = ReadStoredState(QStringLiteral("tbInvWithdrawRequestConsolidation"), number);
        if (!consolidation.lines.empty())
            return consolidation;
    }
    return state;
}

Saving::Saving(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void Saving::cmdSave_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    if (!m_form.document().isEditable())
        return;
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
    if (!RemarksFit())
        return;
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

bool Saving::RemarksFit()
{
    Ui::frmMain &ui = *m_c.ui;
    const qsizetype length = m_form.document().remarks().size();
    if (length <= RemarksLimit)
        return true;
    QString field = m_c.Label1[2]->text().trimmed();
    if (field.endsWith(QLatin1Char(':')))
        field.chop(1);
    ui::msgBox(field + QStringLiteral(" may hold at most ") + QString::number(RemarksLimit)
                   + QStringLiteral(" characters; it holds ") + QString::number(length)
                   + QStringLiteral("."),
               ui::Buttons::Ok, ui::Icon::Information);
    ui.txtRemarks->setFocus();
    return false;
}

bool Saving::IsListEmpty()
{
    const RequestDocument &document = m_form.document();
    bool empty = document.lines().empty();
    if (isSite("Q4VH"))
        empty = empty && document.requestOrders().empty();
    if (empty)
        ui::msgBox(QStringLiteral("There are no items in the list"), ui::Buttons::Ok,
                   ui::Icon::Information);
    return empty;
}

bool Saving::AllQuantitiesFilled()
{
    const RequestDocument &document = m_form.document();
    for (int i = 0; i < document.lineCount(); ++i) {
        if (document.lines()[static_cast<size_t>(i)].quantity > 0)
            continue;
        ui::msgBox(QStringLiteral("Fill all Quantities!"), ui::Buttons::Ok, ui::Icon::Information);
        // The line is shown in the entry fields for the quantity to be put right.
        ui::FlexGrid &grid = *m_c.ui->grdDetails;
        grid.setRow(i + 1);
        grid.setCol(2);
        m_form.grdDetailsToText();
        return false;
    }
    return true;
}

QString Saving::GetRequestUserID()
{
    QString result = Employeecode();
    db::Recordset rs
        = sqlconnection().query(SaveStatements::requestUserId(m_form.document().number()));
    if (!rs.eof())
        result = rs.text(QStringLiteral("UserID"));
    return result;
}

bool Saving::LocationsResolved()
{
    Ui::frmMain &ui = *m_c.ui;
    RequestDocument &document = m_form.document();
    // A new document takes its locations as the user left the combos; an opened one keeps
    // the locations it was stored with.
    if (document.isNew()) {
        m_form.cboTargetLocation_Validate();
        m_form.cboLocation_Validate();
    }
    // A return goes from the requesting location back to the supplying one.
    if (trimBlanks(document.targetLocationId()).isEmpty()) {
        ui::msgBox(QStringLiteral("TargetLocationid is Blank! Reselect location..."));
        if (document.isRequest())
            ui.cboTargetLocation->setFocus();
        else
            ui.cboLocation->setFocus();
        return false;
    }
    if (!trimBlanks(document.locationId()).isEmpty())
        return true;
    // The other location did not resolve: say which field, and what was typed.
    ui::DataCombo *combo = document.isRequest() ? ui.cboLocation : ui.cboTargetLocation;
    QString field = (document.isRequest() ? m_c.Label1[6] : m_c.Label1[3])->text().trimmed();
    if (field.endsWith(QLatin1Char(':')))
        field.chop(1);
    const QString typed = trimBlanks(combo->Text());
    ui::msgBox(typed.isEmpty() ? field + QStringLiteral(": choose a location from the list.")
                               : field + QStringLiteral(": \"") + typed
                       + QStringLiteral("\" is not a location you may use. Choose one from the "
                                        "list."),
               ui::Buttons::Ok, ui::Icon::Information);
    if (combo->isEnabled())
        combo->setFocus();
    return false;
}

bool Saving::SaveRequest()
{
    RequestDocument &document = m_form.document();
    if (!document.isEditable())
        return false;
    std::optional<WaitCursor> busy(std::in_place);

    // The server's date and time of this save. This only reads, so it comes before the
    // transaction.
    LoadHospitalInfo();
    const QString transDate = format::dateTimeText(format::parseDateTime(Session.CurDate));

    busy.reset();
    if (!LocationsResolved())
        return false;
    busy.emplace();

    // The second person confirms before anything is written, so that no transaction waits on
    // the dialog; the stamp then goes in with the lines.
    bool confirmed = false;
    QString verifierID;
    if (m_flags.VerifyOnSave && !isSite("ZRWB")) {
        busy.reset();
        frmDeletePassword &dialog = frmDeletePassword::instance();
        dialog.OKCharge = false; // nothing confirmed until the dialog says so
        dialog.setDocument(documentKind(m_form.document()), m_c.ui->txtDocNum->text());
        ui::showModal(dialog);
        confirmed = dialog.OKCharge;
        verifierID = dialog.VerifyID;
        busy.emplace();
    }
    if (m_flags.VerifyOnSave && isSite("ZRWB")) {
        confirmed = true;
        verifierID = Employeecode();
    }

    // Numbers are drawn inside the transaction, so that no other save takes them meanwhile;
    // a refusal puts the placeholders back, and the next press draws again.
    const QString heldDocNum = document.number();
    const QString heldRODocNum = document.requestOrderNumber();
    const StoredState opened = document.stored();
    QString changedBy;
    StoredState written;
    try {
        db::Transaction transaction = sqlconnection().begin();
        if (isPlaceholder(document.number())) {
            document.setNumber(DrawNewDocNumber());
            if (isSite("ZRWB"))
                UpdateMRISDocNumber();
        }
        if (isPlaceholder(document.requestOrderNumber()))
            document.setRequestOrderNumber(QStringLiteral("RO-") + getNewRONumber());

        // What is stored now must be what the document was opened from; a new document's
        // number must hold nothing yet.
        StoredState expected = opened;
        if (document.isNew()) {
            expected = StoredState();
            expected.table = document.lineTable();
            expected.number = document.number();
        }
        const StoredState now = ReadStoredState(expected.table, expected.number);
        if (!RequestDocument::sameStoredDocument(expected, now)) {
            changedBy = DescribeChange(expected, now);
        } else {
            SaveStatements::Context context;
            context.transDate = transDate;
            context.userId = GetRequestUserID();
            context.currentUser = Employeecode();
            context.lotNumbers = GetInvSwitch(QStringLiteral("91"));
            context.zrwbHeader = isSite("ZRWB");
            context.requestOrders = isSite("Q4VH");
            context.verify = m_flags.VerifyOnSave && confirmed;
            context.verifierId = verifierID;
            const QStringList statements = SaveStatements::build(document, context);
            // The writes need nothing from each other: they go as one batch.
            sqlconnection().executeBatch(statements);
            written = ReadStoredState(document.lineTable(), document.number());
            transaction.commit();
        }
    } catch (const db::DatabaseError &error) {
        document.setNumber(heldDocNum);
        document.setRequestOrderNumber(heldRODocNum);
        ShowNumbers();
        busy.reset();
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
        return false;
    }
    if (!changedBy.isEmpty()) {
        document.setNumber(heldDocNum);
        document.setRequestOrderNumber(heldRODocNum);
        ShowNumbers();
        busy.reset();
        ui::msgBox(changedBy, ui::Buttons::Ok, ui::Icon::Exclamation);
        return false;
    }
    document.markSaved(written);
    ShowNumbers();

    busy.reset();
    const QString number = trimBlanks(document.number());
    if (m_flags.VerifyOnSave) {
        if (!isSite("ZRWB") && !confirmed)
            ui::msgBox(QStringLiteral("Request not verified!"), ui::Buttons::Ok,
                       ui::Icon::Critical);
    } else if (!document.lines().empty()) {
        ui::msgBox(QStringLiteral("Document #: ") + number
                       + QStringLiteral(" still needs to be verified "),
                   ui::Buttons::Ok, ui::Icon::Information);
    }
    return true;
}

void Saving::ShowNumbers()
{
    m_c.ui->txtDocNum->setText(m_form.document().number());
    m_c.ui->txtRODocNum->setText(m_form.document().requestOrderNumber());
}

QString Saving::DescribeChange(const StoredState &opened, const StoredState &now)
{
    const auto nameOf = [](const QString &id) {
        clsEmployee employee;
        if (!id.trimmed().isEmpty() && employee.Search(id.trimmed()))
            return employee.CompleteName;
        return id.trimmed();
    };
    const QString number = trimBlanks(now.number);
    QString what;
    if (opened.lines.empty() && opened.status.isEmpty() && opened.verifiedBy.isEmpty()
        && !now.lines.empty()) {
        what = QStringLiteral("another workstation has saved a document under this number");
    } else if (now.verifiedBy.trimmed() != opened.verifiedBy.trimmed()
               && !now.verifiedBy.trimmed().isEmpty()) {
        what = QStringLiteral("it was verified by ") + nameOf(now.verifiedBy);
    } else if (now.status.trimmed() != opened.status.trimmed()) {
        const QString by = nameOf(now.processBy);
        what = QStringLiteral("its status was changed")
            + (by.isEmpty() ? QString() : QStringLiteral(" by ") + by);
    } else if (now.lines.empty()) {
        what = QStringLiteral("its lines were removed on another workstation");
    } else {
        what = QStringLiteral("its lines were changed on another workstation");
    }
    return QStringLiteral("Document #: ") + number
        + QStringLiteral(" has changed since you opened it: ") + what
        + QStringLiteral(".\nNothing was saved. Please reopen the document.");
}
