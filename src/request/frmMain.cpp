#include "request/frmMain.h"

#include "platform/ui/FlexGrid.h"
#include "platform/ui/KeyboardRule.h"
#include "platform/ui/Shell.h"
#include "platform/ui/ValidateOnLeave.h"
#include "request/AddLines.h"
#include "request/FormLoad.h"
#include "request/Guarded.h"
#include "request/ItemEntry.h"
#include "request/LineChecks.h"
#include "request/LinesGrid.h"
#include "request/Listing.h"
#include "request/Loading.h"
#include "request/MainWindowChrome.h"
#include "request/Modes.h"
#include "request/Officers.h"
#include "request/Printing.h"
#include "request/Saving.h"
#include "request/Verification.h"
#include "session/DefaultLocationGuard.h"
#include "session/LocationEvents.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QKeyEvent>
#include <QTimer>

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::frmMain>())
{
    m_ui->setupUi(this);
    Ui::frmMain &ui = *m_ui;
    m_c.ui = m_ui.get();
    m_c.optOptions = {ui.optOptions_0, ui.optOptions_1, ui.optOptions_2, ui.optOptions_3,
                      ui.optOptions_4, nullptr,         ui.optOptions_6, ui.optOptions_7};
    m_c.Label1[0] = ui.Label1_0;
    m_c.Label1[1] = ui.Label1_1;
    m_c.Label1[2] = ui.Label1_2;
    m_c.Label1[3] = ui.Label1_3;
    m_c.Label1[4] = ui.Label1_4;
    m_c.Label1[5] = ui.Label1_5;
    m_c.Label1[6] = ui.Label1_6;
    m_c.Label1[13] = ui.Label1_13;
    m_c.Label1[23] = ui.Label1_23;
    m_c.optConsumed = {ui.optConsumed_0, ui.optConsumed_1};
    m_c.optRequestOrder = {ui.optRequestOrder_0, ui.optRequestOrder_1};

    // The in-cell quantity editor lives on the grid, hidden until a quantity cell is edited.
    m_c.txtEntry = new QLineEdit(ui.grdDetails->viewport());
    m_c.txtEntry->setObjectName(QStringLiteral("txtEntry"));
    m_c.txtEntry->hide();

    m_c.tmrRefresh = new QTimer(this);
    m_c.tmrRefresh->setObjectName(QStringLiteral("tmrRefresh"));
    m_c.tmrRefresh->setInterval(60000);
    m_c.tmrAcknowledge = new QTimer(this);
    m_c.tmrAcknowledge->setObjectName(QStringLiteral("tmrAcknowledge"));
    m_c.tmrAcknowledge->setInterval(60000);
    m_c.tmrBlinkAcknowledge = new QTimer(this);
    m_c.tmrBlinkAcknowledge->setObjectName(QStringLiteral("tmrBlinkAcknowledge"));
    m_c.tmrBlinkAcknowledge->setInterval(100);

    // The notice is drawn in its own light green.
    ui.cmdAcknowledge->setBackColor(QColor(0x80, 0xFF, 0x80));

    ui.grdListing->setFixedCols(1);
    ui.grdDetails->setFixedCols(0);
    ui.fgRO->setFixedCols(0);

    m_formLoad = std::make_unique<FormLoad>(*this);
    m_modes = std::make_unique<Modes>(*this);
    m_listing = std::make_unique<Listing>(*this);
    m_loading = std::make_unique<Loading>(*this);
    m_lines = std::make_unique<LinesGrid>(*this);
    m_entry = std::make_unique<ItemEntry>(*this);
    m_checks = std::make_unique<LineChecks>(*this, *m_entry, *m_lines);
    m_saving = std::make_unique<Saving>(*this);
    m_verification = std::make_unique<Verification>(*this);
    m_officers = std::make_unique<Officers>(*this);
    m_printing = std::make_unique<Printing>(*this);
    m_addLines = std::make_unique<AddLines>(*this);

    m_formLoad->ResetDetailsGrid();
    guarded([this] { m_formLoad->Form_Load(); });

    wireControls();
    wireValidation();
    wireEntry();
    wireSaving();
    wirePrinting();
    wireAddLines();
    ui::installKeyboardRule(this);
    m_c.tmrRefresh->start();
    new MainWindowChrome(*this);
}

frmMain::~frmMain() = default;

