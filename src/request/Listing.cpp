#include "request/Listing.h"

#include "platform/db/Connection.h"
#include "platform/ui/BlinkButton.h"
#include "platform/ui/FlexGrid.h"
#include "request/FormHelpers.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "ui_frmMain.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>

namespace {

// The light green of the acknowledgement notice and the white it blinks with.
const QColor kAcknowledgeGreen(0x80, 0xFF, 0x80);
const QColor kWhite(0xFF, 0xFF, 0xFF);
// A return in the listing: its first cell is pink.
const QColor kReturnPink(0xFF, 0xC0, 0xFF);

// The hourglass while the listing is read.
class WaitCursor final
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QString userLocations(const QString &employeeCode)
{
    return QStringLiteral(" where a.TargetLocationID in (select locationid from "
                          "INVENTORY..tbinvUserLocation where UserID = '")
        + db::quoteInner(employeeCode) + QStringLiteral("')");
}

QString lotColumn(bool lotNumbers)
{
    return lotNumbers ? QStringLiteral(" , isnull(isRequest,1) as isRequest ") : QString();
}

QString requestOrderStatement(const ListingFilter &f)
{
    QString sql = QStringLiteral("Select distinct A.DocumentNumber , B.Location ,")
        + QStringLiteral(" C.Location,a.transdate ,")
        + QStringLiteral(" (Select Top 1 LastName + ', ' + FirstName From "
                         "Password..tbPasswordMain Where EmployeeID = A.UserID), ")
        + QStringLiteral(" A.targetlocationid,A.UserID ");
    sql += lotColumn(f.lotNumbers);
    sql += QStringLiteral(" from INVENTORY..tbinvRequestOrder A ")
        + QStringLiteral(" Left Outer Join INVENTORY..tbinvlocation B")
        + QStringLiteral(" On A.TargetLocationID = B.LocationID")
        + QStringLiteral(" Left Outer Join INVENTORY..tbinvLocation C")
        + QStringLiteral(" On A.LocationId = C.LocationID") + userLocations(f.employeeCode)
        + QStringLiteral("  and  ");
    if (f.option == 7)
        sql += QStringLiteral(" isnull(A.Status,'') = '' ");
    else if (f.option == 6)
        sql += QStringLiteral(" A.Status = 'P' ");
    sql += f.verified ? QStringLiteral("  and isnull(a.verifiedby,'') <> '' Order By a.Transdate ")
                      : QStringLiteral(" and isnull(a.verifiedby,'') = '' Order By a.Transdate ");
    return sql;
}

QString withdrawalStatement(const ListingFilter &f)
{
    const bool consolidation = f.option == 4;
    const QString table = consolidation ? QStringLiteral("tbinvwithdrawrequestConsolidation")
                                        : QStringLiteral("tbinvwithdrawrequest");
    QString sql = QStringLiteral("Select distinct A.DocumentNumber , B.Location ,")
        + QStringLiteral(" C.Location ,A.TransDate ,")
        + QStringLiteral(" (Select Top 1 LastName + ', ' + FirstName From "
                         "Password..tbPasswordMain Where EmployeeID = A.UserID)")
        + QStringLiteral(" ,A.targetlocationid,A.Userid ");
    sql += lotColumn(f.lotNumbers);
    sql += QStringLiteral(" from INVENTORY..") + table + QStringLiteral(" A ")
        + QStringLiteral(" Left Outer Join INVENTORY..tbinvlocation B")
        + QStringLiteral(" On A.TargetLocationID = B.LocationID")
        + QStringLiteral(" Left Outer Join INVENTORY..tbinvLocation C")
        + QStringLiteral(" On A.LocationId = C.LocationID") + userLocations(f.employeeCode)
        + QStringLiteral("   ");
    switch (f.option) {
    case 0:
        sql += QStringLiteral(" and isnull(A.Status,'') = '' ");
        break;
    case 1:
        sql += QStringLiteral(" and A.Status = 'P' ");
        break;
    case 2:
        sql += QStringLiteral(" and A.Status = 'A' ");
        break;
    case 3:
        sql += QStringLiteral(" and A.Status = 'C' ");
        break;
    default:
        break; // consolidation requests of any status
    }
    sql += f.verified ? QStringLiteral(" and isnull(verifiedby,'') <> ''  ")
                      : QStringLiteral(" and isnull(verifiedby,'') = ''  ");
    const QString pattern = f.search.isEmpty() ? QStringLiteral("%") : trimBlanks(f.search);
    sql += QStringLiteral(" and a.documentnumber like '") + db::quoteInner(pattern)
        + QLatin1Char('\'');
    if (consolidation)
        sql += QStringLiteral(" and (A.transdate >= dateadd(d,-7,cast(dateadd(d,(datepart(d,"
                              "getdate()) -1) * -1,getdate()) as date)) ")
            + QStringLiteral(" and A.transdate < dateadd(month,1,cast(dateadd(d,(datepart(d,"
                             "getdate()) -1) * -1,getdate()) as date)) ) ");
    sql += QStringLiteral(" Order By Transdate ");
    if (f.newestFirst)
        sql += QStringLiteral(" desc ");
    return sql;
}

} // namespace

