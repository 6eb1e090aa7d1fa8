#include "request/Modes.h"

#include "pickers/frmConsolidationType.h"
#include "pickers/frmRequestType.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "platform/ui/ValidateOnLeave.h"
#include "request/FormHelpers.h"
#include "request/Loading.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

namespace {

// The type dialogs open over the New button.
void placeAtNewButton(QDialog &dialog, const QPushButton &cmdNew)
{
    dialog.move(cmdNew.mapToGlobal(QPoint(0, 0)));
}

void setListingCommandsEnabled(Ui::frmMain &ui, bool enabled)
{
    ui.cmdNew->setEnabled(enabled);
    ui.cmdEdit->setEnabled(enabled);
    ui.cmdDeleteReq->setEnabled(enabled);
    ui.cmdView->setEnabled(enabled);
}

void focusIfShown(QWidget *widget)
{
    if (widget->isVisible() && widget->isEnabled())
        widget->setFocus();
}

} // namespace

Modes::Modes(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void Modes::cmdNew_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    // 1.-2. The server's date of the new document.
    LoadHospitalInfo();
    ui.txtSearch->clear();
    // The kind of the new document; nothing of the document shown before carries over.
    bool isRequest = true;
    bool isConsolidation = false;

    // 3. Request or return.
    if (GetInvSwitch(QStringLiteral("91"))) {
        ui.frameLotNumber->setVisible(true);
        frmRequestType dialog(&m_form);
        placeAtNewButton(dialog, *ui.cmdNew);
        ui::showModal(dialog);
        if (dialog.Cancelled)
            return;
        isRequest = dialog.IsRequest;
    }

    // 4. Ordinary or consolidation request.
    if (isSite("ZRWB")) {
        frmConsolidationType dialog(&m_form);
        placeAtNewButton(dialog, *ui.cmdNew);
        ui::showModal(dialog);
        if (dialog.Cancelled)
            return;
        isConsolidation = dialog.IsConsolidation;
        LoadDepartment(*ui.cboDepartment);
    }

    // 5.-6. A new empty document replaces the one shown before.
    m_form.document().startNew(isRequest, isConsolidation);
    m_form.ShowDocument();
    ShowDocumentKind(m_c, isRequest);
    setTransDate(ui.txtTransDate, Session.CurDate);

    // 7. The tab switch runs the Edit command, which loads the empty document.
    m_flags.IsNewDocument = true;
    ui.SSTab1->setCurrentIndex(1);

    // 8.-11.
    if (isSite("Q4VH")) {
        m_form.InitRequestOrderGrid(true);
        ui.frameRO->setVisible(true);
    }
    m_form.ClearAll();
    ui.txtDocNum->setText(QStringLiteral("NEW"));
    ui.txtDocNum->setReadOnly(true);
    focusIfShown(ui.txtProdCode);
    if (isSite("Q4VH"))
        ui.txtRODocNum->setText(QStringLiteral("NEW"));
    ui.cmdOK->setText(QStringLiteral("Add to List"));

    // 12. The location lists for the new document, checked as the user would leave them.
    m_form.LoadLocationLists();
    m_form.cboTargetLocation_Validate();
    m_form.SetRetailOption(1);
    if (ui.cboLocation->isEnabled())
        ui.cboLocation->setFocus();
    m_form.cboLocation_Validate();
    m_form.cboTargetLocation_Validate();
}

void Modes::cmdEdit_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    ui.txtSearch->clear();

    if (!m_flags.IsNewDocument) {
        const ui::FlexGrid &listing = *ui.grdListing;
        const int row = listing.Row();
        if (!IsUserAuthorized(Employeecode(), listing.TextMatrix(row, 6),
                              listing.TextMatrix(row, 7)))
            return;
    }
    if (isSite("Q4VH"))
        ui.frameRO->setVisible(true);

    m_form.LoadRequest();
    m_form.UpdateGrandTotal();

    // Selecting the tab from here must not load the document a second time.
    m_inEdit = true;
    ui.SSTab1->setCurrentIndex(1);
    m_inEdit = false;
    ui.cboTargetLocation->setEnabled(false);
    ui.cboLocation->setEnabled(false);
    ui.txtDocNum->setReadOnly(true);
    focusIfShown(ui.txtProdCode);
    ui.cmdOK->setText(QStringLiteral("Update"));
    // The entry shows the line that "Update" changes, never an item left from before.
    m_form.LoadLineToEntry(false);
}

void Modes::cmdCancel_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    const ui::Answer answer
        = ui::msgBox(QStringLiteral("Do you want to leave without saving?"), ui::Buttons::YesNo,
                     ui::Icon::Question, QStringLiteral("Message"));
    if (answer == ui::Answer::Yes) {
        // The document is dropped whole; the next New or Edit starts from nothing of it.
        m_form.document().startNew(true, false);
        m_form.ShowDocument();
        ui.SSTab1->setCurrentIndex(0);
        if (isSite("Q4VH"))
            ui.frameRO->setVisible(false);
    } else {
        focusIfShown(ui.txtProdCode);
        if (isSite("Q4VH"))
            ui.frameRO->setVisible(true);
    }
}

void Modes::cmdExit_Click()
{
    m_c.ui->txtSearch->clear();
    if (ui::msgBox(QStringLiteral("Are you sure you want to exit without saving?"),
                   ui::Buttons::YesNo, ui::Icon::Question)
        == ui::Answer::Yes) {
        // The question has been answered: closing asks nothing more.
        m_form.m_exitConfirmed = true;
        m_form.close();
    }
}

void Modes::SSTab1_Click(int previousTab)
{
    Ui::frmMain &ui = *m_c.ui;
    if (previousTab == 0) {
        if (!m_inEdit)
            cmdEdit_Click();
        setListingCommandsEnabled(ui, false);
    } else {
        setListingCommandsEnabled(ui, true);
    }
}