void frmMain::wireControls()
{
    Ui::frmMain &ui = *m_ui;
    const auto on = [this](auto *sender, auto signal, auto handler) {
        connect(sender, signal, this, [handler] { guarded(handler); });
    };

    on(ui.cmdNew, &QPushButton::clicked, [this] { cmdNew_Click(); });
    on(ui.cmdEdit, &QPushButton::clicked, [this] { cmdEdit_Click(); });
    on(ui.cmdCancel, &QPushButton::clicked, [this] { cmdCancel_Click(); });
    on(ui.cmdExit, &QPushButton::clicked, [this] { cmdExit_Click(); });
    on(ui.cmdList, &QPushButton::clicked, [this] { cmdList_Click(); });
    on(ui.cmdDetails, &QPushButton::clicked, [this] { cmdDetails_Click(); });
    on(ui.grdListing, &ui::FlexGrid::dblClick, [this] { grdListing_DblClick(); });
    on(m_c.tmrRefresh, &QTimer::timeout, [this] { tmrRefresh_Timer(); });
    on(m_c.tmrAcknowledge, &QTimer::timeout, [this] { tmrAcknowledge_Timer(); });
    on(m_c.tmrBlinkAcknowledge, &QTimer::timeout, [this] { tmrBlinkAcknowledge_Timer(); });
    on(ui.grdDetails, &ui::FlexGrid::rowColChange, [this] { UpdateLineCounter(); });

    // The tab switch knows the tab it comes from.
    connect(ui.SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = m_previousTab;
        m_previousTab = index;
        guarded([this, previous] { m_modes->SSTab1_Click(previous); });
    });
    m_previousTab = ui.SSTab1->currentIndex();

    for (int index : {0, 1, 2, 3, 4, 6, 7}) {
        connect(m_c.optOptions[static_cast<size_t>(index)], &QRadioButton::toggled, this,
                [this, index](bool checked) {
                    if (checked)
                        guarded([this, index] { m_listing->optOptions_Click(index); });
                });
    }
    for (int index : {0, 1}) {
        connect(m_c.optRequestOrder[static_cast<size_t>(index)], &QRadioButton::toggled, this,
                [this, index](bool checked) {
                    if (checked)
                        guarded([this, index] { m_listing->optRequestOrder_Click(index); });
                });
    }
    connect(m_c.optConsumed[0], &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            guarded([this] { LoadListing(); });
    });

    // Keys the form handles itself before the form-wide rule: the search box's Enter loads the
    // listing, Enter on a For Retail option goes to the Update button.
    for (QWidget *w :
         {static_cast<QWidget *>(ui.txtSearch), static_cast<QWidget *>(m_c.optConsumed[0]),
          static_cast<QWidget *>(m_c.optConsumed[1])}) {
        ui::setKeyboardRuleExempt(w);
        w->installEventFilter(this);
    }
    ui.Picture2->installEventFilter(this);

    ui::selectAllOnFocus(ui.txtProdCode);
    ui::selectAllOnFocus(ui.txtDocNum);
    ui::selectAllOnFocus(ui.txtWithdraw);
}

