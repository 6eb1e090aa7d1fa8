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

Verification::Verification(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void Verification::cmdVerify_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    if (m_form.IsListEmpty() || !m_form.AllQuantitiesFilled())
        return;
    if (trimBlanks(ui.txtRemarks->toPlainText()).isEmpty()) {
        ui::msgBox(QStringLiteral("Specify Purpose."), ui::Buttons::Ok, ui::Icon::Information);
        ui.txtRemarks->setFocus();
        return;
    }
    m_flags.VerifyOnSave = true;
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
    dialog.setDocument(documentKind(m_form.flags()), m_c.ui->txtDocNum->text());
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

    const ui::FlexGrid &listing = *ui.grdListing;
    const int row = listing.Row();
    if (!IsUserAuthorized(Employeecode(), listing.TextMatrix(row, 6), listing.TextMatrix(row, 7)))
        return;
    if (ui::msgBox(QStringLiteral("Are you sure you want to delete this record?"),
                   ui::Buttons::YesNo, ui::Icon::Question, QStringLiteral("Message"))
        != ui::Answer::Yes)
        return;

    // A document of the consolidation listing lives in the consolidation table; its number may
    // belong to another document in the request table.
    const QString table = !requestOrders && m_c.optOptions[4]->isChecked()
        ? QStringLiteral("tbInvWithdrawRequestConsolidation")
        : QStringLiteral("tbInvWithDrawRequest");
    const QString stamp
        = QStringLiteral(" set Status = 'D', ProcessDate = getdate(), ProcessBy = '")
        + db::quoteInner(Employeecode()) + QStringLiteral("'  where DocumentNumber = '")
        + db::quoteInner(listing.TextMatrix(row, 1)) + QStringLiteral("'");
    db::Connection &connection = sqlconnection();
    // Both marks or neither.
    db::Transaction transaction = connection.begin();
    connection.execute(QStringLiteral("Update INVENTORY..") + table + stamp);
    if (isSite("Q4VH"))
        connection.execute(QStringLiteral("Update INVENTORY..tbInvRequestorder") + stamp);
    transaction.commit();
    m_form.LoadListing();
}
