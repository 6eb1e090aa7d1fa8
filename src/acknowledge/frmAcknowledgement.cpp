#include "acknowledge/frmAcknowledgement.h"

#include "platform/format/Format.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Prompt.h"
#include "request/Guarded.h"
#include "session/Inventory.h"
#include "session/Reports.h"
#include "session/Session.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kListFormat = QStringLiteral(
    "   |<MRIS #                |<Transaction Date    |<Source Location                       "
    "      |<Target Location                             ");
const QString kDetailsFormat = QStringLiteral(
    "    |<Code         |<Product Name                                                         "
    "                     |<UOM     |<Quantity");

QString withoutQuotes(QString text)
{
    return text.remove(QLatin1Char('\''));
}

} // namespace

frmAcknowledgement::frmAcknowledgement(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAcknowledgement"));
    setWindowTitle(QStringLiteral("Acknowledgement"));
    resize(860, 560);

    Label1 = new QLabel(QStringLiteral("MRIS #:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    Label1->setBuddy(txtSearch);
    grdMRIS = new ui::FlexGrid(this);
    grdMRIS->setObjectName(QStringLiteral("grdMRIS"));
    grdMRIS->setFixedCols(1);
    grdMRIS->setFormatString(kListFormat);
    Label2 = new QLabel(QStringLiteral("MRIS Details"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    grdDetails = new ui::FlexGrid(this);
    grdDetails->setObjectName(QStringLiteral("grdDetails"));
    grdDetails->setFixedCols(1);
    grdDetails->setFormatString(kDetailsFormat);
    cmdAcknowledge = new QPushButton(QStringLiteral("Acknowledge"), this);
    cmdAcknowledge->setObjectName(QStringLiteral("cmdAcknowledge"));
    cmdPrint = new QPushButton(QStringLiteral("Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdCancel = new QPushButton(QStringLiteral("CANCEL"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *layout = new QGridLayout(this);
    auto *search = new QHBoxLayout;
    search->addWidget(Label1);
    search->addWidget(txtSearch, 1);
    layout->addLayout(search, 0, 0);
    layout->addWidget(grdMRIS, 1, 0);
    layout->addWidget(Label2, 2, 0);
    layout->addWidget(grdDetails, 3, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAcknowledge);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 4, 0);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(3, 1);

    connect(txtSearch, &QLineEdit::textChanged, this,
            [this] { guarded([this] { txtSearch_Change(); }); });
    connect(grdMRIS, &ui::FlexGrid::enterCell, this, [this] {
        if (!m_loadingList)
            guarded([this] { grdMRIS_EnterCell(); });
    });
    connect(cmdAcknowledge, &QPushButton::clicked, this,
            [this] { guarded([this] { cmdAcknowledge_Click(); }); });
    connect(cmdPrint, &QPushButton::clicked, this,
            [this] { guarded([this] { cmdPrint_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmAcknowledgement::cmdCancel_Click);
}

frmAcknowledgement::~frmAcknowledgement() = default;

void frmAcknowledgement::Form_Load()
{
    LoadMRISList();
}

void frmAcknowledgement::LoadMRISList()
{
    const QString sql = QStringLiteral(" select a.TransNum,a.TransDate,b.Location as [Source "
                                       "Location], ")
        + QStringLiteral(" c.Location as [Target Location],a.RecordNumber,a.targetlocationid  ")
        + QStringLiteral(" from inventory..tbinvwithdrawheader a  ")
        + QStringLiteral(" left join inventory..tbInvLocation b on a.locationid = b.locationid  ")
        + QStringLiteral(" left join inventory..tbInvLocation c on a.TargetLocationId = "
                         "c.LocationID  ")
        + QStringLiteral(" where a.status = 'F'  ")
        + QStringLiteral(" and a.targetlocationid in (select Locationid from "
                         "inventory..tbinvuserlocation where userid = '")
        + db::quoteInner(Employeecode()) + QStringLiteral("')  ")
        + QStringLiteral(" and a.transnum like '%")
        + db::quoteInner(withoutQuotes(txtSearch->text())) + QStringLiteral("%'")
        + QStringLiteral(" order by a.TransNum,a.TransDate  ");
    const db::Recordset rs = sqlconnection().query(sql);

    m_loadingList = true;
    if (rs.recordCount() == 0) {
        grdMRIS->unbind();
        grdMRIS->setRows(grdMRIS->FixedRows() + 1);
        m_loadingList = false;
    } else {
        grdMRIS->bind(rs);
        grdMRIS->setRow(1);
        m_loadingList = false;
        LoadMRISDetails();
    }
    grdMRIS->setFormatString(kListFormat);
    grdMRIS->setColWidth(grdMRIS->Cols() - 1, 0);
    grdMRIS->setColWidth(grdMRIS->Cols() - 2, 0);
}

void frmAcknowledgement::LoadMRISDetails()
{
    const int r = grdMRIS->Row();
    const QString recordNumber = grdMRIS->TextMatrix(r, grdMRIS->Cols() - 2);
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral(" select a.ItemID, ISNULL(b.ItemName,'') + ' ' + ISNULL(b.ItemDesc,''), ")
        + QStringLiteral(" c.UnitOfMeasure , a.Quantity ")
        + QStringLiteral(" from inventory..tbInvWithdrawDetails a ")
        + QStringLiteral(" left join inventory..tbInvMaster b on a.itemid = b.itemid ")
        + QStringLiteral(" left join inventory..tbInvUnitOfMeasure c on b.unitofmeasureid = "
                         "c.unitofmeasureid ")
        + QStringLiteral(" where  a.recordnumber = '") + db::quoteInner(recordNumber)
        + QStringLiteral("' "));
    if (rs.recordCount() == 0) {
        grdDetails->unbind();
        grdDetails->setRows(grdDetails->FixedRows() + 1);
    } else {
        grdDetails->bind(rs);
    }
    grdDetails->setFormatString(kDetailsFormat);
}

bool frmAcknowledgement::IsMRISAcknowledged(const QString &RecordNumber)
{
    const db::Recordset rs
        = sqlconnection().query(QStringLiteral(" Select isnull(status,'') as Status  ")
                                + QStringLiteral(" from inventory..tbinvwithdrawheader  ")
                                + QStringLiteral(" where recordnumber = '")
                                + db::quoteInner(RecordNumber) + QStringLiteral("' "));
    return !rs.eof() && rs.text(QStringLiteral("Status")) == QLatin1String("P");
}

void frmAcknowledgement::txtSearch_Change()
{
    LoadMRISList();
}

void frmAcknowledgement::grdMRIS_EnterCell()
{
    LoadMRISDetails();
}

void frmAcknowledgement::cmdAcknowledge_Click()
{
    const int r = grdMRIS->Row();
    const QString recordNumber = grdMRIS->TextMatrix(r, grdMRIS->Cols() - 2);
    if (recordNumber.isEmpty())
        return;

    QString transNum;
    bool answered = false;
    // The conversions, the posting and the status update succeed or fail together: a refusal
    // anywhere leaves the document waiting ('F') with its stock and transfer rows untouched, on
    // screen for another try.
    try {
        if (IsMRISAcknowledged(recordNumber)) {
            refuseTaken(recordNumber, QStringLiteral("P"));
            return;
        }
        answered = ui::msgBox(QStringLiteral("Acknowledge transfer?"), ui::Buttons::YesNo,
                              ui::Icon::Question)
            == ui::Answer::Yes;
        if (answered) {
            m_takenStatus.reset();
            bool success = false;
            PostAcknowledgement(recordNumber, transNum, success);
            if (success) {
                // Only a document still waiting moves on; it was found so under the same lock.
                sqlconnection().execute(QStringLiteral("Update Inventory..tbInvWithdrawHeader "
                                                       "Set Status = 'P' Where RecordNumber = ")
                                        + recordNumber + QStringLiteral(" and Status = 'F'"));
                m_posting->commit();
            }
            m_posting.reset();
            if (m_takenStatus) {
                // Another workstation acknowledged it while this one asked.
                refuseTaken(recordNumber, *m_takenStatus);
                return;
            }
        }
    } catch (const db::DatabaseError &error) {
        m_posting.reset();
        ui::msgBox(error.message()
                       + QStringLiteral("\r\n\r\nThe MRIS was not acknowledged; nothing was "
                                        "posted: the stock, the item and kit transfers and the "
                                        "MRIS status are as they were."),
                   ui::Buttons::Ok, ui::Icon::Critical);
        return;
    }
    if (answered) {
        // Told only now that the conversions are stored for good.
        for (int posted : {m_itemsPosted, m_kitsPosted}) {
            if (posted > 0)
                ui::msgBox(QStringLiteral("Items transferred successfully!"), ui::Buttons::Ok,
                           ui::Icon::None, QStringLiteral("MESSAGE"));
        }
    }

    if (ui::msgBox(QStringLiteral("Print MRIS report?"), ui::Buttons::YesNo) == ui::Answer::Yes)
        PrintMRIS(grdMRIS->TextMatrix(r, 6), transNum, grdMRIS->TextMatrix(r, 5));
    accept();
}

void frmAcknowledgement::refuseTaken(const QString &RecordNumber, const QString &status)
{
    QString text;
    if (status == QLatin1String("P")) {
        const QString who = acknowledgedBy(RecordNumber);
        text = QStringLiteral("MRIS number already Acknowledged by ")
            + (who.isEmpty() ? QStringLiteral("another user") : who)
            + QStringLiteral(". Refreshing list...");
    } else {
        text = QStringLiteral("MRIS number no longer waits for acknowledgement. Refreshing "
                              "list...");
    }
    ui::msgBox(text, ui::Buttons::Ok, ui::Icon::Information);
    LoadMRISList();
}

QString frmAcknowledgement::acknowledgedBy(const QString &RecordNumber)
{
    // The receipt posting records who acknowledged the document.
    try {
        const db::Recordset rs = sqlconnection().query(
            QStringLiteral("select top 1 L.UserID, isnull(P.LastName + ', ' + P.FirstName, '') "
                           "as Name from inventory..tbInvStockLedger L left join "
                           "Password..tbPasswordMain P on P.EmployeeID = L.UserID where "
                           "L.MovementType = 'RT' and L.RecordNumber = ")
            + format::numberText(format::leadingNumber(RecordNumber)));
        if (rs.eof())
            return QString();
        const QString id = rs.text(QStringLiteral("UserID")).trimmed();
        const QString name = rs.text(QStringLiteral("Name")).trimmed();
        return name.isEmpty() ? id : name + QStringLiteral(" (") + id + QLatin1Char(')');
    } catch (const db::DatabaseError &) {
        return QString(); // a database without the ledger: the user is not named
    }
}

void frmAcknowledgement::PostAcknowledgement(const QString &RecordNumber, QString &TransNum,
                                             bool &Success)
{
    Success = false;
    m_itemsPosted = 0;
    m_kitsPosted = 0;
    db::Connection &connection = sqlconnection();
    const QString recordText = format::numberText(format::leadingNumber(RecordNumber));

    // The questions come first, so that nothing waits on the user while the posting holds the
    // database.
    const bool items = !connection
                            .query(QStringLiteral("Select * from Inventory..tbinvWDItemTransfer "
                                                  "where ltrim(RecordNumber) = '")
                                   + db::quoteInner(RecordNumber) + QStringLiteral("'"))
                            .eof()
        && ui::msgBox(QStringLiteral("Do you want to directly transfer the tagged item into "
                                     "pieces?"),
                      ui::Buttons::YesNo, ui::Icon::Exclamation)
            == ui::Answer::Yes;
    const bool kits = !connection
                           .query(QStringLiteral("Select * from Inventory..tbInvWDKitItemTransfer "
                                                 "where ltrim(RecordNumber) = '")
                                  + db::quoteInner(RecordNumber) + QStringLiteral("'"))
                           .eof()
        && ui::msgBox(QStringLiteral("Do you want to directly transfer the tagged kit into "
                                     "pieces?"),
                      ui::Buttons::YesNo, ui::Icon::Exclamation)
            == ui::Answer::Yes;

    // From here on one transaction until the caller's status update. The document is read
    // under a lock that a second workstation acknowledging it waits for: only one of them
    // finds it still waiting ('F').
    m_posting.emplace(connection);
    const db::Recordset state = connection.query(
        QStringLiteral(" Select isnull(status,'') as Status  ")
        + QStringLiteral(" from inventory..tbinvwithdrawheader with (updlock, holdlock) ")
        + QStringLiteral(" where recordnumber = '") + db::quoteInner(RecordNumber)
        + QStringLiteral("' "));
    if (state.eof()) {
        m_posting.reset();
        return;
    }
    const QString status = state.text(QStringLiteral("Status")).trimmed();
    if (status != QLatin1String("F")) {
        m_takenStatus = status;
        m_posting.reset();
        return;
    }

    QString piecesFlag;
    if (items) {
        TransferItemsToPieces(recordText);
        piecesFlag = QStringLiteral("0");
    }
    if (kits)
        TransferKitsToPieces(recordText);

    db::Recordset header = connection.query(
        QStringLiteral("Select A.*, cast(B.IsWarehouse as int) as isWarehouse, "
                       "cast(B.IsDispensingArea as int) as IsDispensingArea ")
        + QStringLiteral(" From Inventory..tbInvWithdrawHeader A Inner Join "
                         "Inventory..tbInvLocation B ON A.TargetLocationID = B.LocationID ")
        + QStringLiteral(" Where RecordNumber = ") + RecordNumber);
    if (header.eof()) {
        m_posting.reset();
        return;
    }
    const QString releasedBy = header.text(QStringLiteral("ReleasedBy"));
    const QString locationId = header.text(QStringLiteral("LocationID"));
    const QString targetLocationId = header.text(QStringLiteral("TargetLocationID"));
    QString dateText = format::dateTimeText(header.field(QStringLiteral("Transdate")).toDateTime());
    if (format::dateTimeText(format::parseDateTime(Session.CurDate)) == dateText)
        dateText = format::generalDateText(QDateTime::currentDateTime());
    QString transNum = header.text(QStringLiteral("TransNum"));
    TransNum = transNum;
    // A null flag compares as neither 0 nor 1, as the program always read it.
    const auto isZero = [](const QVariant &v) {
        return !v.isNull() && v.toInt() == 0;
    };
    const bool notBoth = isZero(header.field(QStringLiteral("IsWareHouse")))
        || isZero(header.field(QStringLiteral("isDispensingArea")));
    header.close();

    if (transNum.toUpper() == QLatin1String("NEW")) {
        transNum = locationId.trimmed() + QStringLiteral("-") + RecordNumber.trimmed();
        connection.execute(QStringLiteral("Update Inventory..tbInvWithdrawHeader Set TransNum = '")
                           + db::quoteInner(transNum) + QStringLiteral("' Where RecordNumber =")
                           + RecordNumber);
    }
    connection.execute(
        QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_WD '") + db::quoteInner(locationId)
        + QStringLiteral("', '") + db::quoteInner(targetLocationId) + QStringLiteral("', '")
        + db::quoteInner(dateText) + QStringLiteral("', '") + db::quoteInner(transNum)
        + QStringLiteral("','") + db::quoteInner(releasedBy) + QStringLiteral("', ") + RecordNumber
        + QStringLiteral(", '") + piecesFlag + QStringLiteral("'"));
    if (notBoth)
        connection.execute(
            QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_RT  '") + db::quoteInner(dateText)
            + QStringLiteral("', '") + db::quoteInner(targetLocationId) + QStringLiteral("', '")
            + db::quoteInner(locationId) + QStringLiteral("', '") + db::quoteInner(Employeecode())
            + QStringLiteral("', '") + db::quoteInner(transNum) + QStringLiteral("', ")
            + RecordNumber + QStringLiteral(", '") + piecesFlag + QStringLiteral("'"));
    if (Session.ClientName == QLatin1String("Q4VH"))
        connection.execute(
            QStringLiteral("update a ") + QStringLiteral(" Set PPMP = (PPMP - b.Quantity) ")
            + QStringLiteral(" from inventory..tbinvent a ")
            + QStringLiteral(" inner join( select x.TargetLocationId,y.ItemID,y.Quantity ")
            + QStringLiteral(" from inventory..tbInvWithdrawHeader x ")
            + QStringLiteral(" inner join inventory..tbInvWithdrawDetails y on x.RecordNumber "
                             "= y.RecordNumber ")
            + QStringLiteral(" where x.RecordNumber = '") + db::quoteInner(RecordNumber)
            + QStringLiteral("') b on a.ItemID = b.ItemID and a.LocationID = "
                             "b.TargetLocationId "));
    Success = true;
}

void frmAcknowledgement::TransferItemsToPieces(const QString &RecordNumber)
{
    transferToPieces(RecordNumber, false);
}

void frmAcknowledgement::TransferKitsToPieces(const QString &RecordNumber)
{
    transferToPieces(RecordNumber, true);
}

void frmAcknowledgement::transferToPieces(const QString &RecordNumber, bool kits)
{
    Hourglass hourglass;
    db::Recordset rs
        = sqlconnection().query((kits ? QStringLiteral("Inventory..sp_Inv_GetWDKitTransDetails ")
                                      : QStringLiteral("Inventory..sp_Inv_GetWDTransDetails "))
                                + RecordNumber);
    const auto number = [&rs](const char *name) {
        return IfNull(rs.field(QLatin1String(name)), 0).toDouble();
    };
    int &posted = kits ? m_kitsPosted : m_itemsPosted;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        PieceTransfer row;
        row.SourceItem = rs.text(QStringLiteral("SourceItem"));
        row.ReceivingItem = rs.text(QStringLiteral("ReceivingItem"));
        row.SourceLocation = rs.text(QStringLiteral("SourceLocation"));
        row.DocumentNo = rs.text(QStringLiteral("DocumentNo"));
        row.Transdate = rs.text(QStringLiteral("Transdate"));
        row.QtyTransferred = number("QtyTransferred");
        row.QtyReceived = number("QtyReceived");
        row.AveCostSource = number("AveCostSource");
        row.ListCostSource = number("ListCostSource");
        row.ListCostRec = number("ListCostRec");
        row.AveCostRec = number("AveCostRec");
        row.UserID = rs.text(QStringLiteral("UserID"));
        row.TargetLocation = rs.text(QStringLiteral("TargetLocation"));
        bool success = false;
        postTransfer(row, kits, success);
        // The conversions are part of the acknowledgement: one that fails undoes all of it,
        // rather than leaving a row half posted or the stock converted without its document.
        if (!success && m_transferError)
            throw *m_transferError;
        if (success)
            ++posted;
    }
}

void frmAcknowledgement::PostItemTransfer(const PieceTransfer &row, bool &Success)
{
    postTransfer(row, false, Success);
}

void frmAcknowledgement::PostKitTransfer(const PieceTransfer &row, bool &Success)
{
    postTransfer(row, true, Success);
}

void frmAcknowledgement::postTransfer(const PieceTransfer &row, bool kits, bool &Success)
{
    Success = true;
    m_transferError.reset();
    const auto n = [](double value) {
        return format::numberText(value);
    };
    try {
        sqlconnection().execute(
            (kits ? QStringLiteral("Inventory..sp_Inv_WithdrawalPosting_Auto_Kit '")
                  : QStringLiteral("Inventory..sp_Inv_WithdrawalPosting_Auto '"))
            + db::quoteInner(row.SourceItem) + QStringLiteral("', '")
            + db::quoteInner(row.ReceivingItem) + QStringLiteral("', '")
            + db::quoteInner(row.SourceLocation) + QStringLiteral("', '")
            + db::quoteInner(row.DocumentNo.trimmed()) + QStringLiteral("', '")
            + db::quoteInner(row.Transdate) + QStringLiteral("', ") + QStringLiteral(" ")
            + n(row.QtyTransferred) + QStringLiteral(", ") + n(row.QtyReceived)
            + QStringLiteral(", ") + n(row.AveCostSource) + QStringLiteral(", ")
            + QStringLiteral(" ") + n(row.AveCostRec) + QStringLiteral(", ") + n(row.ListCostSource)
            + QStringLiteral(", ") + n(row.ListCostRec) + QStringLiteral(", '")
            + db::quoteInner(row.UserID) + QStringLiteral("', '")
            + db::quoteInner(row.TargetLocation) + QStringLiteral("'"));
        sqlconnection().execute(
            (kits ? QStringLiteral("Update Inventory..tbInvWDKitItemTransfer set Status = 'P' "
                                   "where RecordNumber = ")
                  : QStringLiteral("Update Inventory..tbinvWDItemTransfer set Status = 'P' "
                                   "where RecordNumber = "))
            + row.DocumentNo + QStringLiteral(" and ReceivingItem = '")
            + db::quoteInner(row.ReceivingItem) + QStringLiteral("'"));
    } catch (const db::DatabaseError &error) {
        Success = false;
        m_transferError = error;
    }
}

void frmAcknowledgement::cmdPrint_Click()
{
    const int r = grdMRIS->Row();
    PrintMRIS(grdMRIS->TextMatrix(r, 6), grdMRIS->TextMatrix(r, 1), grdMRIS->TextMatrix(r, 5));
}

void frmAcknowledgement::PrintMRIS(const QString &TargetLocationID, const QString &TransNum,
                                   const QString &RecordNumber)
{
    const QString path = ReportPath(QStringLiteral("\\rptMRISReport.rpt"));
    printTrapped(path, [&] {
        PrepareReport(path, {TargetLocationID.trimmed(), TransNum, RecordNumber});
        ShowReport(false, QStringLiteral("MRIS Report"));
    });
}

void frmAcknowledgement::cmdCancel_Click()
{
    reject();
}
