// Acknowledging issued stock: the list and details of issue documents, the piece and kit
// conversions, numbering, the withdrawal and receipt postings with their ledger rows, the plan
// update and the status change, in the order the acknowledgement form sends them.
#include "StatementTest.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

QString mrisList(const QString &user, const QString &search)
{
    QString cleaned = search;
    cleaned.remove(QLatin1Char('\''));
    return QStringLiteral(" select a.TransNum,a.TransDate,b.Location as [Source Location], ")
        + QStringLiteral(" c.Location as [Target Location],a.RecordNumber,a.targetlocationid  ")
        + QStringLiteral(" from inventory..tbinvwithdrawheader a  ")
        + QStringLiteral(" left join inventory..tbInvLocation b on a.locationid = b.locationid  ")
        + QStringLiteral(" left join inventory..tbInvLocation c on a.TargetLocationId = "
                         "c.LocationID  ")
        + QStringLiteral(" where a.status = 'F'  ")
        + QStringLiteral(" and a.targetlocationid in (select Locationid from "
                         "inventory..tbinvuserlocation where userid = '")
        + user + QStringLiteral("')  ") + QStringLiteral(" and a.transnum like '%") + cleaned
        + QStringLiteral("%'") + QStringLiteral(" order by a.TransNum,a.TransDate  ");
}

QString mrisDetails(const QString &recordNumber)
{
    return QStringLiteral(" select a.ItemID, ISNULL(b.ItemName,'') + ' ' + ISNULL(b.ItemDesc,''), ")
        + QStringLiteral(" c.UnitOfMeasure , a.Quantity ")
        + QStringLiteral(" from inventory..tbInvWithdrawDetails a ")
        + QStringLiteral(" left join inventory..tbInvMaster b on a.itemid = b.itemid ")
        + QStringLiteral(" left join inventory..tbInvUnitOfMeasure c on b.unitofmeasureid = "
                         "c.unitofmeasureid ")
        + QStringLiteral(" where  a.recordnumber = '") + recordNumber + QStringLiteral("' ");
}

QString headerRead(const QString &recordNumber)
{
    return QStringLiteral("Select A.*, cast(B.IsWarehouse as int) as isWarehouse, "
                          "cast(B.IsDispensingArea as int) as IsDispensingArea ")
        + QStringLiteral(" From Inventory..tbInvWithdrawHeader A Inner Join "
                         "Inventory..tbInvLocation B ON A.TargetLocationID = B.LocationID ")
        + QStringLiteral(" Where RecordNumber = ") + recordNumber;
}

QString number(double value)
{
    return QString::number(value, 'g', 15);
}

