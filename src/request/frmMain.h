#pragma once

#include "request/MainControls.h"
#include "request/RequestDocument.h"

#include <QMainWindow>
#include <memory>

class QTimer;

class FormLoad;
class Modes;
class Listing;
class Loading;
class LinesGrid;
class ItemEntry;
class LineChecks;
class Saving;
class Verification;
class Officers;
class Printing;
class AddLines;

// The stock request window: the listing of the user's documents (tab "List") and one document
// (tab "Details"). It owns the controls and the form flags; the work is done by one class per
// concern, each given the controls and flags.
class frmMain final : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    MainControls &controls() { return m_c; }
    MainFlags &flags() { return m_flags; }
    // The one document on the details tab.
    RequestDocument &document() { return m_document; }
    // True while the form shows a document: edits of the controls are not the user's then.
    bool &showingDocument() { return m_showingDocument; }

    // Routines other parts of the form call.
    void ClearAll();
    void LoadRights();
    void LoadLocationLists();
    void SetRetailOption(int mode);
    void InitRequestOrderGrid(bool clear);
    void LoadRequest();
    // Shows the form's document again, whole.
    void ShowDocument();
    void LoadListing();
    bool HasDocumentsToAcknowledge();
    void LockLocations();
    void UpdateGrandTotal();
    void UpdateLineCounter();
    void UpdateROTotal();

    // Commands and events, also run directly by other code.
    void cmdNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void cmdList_Click();
    void cmdDetails_Click();
    void grdListing_DblClick();
    void tmrRefresh_Timer();
    void tmrAcknowledge_Timer();
    void tmrBlinkAcknowledge_Timer();
    // Printing, the issued-requests report and the acknowledgement form.
    void cmdView_Click();
    void cmdAcknowledge_Click();
    void mnuIssuedReports_Click();
    // Validation events of the location combos; return Cancel.
    bool cboLocation_Validate();
    bool cboTargetLocation_Validate();

    // Saving, verification and deletion, officers.
    void cmdSave_Click();
    bool SaveRequest();
    bool IsListEmpty();
    bool AllQuantitiesFilled();
    void cmdVerify_Click();
    void cmdVerified_Click();
    void chkverified_Click();
    void cmdDeleteReq_Click();
    void cmdOfficer_Click();
    void cmdReq_Click();

    // Item entry and the lines grid.
    void ShowItemDetails();
    void LoadPPMP(const QString &ItemCode);
    void LoadBlockedQty();
    bool IsItemPending();
    void LoadLineToEntry(bool FromRequestOrder);
    void grdDetailsToText();
    void cmdOK_Click();
    void cmdDelete_Click();

    // Lines added several at once from the pickers.
    void cmdAdd_Click();
    void cmdAddFromPrevious_Click();
    LinesGrid &linesGrid();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Closing the window with unsaved work asks first.
    void closeEvent(QCloseEvent *event) override;

private:
    void wireControls();
    void wireValidation();
    void wireEntry();
    void wireSaving();
    void wirePrinting();
    void wireAddLines();
    void wireDocument();
    // The header controls the user edits, taken into the document.
    void takeLocations();
    void takeSiteHeader();

    std::unique_ptr<Ui::frmMain> m_ui;
    MainControls m_c;
    MainFlags m_flags;
    RequestDocument m_document;
    bool m_showingDocument = false;
    std::unique_ptr<FormLoad> m_formLoad;
    std::unique_ptr<Modes> m_modes;
    std::unique_ptr<Listing> m_listing;
    std::unique_ptr<Loading> m_loading;
    std::unique_ptr<LinesGrid> m_lines;
    std::unique_ptr<ItemEntry> m_entry;
    std::unique_ptr<LineChecks> m_checks;
    std::unique_ptr<Saving> m_saving;
    std::unique_ptr<Verification> m_verification;
    std::unique_ptr<Officers> m_officers;
    std::unique_ptr<Printing> m_printing;
    std::unique_ptr<AddLines> m_addLines;
    int m_previousTab = 0; // the tab selected before the current one

    friend class Modes; // Exit answers the closing question itself
    bool m_exitConfirmed = false;
};
