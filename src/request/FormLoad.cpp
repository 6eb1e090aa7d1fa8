#include "request/FormLoad.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/user/CurrentUser.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QTimer>

FormLoad::FormLoad(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

void FormLoad::Form_Load()
{
    Ui::frmMain &ui = *m_c.ui;
    const bool zrwb = isSite("ZRWB");

    // 1. The header: the department, section and officer fields belong to ZRWB; every other
    // site has the shorter header with the justification beside the locations.
    if (zrwb) {
        m_c.Label1[3]->setText(QStringLiteral("Location From"));
        ui.Label2->setText(QStringLiteral("Location you're from"));
        ui.Label3->setText(QStringLiteral("(Location you're requesting to)"));
        m_c.Label1[2]->setText(QStringLiteral("PURPOSE:"));
        for (QWidget *w :
             {static_cast<QWidget *>(ui.lblDept), static_cast<QWidget *>(ui.lblSect),
              static_cast<QWidget *>(ui.lblApprove), static_cast<QWidget *>(ui.cboDepartment),
              static_cast<QWidget *>(ui.cboSection), static_cast<QWidget *>(ui.txtOfficer),
              static_cast<QWidget *>(ui.cmdOfficer), static_cast<QWidget *>(ui.lblOfficer),
              static_cast<QWidget *>(ui.lblReq), static_cast<QWidget *>(ui.txtReqID),
              static_cast<QWidget *>(ui.lblReqName), static_cast<QWidget *>(ui.cmdReq),
              static_cast<QWidget *>(ui.cmdAddFromPrevious),
              static_cast<QWidget *>(m_c.optOptions[4])})
            w->setVisible(true);
        ui.mnuReports->menuAction()->setVisible(false);
    } else {
        ui.Frame6->setFixedHeight(ui::twipsToPixels(1380));
        m_c.Label1[2]->move(ui::twipsToPixels(5175), ui::twipsToPixels(330));
        ui.txtRemarks->setGeometry(ui::twipsToPixels(5175), ui::twipsToPixels(555),
                                   ui::twipsToPixels(5205), ui.txtRemarks->height());
    }

    // 2. The header frame sits at the top of its tab (its place in the tab's layout).

    // 3.
    ui.frameLegend->setVisible(GetInvSwitch(QStringLiteral("91")));

    // 4. Lines typed directly into the grid: the entry and detail frames give their room to it.
    if (GetInvSwitch(QStringLiteral("92"))) {
        ui.frameEntry->setVisible(false);
        ui.frameDetails->setVisible(false);
        if (zrwb)
            ui.grdDetails->setFixedHeight(ui::twipsToPixels(4980));
    }

    // 5.
    if (GetInvSwitch(QStringLiteral("93"))) {
        m_c.Label1[23]->setVisible(true);
        ui.txtBlockedQty->setVisible(true);
        m_c.tmrAcknowledge->start();
    }

    // 6.
    if (isSite("YXOPL"))
        ui.cboTargetLocation->setEnabled(false);

    // 7.
    if (Session.ClientName.isEmpty() || zrwb) {
        m_c.optOptions[2]->setVisible(false);
        m_c.optOptions[3]->setVisible(false);
        m_c.optOptions[1]->setText(QStringLiteral("Processed"));
    }

    // 8. Request orders.
    if (isSite("Q4VH")) {
        m_c.Label1[0]->setVisible(true);
        ui.txtPPMP->setVisible(true);
        ui.frameSTRO->setVisible(true);
        ui.lblType->setVisible(true);
        m_c.optRequestOrder[0]->setVisible(true);
        m_c.optRequestOrder[1]->setVisible(true);
        m_form.InitRequestOrderGrid(true);
    }

    // 9.-11.
    LoadLocationLists();
    setTransDate(ui.txtTransDate, Session.CurDate);
    m_form.LoadListing();

    // 12.
    ui.SSTab1->setCurrentIndex(0);
    ui.cboTargetLocation->setEnabled(false);
    ui.cboLocation->setEnabled(false);

    // 13.
    LoadRights();

    // 14.-16.
    if (isSite("DVN")) {
        ui.chkPrint->setVisible(true);
        ui.cmdView->setText(QStringLiteral("Print"));
    }
    if (isSite("UVTKQO")) {
        m_form.setWindowTitle(QStringLiteral("Visual Halvex - Stock Request"));
    } else if (isSite("DVN")) {
        m_c.Label1[13]->setText(QStringLiteral("For :"));
        m_c.optConsumed[0]->setText(QStringLiteral("Retail"));
        m_c.optConsumed[0]->move(ui::twipsToPixels(2970), m_c.optConsumed[0]->y());
        m_c.optConsumed[1]->setText(QStringLiteral("Consumption"));
        m_c.optConsumed[1]->move(ui::twipsToPixels(3840), m_c.optConsumed[1]->y());
    }
    if (isSite("XQ")) {
        for (QWidget *w : {static_cast<QWidget *>(ui.lblMin), static_cast<QWidget *>(ui.lblMax),
                           static_cast<QWidget *>(ui.txtMin), static_cast<QWidget *>(ui.txtMax)})
            w->setVisible(true);
    }

    // 17.-18.
    SetRetailOption(1);
    if (Session.CurrentUser)
        ui.lblServer->setText(ui.lblServer->text() + QLatin1Char(' ')
                              + Session.CurrentUser->ServerName());

    // 19.-20.
    if (GetInvSwitch(QStringLiteral("93")))
        m_form.tmrAcknowledge_Timer();
    if (isSite("TKRL"))
        m_c.optOptions[2]->setText(QStringLiteral("Issued"));
}

void FormLoad::LoadRights()
{
    db::Recordset rs
        = sqlconnection().query(QStringLiteral("Select * from Inventory..tbInvUserSettings Where "
                                               "UserID = '")
                                + db::quoteInner(Employeecode()) + QLatin1Char('\''));
    if (rs.eof())
        return;
    m_flags.CanVerify = isTrueValue(rs.field(QStringLiteral("isVerifyInventoryRequest")));
    if (isSite("ZRWB"))
        Session.ConsolidateIR
            = isTrueValue(IfNull(rs.field(QStringLiteral("isConsolidateIR")), false));
    m_c.ui->cmdVerify->setVisible(m_flags.CanVerify);
}

void FormLoad::LoadLocationLists()
{
    Ui::frmMain &ui = *m_c.ui;
    if (isSite("JFX"))
        LoadSpecificLocation(*ui.cboLocation, QStringLiteral("('18','19','20')"));
    else if (isSite("ZRWB"))
        LoadLocation(*ui.cboLocation, true, false, true, false, false);
    else
        LoadSpecificLocation(*ui.cboLocation, QStringLiteral("('21','119','20')"));
    LoadLocation(*ui.cboTargetLocation, false, true, false, false, true);
}

void FormLoad::SetRetailOption(int mode)
{
    if (GetPharmaSwitch(QStringLiteral("3"))) {
        m_c.optConsumed[1]->setChecked(true);
        m_c.optConsumed[0]->setEnabled(false);
    }
    if (isSite("JFX")) {
        m_c.optConsumed[0]->setChecked(true);
        m_c.optConsumed[1]->setEnabled(false);
    }
    if (mode == 1 && !m_flags.IsNewDocument && GetPharmaSwitch(QStringLiteral("4")))
        m_c.ui->cboLocation->setEnabled(false);
}

void FormLoad::ClearAll()
{
    Ui::frmMain &ui = *m_c.ui;
    for (QLineEdit *box :
         {ui.txtProdCode, ui.txtProdName, ui.txtWithdraw, ui.txtUnitCost, ui.txtAverageCost,
          ui.txtTotalCost, ui.txtPacking, ui.txtOnhand, ui.Text2, ui.txtListCost, ui.txtUOM,
          ui.txtPPMP, ui.txtOfficer, ui.txtReqID, ui.txtLotNumber})
        box->clear();
    ui.txtRemarks->clear();
    ui.cboDepartment->setText(QString());
    ui.cboSection->setText(QString());
    ui.lblOfficer->clear();
    ui.lblReqName->clear();

    ui.cboLocation->setEnabled(true);
    if (!isSite("YXOPL"))
        ui.cboTargetLocation->setEnabled(true);

    ResetDetailsGrid();
}

void FormLoad::ResetDetailsGrid()
{
    ui::FlexGrid &grid = *m_c.ui->grdDetails;
    grid.Clear();
    grid.setRows(2);
    grid.setCols(10);
    grid.setFormatString(QStringLiteral("Code |< Product Name & Description |<UOM      |Quantity | "
                                        "Unit Cost| Total Cost| Retail?|<isADS    "));
    const int widths[] = {800, 4500, isSite("ZRWB") ? 800 : 0, 1000, 1000, 1000, 700, 0};
    for (int col = 0; col < 8; ++col)
        grid.setColWidth(col, widths[col]);
    if (GetInvSwitch(QStringLiteral("92"))) {
        grid.setTextMatrix(0, DetailsCol::OnHand, QStringLiteral("OnHand"));
        grid.setColWidth(DetailsCol::OnHand, 800);
    } else {
        grid.setColWidth(DetailsCol::OnHand, 0);
    }
    if (GetInvSwitch(QStringLiteral("91"))) {
        grid.setTextMatrix(0, DetailsCol::LotNumber, QStringLiteral("Lotnumber"));
        grid.setColWidth(DetailsCol::LotNumber, 1000);
    } else {
        grid.setColWidth(DetailsCol::LotNumber, 0);
    }
    grid.setRow(1);
}