QString ListingStatement(const ListingFilter &filter)
{
    return filter.requestOrders ? requestOrderStatement(filter) : withdrawalStatement(filter);
}

Listing::Listing(frmMain &form)
    : m_form(form)
    , m_c(form.controls())
    , m_flags(form.flags())
{ }

ListingFilter Listing::currentFilter() const
{
    ListingFilter f;
    f.employeeCode = Employeecode();
    f.requestOrders = isSite("Q4VH") && m_c.optRequestOrder[1]->isChecked();
    f.lotNumbers = GetInvSwitch(QStringLiteral("91"));
    if (f.requestOrders) {
        f.option = m_c.optOptions[7]->isChecked() ? 7 : (m_c.optOptions[6]->isChecked() ? 6 : -1);
    } else {
        f.option = 4;
        for (int index : {0, 1, 2, 3}) {
            if (m_c.optOptions[static_cast<size_t>(index)]->isChecked()) {
                f.option = index;
                break;
            }
        }
        if (f.option == 4 && !m_c.optOptions[4]->isChecked())
            f.option = -1;
    }
    f.verified = m_c.ui->chkverified->isChecked();
    f.search = m_c.ui->txtSearch->text();
    f.newestFirst = isSite("MKWV");
    return f;
}

void Listing::LoadListing()
{
    const WaitCursor wait;
    const ListingFilter filter = currentFilter();
    ui::FlexGrid &grid = *m_c.ui->grdListing;

    db::Recordset rs = sqlconnection().query(ListingStatement(filter));
    const bool any = !(rs.eof() && rs.bof());
    grid.setEnabled(any);
    if (any) {
        grid.bind(rs);
        grid.setColWidth(6, 0);
        grid.setColWidth(7, 0);
        if (filter.lotNumbers)
            grid.setColWidth(8, 0);
    } else {
        grid.unbind();
        grid.Clear();
    }
    grid.setNotice(any ? QString() : QStringLiteral("No documents found."));

    if (filter.lotNumbers) {
        // Returns are marked pink in the first column.
        const QColor window = grid.palette().color(QPalette::Base);
        const int last = grid.Cols() - 1;
        for (int row = 1; row < grid.Rows(); ++row) {
            const QString kind = grid.TextMatrix(row, last);
            const bool isReturn = kind == QLatin1String("False") || kind == QLatin1String("0");
            grid.setCellBackColor(row, 0, isReturn ? kReturnPink : window);
        }
    }
    if (any)
        grid.setRow(1);

    grid.setFormatString(QStringLiteral("   |<Doc #     |Request From                    |To    "
                                        "                                    |Date              "
                                        "       |Requested By         "));
    if (any) {
        // The key columns stay out of sight whatever the format string did to the shape.
        grid.setColWidth(6, 0);
        grid.setColWidth(7, 0);
        if (filter.lotNumbers)
            grid.setColWidth(8, 0);
    }
}