void frmMain::wireValidation()
{
    Ui::frmMain &ui = *m_ui;
    ui::setValidator(ui.cboLocation, [this](bool &cancel) { cancel = cboLocation_Validate(); });
    ui::setValidator(ui.cboTargetLocation,
                     [this](bool &cancel) { cancel = cboTargetLocation_Validate(); });
    ui::setValidator(ui.cboDepartment, [this](bool &cancel) {
        guarded([this] { cboDepartment_Validate(*m_ui->cboDepartment, *m_ui->cboSection); });
        cancel = false;
    });
    ui::setValidator(ui.cboSection, [this](bool &cancel) {
        guarded([this] { cboSection_Validate(*m_ui->cboSection); });
        cancel = false;
    });
    connect(ui.cboTargetLocation, &QComboBox::editTextChanged, this, [this] {
        if (isSite("TVH"))
            guarded([this] {
                cboTargetLocation_Change(*m_ui->cboTargetLocation, *m_ui->cboLocation,
                                         m_flags.TargetAllowsRetail);
            });
    });
    // Leaving the document or the program never waits for a location to be put right.
    for (QWidget *w : {static_cast<QWidget *>(ui.cmdCancel), static_cast<QWidget *>(ui.cmdExit),
                       static_cast<QWidget *>(ui.cmdList)})
        ui::setCausesValidation(w, false);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    Ui::frmMain &ui = *m_ui;
    if (watched == ui.Picture2 && event->type() == QEvent::MouseButtonDblClick) {
        guarded([] { ChangeDefaultLocation(); });
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;

    if (watched == m_c.optConsumed[0] || watched == m_c.optConsumed[1]) {
        if (!enter)
            return false;
        ui.cmdOK->setFocus();
        return true;
    }
    if (watched == ui.txtSearch) {
        if (enter) {
            // The focus stays in the box for the next search.
            guarded([this] { m_listing->txtSearch_KeyPress(13); });
            return true;
        }
        // The form-wide rule for typed text: no quotes, upper case.
        const QString text = key->text();
        if (text == QLatin1String("'"))
            return true;
        if (!text.isEmpty() && text != text.toUpper() && text.at(0).isPrint()) {
            ui.txtSearch->insert(text.toUpper());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::ClearAll()
{
    m_formLoad->ClearAll();
}

void frmMain::LoadRights()
{
    m_formLoad->LoadRights();
}

void frmMain::LoadLocationLists()
{
    m_formLoad->LoadLocationLists();
}

void frmMain::SetRetailOption(int mode)
{
    m_formLoad->SetRetailOption(mode);
}

void frmMain::InitRequestOrderGrid(bool clear)
{
    m_lines->InitRequestOrderGrid(clear);
}

void frmMain::LoadRequest()
{
    m_loading->LoadRequest();
}

void frmMain::LoadListing()
{
    m_listing->LoadListing();
}

bool frmMain::HasDocumentsToAcknowledge()
{
    return m_listing->HasDocumentsToAcknowledge();
}

void frmMain::LockLocations()
{
    m_lines->LockLocations();
}

void frmMain::UpdateGrandTotal()
{
    m_lines->UpdateGrandTotal();
}

void frmMain::UpdateLineCounter()
{
    m_lines->UpdateLineCounter();
}

void frmMain::UpdateROTotal()
{
    m_lines->UpdateROTotal();
}

void frmMain::cmdNew_Click()
{
    m_modes->cmdNew_Click();
}

void frmMain::cmdEdit_Click()
{
    m_modes->cmdEdit_Click();
}

void frmMain::cmdCancel_Click()
{
    m_modes->cmdCancel_Click();
}

void frmMain::cmdExit_Click()
{
    m_modes->cmdExit_Click();
}

void frmMain::cmdList_Click()
{
    m_listing->cmdList_Click();
}

void frmMain::cmdDetails_Click()
{
    m_lines->cmdDetails_Click();
}

void frmMain::grdListing_DblClick()
{
    m_listing->grdListing_DblClick();
}

void frmMain::tmrRefresh_Timer()
{
    m_listing->tmrRefresh_Timer();
}

void frmMain::tmrAcknowledge_Timer()
{
    m_listing->tmrAcknowledge_Timer();
}

void frmMain::tmrBlinkAcknowledge_Timer()
{
    m_listing->tmrBlinkAcknowledge_Timer();
}

bool frmMain::cboLocation_Validate()
{
    return guarded([this] { return ::cboLocation_Validate(*m_ui->cboLocation); }, false);
}

bool frmMain::cboTargetLocation_Validate()
{
    return guarded(
        [this] {
            return ::cboTargetLocation_Validate(*m_ui->cboTargetLocation, *m_ui->cboLocation,
                                                m_flags.TargetAllowsRetail, m_c.optConsumed[0],
                                                m_c.optConsumed[1], [this] { SetRetailOption(0); });
        },
        false);
}

void frmMain::wirePrinting()
{
    Ui::frmMain &ui = *m_ui;
    connect(ui.cmdView, &QPushButton::clicked, this,
            [this] { guarded([this] { cmdView_Click(); }); });
    connect(ui.cmdAcknowledge, &QPushButton::clicked, this,
            [this] { guarded([this] { cmdAcknowledge_Click(); }); });
    connect(ui.mnuIssuedReports, &QAction::triggered, this,
            [this] { guarded([this] { mnuIssuedReports_Click(); }); });
}

void frmMain::cmdView_Click()
{
    m_printing->cmdView_Click();
}

void frmMain::cmdAcknowledge_Click()
{
    m_printing->cmdAcknowledge_Click();
}

void frmMain::mnuIssuedReports_Click()
{
    m_printing->mnuIssuedReports_Click();
}

void frmMain::wireSaving()
{
    Ui::frmMain &ui = *m_ui;
    const auto on = [this](auto *sender, auto signal, auto handler) {
        connect(sender, signal, this, [handler] { guarded(handler); });
    };
    on(ui.cmdSave, &QPushButton::clicked, [this] { cmdSave_Click(); });
    on(ui.cmdVerify, &QPushButton::clicked, [this] { cmdVerify_Click(); });
    on(ui.cmdVerified, &QPushButton::clicked, [this] { cmdVerified_Click(); });
    on(ui.chkverified, &QCheckBox::clicked, [this] { chkverified_Click(); });
    on(ui.cmdDeleteReq, &QPushButton::clicked, [this] { cmdDeleteReq_Click(); });
    on(ui.cmdOfficer, &QPushButton::clicked, [this] { cmdOfficer_Click(); });
    on(ui.cmdReq, &QPushButton::clicked, [this] { cmdReq_Click(); });
    m_officers->installKeyHandlers();
}

void frmMain::cmdSave_Click()
{
    m_saving->cmdSave_Click();
}

bool frmMain::SaveRequest()
{
    return m_saving->SaveRequest();
}

bool frmMain::IsListEmpty()
{
    return m_saving->IsListEmpty();
}

bool frmMain::AllQuantitiesFilled()
{
    return m_saving->AllQuantitiesFilled();
}

void frmMain::cmdVerify_Click()
{
    m_verification->cmdVerify_Click();
}

void frmMain::cmdVerified_Click()
{
    m_verification->cmdVerified_Click();
}

void frmMain::chkverified_Click()
{
    m_verification->chkverified_Click();
}

void frmMain::cmdDeleteReq_Click()
{
    m_verification->cmdDeleteReq_Click();
}

void frmMain::cmdOfficer_Click()
{
    m_officers->cmdOfficer_Click();
}

void frmMain::cmdReq_Click()
{
    m_officers->cmdReq_Click();
}

void frmMain::wireEntry()
{
    Ui::frmMain &ui = *m_ui;
    const auto on = [this](auto *sender, auto signal, auto handler) {
        connect(sender, signal, this, [handler] { guarded(handler); });
    };
    // Leaving the code field resolves it; Enter leaves it through the keyboard rule.
    ui::setValidator(ui.txtProdCode, [this](bool &cancel) {
        guarded([this, &cancel] { m_entry->txtProdCode_Validate(cancel); });
    });
    ui::setValidator(ui.txtWithdraw, [this](bool &cancel) {
        guarded([this, &cancel] { m_entry->txtWithdraw_Validate(cancel); });
    });
    ui::setValidator(ui.txtUnitCost, [this](bool &cancel) {
        guarded([this, &cancel] { m_entry->txtUnitCost_Validate(cancel); });
    });
    on(ui.txtWithdraw, &QLineEdit::textChanged, [this] { m_entry->txtWithdraw_Change(); });
    on(ui.txtUnitCost, &QLineEdit::textChanged, [this] { m_entry->txtUnitCost_Change(); });
    on(ui.cmdOK, &QPushButton::clicked, [this] { cmdOK_Click(); });
    // The "..." button opens the lookup for the typed text itself: it takes no focus, so the
    // code field is not resolved first, and Tab goes from the code on to the name.
    ui.cmdCode->setFocusPolicy(Qt::NoFocus);
    on(ui.cmdCode, &QPushButton::clicked, [this] { m_entry->cmdCode_Click(); });
    m_entry->installHooks();

    on(ui.cmdDelete, &QPushButton::clicked, [this] { cmdDelete_Click(); });
    on(ui.cmdRemoveRO, &QPushButton::clicked, [this] { m_lines->cmdRemoveRO_Click(); });
    connect(ui.grdDetails, &ui::FlexGrid::keyPressed, this,
            [this](int key, Qt::KeyboardModifiers modifiers, bool *handled) {
                guarded([&] { m_lines->grdDetails_KeyDown(key, modifiers.toInt(), handled); });
            });
    on(ui.grdDetails, &ui::FlexGrid::cellClicked, [this] { m_lines->grdDetails_Click(); });
    on(ui.grdDetails, &ui::FlexGrid::rowColChange, [this] { m_lines->grdDetails_RowColChange(); });
    on(ui.fgRO, &ui::FlexGrid::cellClicked, [this] { m_lines->fgRO_Click(); });
    on(ui.fgRO, &ui::FlexGrid::rowColChange, [this] {
        if (m_ui->fgRO->hasFocus())
            m_lines->fgRO_Click();
    });
    m_lines->installHooks();
}

void frmMain::ShowItemDetails()
{
    m_entry->ShowItemDetails();
}

void frmMain::LoadPPMP(const QString &ItemCode)
{
    m_entry->LoadPPMP(ItemCode);
}

void frmMain::LoadBlockedQty()
{
    m_entry->LoadBlockedQty();
}

bool frmMain::IsItemPending()
{
    return m_entry->IsItemPending();
}

void frmMain::LoadLineToEntry(bool FromRequestOrder)
{
    m_lines->LoadLineToEntry(FromRequestOrder);
}

void frmMain::grdDetailsToText()
{
    m_lines->grdDetailsToText();
}

void frmMain::cmdOK_Click()
{
    m_checks->cmdOK_Click();
}

void frmMain::cmdDelete_Click()
{
    m_lines->cmdDelete_Click();
}

void frmMain::wireAddLines()
{
    connect(m_ui->cmdAdd, &QPushButton::clicked, this,
            [this] { guarded([this] { cmdAdd_Click(); }); });
    connect(m_ui->cmdAddFromPrevious, &QPushButton::clicked, this,
            [this] { guarded([this] { cmdAddFromPrevious_Click(); }); });
}

void frmMain::cmdAdd_Click()
{
    m_addLines->cmdAdd_Click();
}

void frmMain::cmdAddFromPrevious_Click()
{
    m_addLines->cmdAddFromPrevious_Click();
}

LinesGrid &frmMain::linesGrid()
{
    return *m_lines;
}