class AcknowledgementTest : public StatementTest
{
protected:
    // TransferItemsToPieces / TransferKitsToPieces: every unposted conversion row of the document.
    int transferToPieces(const QString &recordNumber, bool kits)
    {
        const QString call = kits ? QStringLiteral("Inventory..sp_Inv_GetWDKitTransDetails ")
                                  : QStringLiteral("Inventory..sp_Inv_GetWDTransDetails ");
        db::Recordset rs = run(call + recordNumber);
        int posted = 0;
        for (; !rs.eof(); rs.moveNext()) {
            exec((kits ? QStringLiteral("Inventory..sp_Inv_WithdrawalPosting_Auto_Kit '")
                       : QStringLiteral("Inventory..sp_Inv_WithdrawalPosting_Auto '"))
                 + rs.text("SourceItem") + QStringLiteral("', '") + rs.text("ReceivingItem")
                 + QStringLiteral("', '") + rs.text("SourceLocation") + QStringLiteral("', '")
                 + rs.text("DocumentNo").trimmed() + QStringLiteral("', '")
                 + rs.field("Transdate")
                       .toDateTime()
                       .toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))
                 + QStringLiteral("', ") + QStringLiteral(" ")
                 + number(rs.field("QtyTransferred").toDouble()) + QStringLiteral(", ")
                 + number(rs.field("QtyReceived").toDouble()) + QStringLiteral(", ")
                 + number(rs.field("AveCostSource").toDouble()) + QStringLiteral(", ")
                 + QStringLiteral(" ") + number(rs.field("AveCostRec").toDouble())
                 + QStringLiteral(", ") + number(rs.field("ListCostSource").toDouble())
                 + QStringLiteral(", ") + number(rs.field("ListCostRec").toDouble())
                 + QStringLiteral(", '") + rs.text("UserID") + QStringLiteral("', '")
                 + rs.text("TargetLocation") + QStringLiteral("'"));
            exec((kits ? QStringLiteral("Update Inventory..tbInvWDKitItemTransfer set Status = "
                                        "'P' where RecordNumber = ")
                       : QStringLiteral("Update Inventory..tbinvWDItemTransfer set Status = 'P' "
                                        "where RecordNumber = "))
                 + rs.text("DocumentNo") + QStringLiteral(" and ReceivingItem = '")
                 + rs.text("ReceivingItem") + QStringLiteral("'"));
            ++posted;
        }
        return posted;
    }

    // PostAcknowledgement from the header read on, then the status update.
    void post(const QString &recordNumber, const QString &piecesFlag, bool planUpdate)
    {
        db::Recordset header = run(headerRead(recordNumber));
        ASSERT_EQ(header.recordCount(), 1);
        const QString releasedBy = header.text("ReleasedBy");
        const QString location = header.text("LocationID");
        const QString target = header.text("TargetLocationID");
        const QString dateText = header.field("Transdate")
                                     .toDateTime()
                                     .toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
        QString transNum = header.text("TransNum");
        const bool notBoth = header.field("isWarehouse").toInt() == 0
            || header.field("IsDispensingArea").toInt() == 0;
        if (transNum.toUpper() == QLatin1String("NEW")) {
            transNum = location.trimmed() + QStringLiteral("-") + recordNumber.trimmed();
            exec(QStringLiteral("Update Inventory..tbInvWithdrawHeader Set TransNum = '") + transNum
                 + QStringLiteral("' Where RecordNumber =") + recordNumber);
        }
        exec(QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_WD '") + location
             + QStringLiteral("', '") + target + QStringLiteral("', '") + dateText
             + QStringLiteral("', '") + transNum + QStringLiteral("','") + releasedBy
             + QStringLiteral("', ") + recordNumber + QStringLiteral(", '") + piecesFlag
             + QStringLiteral("'"));
        if (notBoth)
            exec(QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_RT  '") + dateText
                 + QStringLiteral("', '") + target + QStringLiteral("', '") + location
                 + QStringLiteral("', '") + QStringLiteral("DEMO") + QStringLiteral("', '")
                 + transNum + QStringLiteral("', ") + recordNumber + QStringLiteral(", '")
                 + piecesFlag + QStringLiteral("'"));
        if (planUpdate)
            exec(QStringLiteral("update a ") + QStringLiteral(" Set PPMP = (PPMP - b.Quantity) ")
                 + QStringLiteral(" from inventory..tbinvent a ")
                 + QStringLiteral(" inner join( select x.TargetLocationId,y.ItemID,y.Quantity ")
                 + QStringLiteral(" from inventory..tbInvWithdrawHeader x ")
                 + QStringLiteral(" inner join inventory..tbInvWithdrawDetails y on "
                                  "x.RecordNumber = y.RecordNumber ")
                 + QStringLiteral(" where x.RecordNumber = '") + recordNumber
                 + QStringLiteral("') b on a.ItemID = b.ItemID and a.LocationID = "
                                  "b.TargetLocationId "));
        exec(QStringLiteral("Update Inventory..tbInvWithdrawHeader Set Status = 'P' Where "
                            "RecordNumber = ")
             + recordNumber);
    }

    QString statusOf(const QString &recordNumber)
    {
        return first(QStringLiteral(" Select isnull(status,'') as Status  ")
                         + QStringLiteral(" from inventory..tbinvwithdrawheader  ")
                         + QStringLiteral(" where recordnumber = '") + recordNumber
                         + QStringLiteral("' "),
                     QStringLiteral("Status"))
            .toString();
    }
};

TEST_F(AcknowledgementTest, ListShowsWaitingDocumentsOfTheUsersLocations)
{
    db::Recordset rs = run(mrisList(QStringLiteral("DEMO"), QString()));
    ASSERT_EQ(rs.recordCount(), 2);
    ASSERT_EQ(rs.fieldCount(), 6);
    EXPECT_EQ(rs.text("TransNum"), QStringLiteral("21-1"));
    EXPECT_EQ(rs.field("TransDate").toDateTime(), at(12, 7, 14, 30));
    EXPECT_EQ(rs.text("Source Location"), QStringLiteral("Central Warehouse"));
    EXPECT_EQ(rs.text("Target Location"), QStringLiteral("Medical Ward"));
    EXPECT_EQ(rs.text(4), recordNumberOf(QStringLiteral("21-1")));
    EXPECT_EQ(rs.text(5), QStringLiteral("18"));
    rs.moveNext();
    EXPECT_EQ(rs.text("TransNum"), QStringLiteral("NEW"));
    EXPECT_EQ(rs.text("Source Location"), QStringLiteral("Main Pharmacy"));
}