bool Listing::HasDocumentsToAcknowledge()
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral(" select top 1 * from inventory..tbinvwithdrawheader a ")
        + QStringLiteral(" where a.status = 'F' and ")
        + QStringLiteral(" a.targetlocationid in (select Locationid from "
                         "inventory..tbinvuserlocation ")
        + QStringLiteral(" where userid = '") + db::quoteInner(Employeecode())
        + QStringLiteral("')"));
    return !rs.eof();
}

void Listing::optOptions_Click(int index)
{
    Q_UNUSED(index)
    QCheckBox &verified = *m_c.ui->chkverified;
    if (!m_c.optRequestOrder[1]->isChecked()) {
        if (m_c.optOptions[0]->isChecked() || m_c.optOptions[4]->isChecked()) {
            verified.setEnabled(true);
        } else {
            // Documents taken up by the supplier are listed among the verified ones only.
            verified.setEnabled(false);
            verified.setChecked(true);
        }
    } else if (m_c.optOptions[7]->isChecked()) {
        verified.setEnabled(true);
    } else if (m_c.optOptions[6]->isChecked()) {
        verified.setEnabled(false);
        verified.setChecked(true);
    }
    LoadListing();
}

void Listing::optRequestOrder_Click(int index)
{
    LoadListing();
    Ui::frmMain &ui = *m_c.ui;
    if (index == 1) {
        ui.lblType->setText(QStringLiteral("Request Orders"));
        ui.frameROStatus->setVisible(true);
        ui.fPending->setVisible(false);
    } else {
        ui.lblType->setText(QStringLiteral("Stock Transfers"));
        ui.frameROStatus->setVisible(false);
        ui.fPending->setVisible(true);
    }
}

void Listing::txtSearch_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        LoadListing();
}

void Listing::tmrRefresh_Timer()
{
    // The user's place survives the refresh: the document he had chosen stays current, and the
    // rows he was looking at stay in view, as long as the document is still listed.
    ui::FlexGrid &grid = *m_c.ui->grdListing;
    const bool hadRows = grid.isEnabled() && grid.Rows() > 1;
    const QString chosen = hadRows ? grid.TextMatrix(grid.Row(), 1) : QString();
    const int top = grid.TopRow();
    LoadListing();
    if (chosen.isEmpty() || !grid.isEnabled())
        return;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, 1) == chosen) {
            grid.setRow(row);
            grid.setTopRow(std::clamp(top, 1, grid.Rows() - 1));
            return;
        }
    }
}

void Listing::grdListing_DblClick()
{
    const ui::FlexGrid &grid = *m_c.ui->grdListing;
    if (!grid.isEnabled())
        return;
    m_flags.IsConsolidation = m_c.optOptions[4]->isChecked();
    if (m_c.ui->chkverified->isChecked())
        return; // verified documents are not opened from the listing
    const int row = grid.Row();
    if (IsUserAuthorized(Employeecode(), grid.TextMatrix(row, 6), grid.TextMatrix(row, 7)))
        m_form.cmdEdit_Click();
}

void Listing::cmdList_Click()
{
    Ui::frmMain &ui = *m_c.ui;
    if (ui.SSTab1->currentIndex() == 0)
        return;
    m_form.cmdCancel_Click();
    ui.cmdEdit->setEnabled(true);
    ui.cmdDeleteReq->setEnabled(true);
    ui.cmdView->setEnabled(true);
}

void Listing::tmrAcknowledge_Timer()
{
    const bool waiting = HasDocumentsToAcknowledge();
    m_c.ui->cmdAcknowledge->setVisible(waiting);
    // Nobody sees a blink while the window is hidden or minimised; it resumes when shown.
    if (waiting && m_form.isVisible() && !m_form.isMinimized())
        m_c.tmrBlinkAcknowledge->start();
    else
        m_c.tmrBlinkAcknowledge->stop();
}

void Listing::tmrBlinkAcknowledge_Timer()
{
    ui::BlinkButton &button = *m_c.ui->cmdAcknowledge;
    const QColor color = button.BackColor();
    if (color == kAcknowledgeGreen)
        button.setBackColor(kWhite);
    else if (color == kWhite)
        button.setBackColor(kAcknowledgeGreen);
}
