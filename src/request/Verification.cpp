#include "request/Verification.h"

#include "platform/db/Connection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/frmDeletePassword.h"
#include "ui_frmMain.h"

namespace {

// The confirmation asked while a verification runs follows the verification's rule.
class VerificationRule final
{
public:
    explicit VerificationRule(const QString &authorID)
    {
        frmDeletePassword::instance().setVerificationRule(authorID);
    }
    ~VerificationRule() { frmDeletePassword::instance().clearVerificationRule(); }
    VerificationRule(const VerificationRule &) = delete;
    VerificationRule &operator=(const VerificationRule &) = delete;
};

} // namespace

Verification::Verification(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void Verification::cmdVerify_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    // A document the supplying side has taken up, or one already verified, stays as it is.
    if (!m_form.document().isEditable())
        return;
    if (m_form.IsListEmpty() || !m_form.AllQuantitiesFilled())
        return;
    if (trimBlanks(ui.txtRemarks->toPlainText()).isEmpty()) {
        ui::msgBox(QStringLiteral("Specify Purpose."), ui::Buttons::Ok, ui::Icon::Information);
        ui.txtRemarks->setFocus();
        return;
    }
    m_flags.VerifyOnSave = true;
    // The second person who confirms this verification may not be the document's author, and
    // must hold the verify right himself.
    const VerificationRule rule(documentAuthor());
    if (!m_form.SaveRequest())
        return;
    m_form.LoadListing();
    m_form.cmdView_Click();
    ui.SSTab1->setCurrentIndex(0);
    if (isSite("Q4VH")) {
        m_form.InitRequestOrderGrid(true);
        ui.frameRO->setVisible(false);
    }
}

void Verification::cmdVerified_Click()
{
    frmDeletePassword &dialog = frmDeletePassword::instance();
    dialog.OKCharge = false; // nothing confirmed until the dialog says so
    dialog.setDocument(documentKind(m_form.document()), m_c.ui->txtDocNum->text());
    ui::showModal(dialog);
    if (dialog.OKCharge)
        m_form.cmdSave_Click();
}

void Verification::chkverified_Click()
{
    m_form.LoadListing();
    Ui::frmMain &ui = *m_c.ui;
    // Verified documents are only looked at, never opened for editing.
    if (ui.chkverified->isChecked()) {
        ui.cmdEdit->setEnabled(false);
        ui.cmdDetails->setEnabled(false);
    } else {
        ui.grdListing->setEnabled(true);
        ui.cmdEdit->setEnabled(true);
        ui.cmdDetails->setEnabled(true);
    }
}

void Verification::cmdDeleteReq_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    const bool verified = ui.chkverified->isChecked();
    const bool requestOrders = m_c.optRequestOrder[1]->isChecked();
    if (!requestOrders) {
        if (verified || m_c.optOptions[1]->isChecked() || m_c.optOptions[2]->isChecked()
            || m_c.optOptions[3]->isChecked()) {
            ui::msgBox(QStringLiteral("Can't delete processing or verified transaction."),
                       ui::Buttons::Ok, ui::Icon::Information);
            return;
        }
    } else if (verified || m_c.optOptions[6]->isChecked()) {
        ui::msgBox(QStringLiteral("Can't delete processed / verified transaction."),
                   ui::Buttons::Ok, ui::Icon::Information);
        return;
    }

    // The document is the one chosen when the button was pressed: a refresh of the listing
    // while the question is open does not change which one is deleted.
    const ui::FlexGrid &listing = *ui.grdListing;
    if (!listing.isEnabled() || listing.Rows() <= 1)
        return;
    const int row = listing.Row();
    const QString number = listing.TextMatrix(row, 1);
    if (trimBlanks(number).isEmpty())
        return;
    if (!IsUserAuthorized(Employeecode(), listing.TextMatrix(row, 6), listing.TextMatrix(row, 7)))
        return;
    if (ui::msgBox(QStringLiteral("Are you sure you want to delete this record (Doc # ") + number
                       + QStringLiteral(")?"),
                   ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Message"))
        != ui::Answer::Yes)
        return;

    // A document of the consolidation listing lives in the consolidation table; its number may
    // belong to another document in the request table.
    const bool consolidation = !requestOrders && m_c.optOptions[4]->isChecked();
    const QString table = consolidation ? QStringLiteral("tbInvWithdrawRequestConsolidation")
                                        : QStringLiteral("tbInvWithDrawRequest");
    const QString listedTable = requestOrders ? QStringLiteral("tbInvRequestorder") : table;
    const QString quotedNumber = db::quoteInner(number);
    // Only a document that is still pending and unverified is marked, whatever the listing
    // showed when it was read.
    const QString stamp
        = QStringLiteral(" set Status = 'D', ProcessDate = getdate(), ProcessBy = '")
        + db::quoteInner(Employeecode()) + QStringLiteral("'  where DocumentNumber = '")
        + quotedNumber
        + QStringLiteral("' and isnull(Status,'') = '' and isnull(Verifiedby,'') = ''");
    db::Connection &connection = sqlconnection();
    QString refusal;
    {
        // The check and both marks, or nothing.
        db::Transaction transaction = connection.begin();
        db::Recordset now = connection.query(
            QStringLiteral("Select top 1 isnull(Status,'') as Status, isnull(Verifiedby,'') as "
                           "Verifiedby From INVENTORY..")
            + listedTable + QStringLiteral(" with (updlock, holdlock) where DocumentNumber = '")
            + quotedNumber
            + QStringLiteral("' order by isnull(Status,'') desc, isnull(Verifiedby,'') desc"));
        refusal = deletionRefusal(number, now);
        if (refusal.isEmpty()) {
            connection.execute(QStringLiteral("Update INVENTORY..") + table + stamp);
            if (isSite("Q4VH"))
                connection.execute(QStringLiteral("Update INVENTORY..tbInvRequestorder") + stamp);
            transaction.commit();
        }
    }
    if (!refusal.isEmpty())
        ui::msgBox(refusal, ui::Buttons::Ok, ui::Icon::Information);
    m_form.LoadListing();
}

QString Verification::documentAuthor() const
{
    // The employee who first saved the document; a new one is the current user's.
    const QString number = trimBlanks(m_c.ui->txtDocNum->text());
    if (number.isEmpty() || number == QLatin1String("NEW"))
        return Employeecode();
    const QString table = m_form.document().lineTable();
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("select top 1 isnull(UserID,'') as UserID from inventory..") + table
        + QStringLiteral(" where documentnumber = '") + db::quoteInner(number)
        + QStringLiteral("'"));
    if (rs.eof() || trimBlanks(rs.text(QStringLiteral("UserID"))).isEmpty())
        return Employeecode();
    return rs.text(QStringLiteral("UserID"));
}

QString Verification::deletionRefusal(const QString &number, const db::Recordset &now)
{
    const QString document = QStringLiteral("Document # ") + number;
    if (now.eof())
        return document + QStringLiteral(" no longer exists.");
    const QString status = trimBlanks(now.text(QStringLiteral("Status")));
    if (status == QLatin1String("D"))
        return document + QStringLiteral(" has already been deleted.");
    if (!status.isEmpty())
        return document
            + QStringLiteral(" has been taken up for processing since the list was shown. "
                             "Can't delete processing or verified transaction.");
    if (!trimBlanks(now.text(QStringLiteral("Verifiedby"))).isEmpty())
        return document
            + QStringLiteral(" has been verified since the list was shown. Can't delete "
                             "processing or verified transaction.");
    return QString();
}