TEST_F(AcknowledgementTest, SearchMatchesAnywhereAndDropsQuotes)
{
    EXPECT_EQ(texts(mrisList(QStringLiteral("DEMO"), QStringLiteral("1-1")), 0),
              QStringList {QStringLiteral("21-1")});
    EXPECT_EQ(texts(mrisList(QStringLiteral("DEMO"), QStringLiteral("2'1")), 0),
              QStringList {QStringLiteral("21-1")});
    EXPECT_EQ(texts(mrisList(QStringLiteral("DEMO"), QStringLiteral("new")), 0),
              QStringList {QStringLiteral("NEW")});
    EXPECT_EQ(rowCount(mrisList(QStringLiteral("DEMO"), QStringLiteral("21-3"))), 0); // done
    EXPECT_EQ(rowCount(mrisList(QStringLiteral("PHARM1"), QString())), 0);
}

TEST_F(AcknowledgementTest, DetailsJoinNameAndDescription)
{
    db::Recordset rs = run(mrisDetails(recordNumberOf(QStringLiteral("21-1"))));
    ASSERT_EQ(rs.recordCount(), 5);
    ASSERT_EQ(rs.fieldCount(), 4);
    EXPECT_EQ(rs.text(0), QStringLiteral("1019"));
    EXPECT_EQ(rs.text(1), QStringLiteral("SYRINGE 3ML DISPOSABLE WITH NEEDLE G23"));
    EXPECT_EQ(rs.text("UnitOfMeasure"), QStringLiteral("PIECE"));
    EXPECT_DOUBLE_EQ(rs.field("Quantity").toDouble(), 30);
}

TEST_F(AcknowledgementTest, StatusCheckReadsQuotedRecordNumbers)
{
    EXPECT_EQ(statusOf(recordNumberOf(QStringLiteral("21-1"))), QStringLiteral("F"));
    EXPECT_EQ(statusOf(recordNumberOf(QStringLiteral("21-3"))), QStringLiteral("P"));
}

TEST_F(AcknowledgementTest, TaggedRowsAreFoundWithLeadingBlanks)
{
    const QString record = recordNumberOf(QStringLiteral("21-1"));
    EXPECT_EQ(rowCount(QStringLiteral("Select * from Inventory..tbinvWDItemTransfer where "
                                      "ltrim(RecordNumber) = '")
                       + record + QStringLiteral("'")),
              1);
    EXPECT_EQ(rowCount(QStringLiteral("Select * from Inventory..tbInvWDKitItemTransfer where "
                                      "ltrim(RecordNumber) = '")
                       + record + QStringLiteral("'")),
              1);
    const QString other = recordNumberOf(QStringLiteral("NEW"));
    EXPECT_EQ(rowCount(QStringLiteral("Select * from Inventory..tbinvWDItemTransfer where "
                                      "ltrim(RecordNumber) = '")
                       + other + QStringLiteral("'")),
              0);
}

TEST_F(AcknowledgementTest, TransferDetailsCarryBothItemsAndCosts)
{
    const QString record = recordNumberOf(QStringLiteral("21-1"));
    db::Recordset rs = run(QStringLiteral("Inventory..sp_Inv_GetWDTransDetails ") + record);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("SourceItem"), QStringLiteral("1024"));
    EXPECT_EQ(rs.text("ReceivingItem"), QStringLiteral("P1024"));
    EXPECT_EQ(rs.text("SourceLocation"), QStringLiteral("21"));
    EXPECT_EQ(rs.text("DocumentNo").trimmed(), record);
    EXPECT_EQ(rs.field("Transdate").toDateTime(), at(12, 7, 14, 30));
    EXPECT_DOUBLE_EQ(rs.field("QtyTransferred").toDouble(), 2);
    EXPECT_DOUBLE_EQ(rs.field("QtyReceived").toDouble(), 200);
    EXPECT_DOUBLE_EQ(rs.field("AveCostSource").toDouble(), 175);
    EXPECT_DOUBLE_EQ(rs.field("ListCostSource").toDouble(), 180);
    EXPECT_DOUBLE_EQ(rs.field("ListCostRec").toDouble(), 1.8);
    EXPECT_DOUBLE_EQ(rs.field("AveCostRec").toDouble(), 1.75);
    EXPECT_EQ(rs.text("UserID"), QStringLiteral("CLERK1"));
    EXPECT_EQ(rs.text("TargetLocation"), QStringLiteral("18"));
}

TEST_F(AcknowledgementTest, FullAcknowledgementMovesStockAndWritesTheLedger)
{
    const QString record = recordNumberOf(QStringLiteral("21-1"));
    ASSERT_FALSE(record.isEmpty());

    EXPECT_EQ(transferToPieces(record, false), 1);
    EXPECT_EQ(transferToPieces(record, true), 1);
    // Posted conversions are not offered again.
    EXPECT_EQ(rowCount(QStringLiteral("Inventory..sp_Inv_GetWDTransDetails ") + record), 0);
    EXPECT_EQ(rowCount(QStringLiteral("Inventory..sp_Inv_GetWDKitTransDetails ") + record), 0);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1024"), QStringLiteral("18")), 18);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("P1024"), QStringLiteral("18")), 220);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1037"), QStringLiteral("18")), 19);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1025"), QStringLiteral("18")), 22);
    EXPECT_EQ(ledgerRows(QStringLiteral("TO")), 2);
    EXPECT_EQ(ledgerRows(QStringLiteral("TI")), 2);

    post(record, QStringLiteral("0"), true);

    // Out of the warehouse, into the ward.
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1019"), QStringLiteral("21")), 470);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1024"), QStringLiteral("21")), 498);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1019"), QStringLiteral("18")), 50);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1024"), QStringLiteral("18")), 20);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1037"), QStringLiteral("18")), 20);
    EXPECT_DOUBLE_EQ(ppmp(QStringLiteral("1019"), QStringLiteral("18")), 210);
    EXPECT_DOUBLE_EQ(ppmp(QStringLiteral("1021"), QStringLiteral("18")), 230);
    EXPECT_EQ(ledgerRows(QStringLiteral("WD")), 5);
    EXPECT_EQ(ledgerRows(QStringLiteral("RT")), 5);

    db::Recordset wd = run(QStringLiteral("Select * From INVENTORY..tbInvStockLedger Where "
                                          "MovementType = 'WD' and ItemID = '1019'"));
    ASSERT_EQ(wd.recordCount(), 1);
    EXPECT_DOUBLE_EQ(wd.field("Quantity").toDouble(), -30);
    EXPECT_EQ(wd.text("LocationID"), QStringLiteral("21"));
    EXPECT_EQ(wd.text("DocumentNo"), QStringLiteral("21-1"));
    EXPECT_EQ(wd.text("RecordNumber"), record);
    EXPECT_EQ(wd.field("TransDate").toDateTime(), at(12, 7, 14, 30));
    EXPECT_EQ(wd.text("UserID"), QStringLiteral("CLERK1"));

    db::Recordset rt = run(QStringLiteral("Select * From INVENTORY..tbInvStockLedger Where "
                                          "MovementType = 'RT' and ItemID = '1019'"));
    ASSERT_EQ(rt.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rt.field("Quantity").toDouble(), 30);
    EXPECT_EQ(rt.text("LocationID"), QStringLiteral("18"));
    EXPECT_EQ(rt.text("UserID"), QStringLiteral("DEMO"));

    // The ward's stock of each item equals its opening stock plus its ledger.
    EXPECT_DOUBLE_EQ(first(QStringLiteral("Select sum(Quantity) as Moved From "
                                          "INVENTORY..tbInvStockLedger Where ItemID = '1024' "
                                          "and LocationID = '18'"),
                           QStringLiteral("Moved"))
                         .toDouble(),
                     0);

    EXPECT_EQ(statusOf(record), QStringLiteral("P"));
    EXPECT_EQ(rowCount(mrisList(QStringLiteral("DEMO"), QStringLiteral("21-1"))), 0);
    EXPECT_EQ(first(QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '1019','18'"),
                    QStringLiteral("Last DDate"))
                  .toDateTime(),
              at(12, 7, 14, 30));
}

TEST_F(AcknowledgementTest, UnnumberedDocumentIsNumberedBeforePosting)
{
    const QString record = recordNumberOf(QStringLiteral("NEW"));
    ASSERT_FALSE(record.isEmpty());
    EXPECT_EQ(rowCount(QStringLiteral("Inventory..sp_Inv_GetWDTransDetails ") + record), 0);

    post(record, QString(), false);

    EXPECT_EQ(recordNumberOf(QStringLiteral("119-") + record), record);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1014"), QStringLiteral("119")), 980);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1014"), QStringLiteral("23")), 50);
    EXPECT_DOUBLE_EQ(ppmp(QStringLiteral("1014"), QStringLiteral("23")), 300); // not Q4VH
    EXPECT_EQ(texts(QStringLiteral("Select DocumentNo From INVENTORY..tbInvStockLedger Where "
                                   "MovementType = 'RT'"),
                    QStringLiteral("DocumentNo")),
              (QStringList {QStringLiteral("119-") + record, QStringLiteral("119-") + record}));
}

TEST_F(AcknowledgementTest, ReceiptCreatesTheStockRowOfANewItem)
{
    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawHeader (TransNum, TransDate, LocationID, "
                        "TargetLocationID, ReleasedBy, Status) Values ('21-90', '12/08/2026 "
                        "09:00:00 AM', '21', '30', 'CLERK1', 'F')"));
    const QString record = recordNumberOf(QStringLiteral("21-90"));
    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawDetails (RecordNumber, ItemID, Quantity, "
                        "UnitCost) Values (%1, '1001', 100, 2.5)")
             .arg(record));
    ASSERT_EQ(rowCount(QStringLiteral("Select * From INVENTORY..tbInvent Where ItemID = '1001' "
                                      "and LocationID = '30'")),
              0);
    post(record, QString(), false);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1001"), QStringLiteral("30")), 100);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1001"), QStringLiteral("21")), 400);
}

TEST_F(AcknowledgementTest, TargetBothWarehouseAndDispensingGetsTheWithdrawalOnly)
{
    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawHeader (TransNum, TransDate, LocationID, "
                        "TargetLocationID, ReleasedBy, Status) Values ('21-91', '12/08/2026 "
                        "09:00:00 AM', '21', '119', 'CLERK1', 'F')"));
    const QString record = recordNumberOf(QStringLiteral("21-91"));
    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawDetails (RecordNumber, ItemID, Quantity, "
                        "UnitCost) Values (%1, '1002', 10, 6)")
             .arg(record));
    db::Recordset header = run(headerRead(record));
    ASSERT_EQ(header.recordCount(), 1);
    EXPECT_EQ(header.field("isWarehouse").toInt(), 1);
    EXPECT_EQ(header.field("IsDispensingArea").toInt(), 1);

    post(record, QString(), false);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1002"), QStringLiteral("21")), 490);
    EXPECT_DOUBLE_EQ(onHand(QStringLiteral("1002"), QStringLiteral("119")), 1000);
    EXPECT_EQ(ledgerRows(QStringLiteral("RT")), 0);
}

// The posting date arrives as the header's date in the program's format, or as the
// workstation's general date text when the header carries the session date.
class PostingDateTest : public StatementTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(PostingDateTest, DateTextBecomesTheLedgerDate)
{
    const QString record = recordNumberOf(QStringLiteral("21-1"));
    exec(QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_WD '21', '18', '%1', '21-1','CLERK1', "
                        "%2, ''")
             .arg(QLatin1String(GetParam()), record));
    exec(QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_RT  '%1', '18', '21', 'DEMO', '21-1', "
                        "%2, ''")
             .arg(QLatin1String(GetParam()), record));
    const QStringList dates = texts(QStringLiteral("Select distinct TransDate From "
                                                   "INVENTORY..tbInvStockLedger"),
                                    QStringLiteral("TransDate"));
    ASSERT_EQ(dates.size(), 1);
    EXPECT_EQ(first(QStringLiteral("Select TransDate From INVENTORY..tbInvStockLedger"),
                    QStringLiteral("TransDate"))
                  .toDateTime(),
              at(12, 7, 14, 30));
}

INSTANTIATE_TEST_SUITE_P(Formats, PostingDateTest,
                         ::testing::Values("12/07/2026 02:30:00 PM", "12/7/2026 2:30:00 PM",
                                           "12/07/2026 14:30:00"));

TEST_F(AcknowledgementTest, HeaderReadOfAMissingDocumentHasNoRow)
{
    EXPECT_EQ(rowCount(headerRead(QStringLiteral("987654"))), 0);
}

} // namespace
