// Numbering, saving, verifying and deleting a request: the statements in the order the main
// form sends them, and what the database holds afterwards.
#include "StatementTest.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

// ----- numbering -------------------------------------------------------------------------------

const QString MaxNumberSql = QStringLiteral("Select (max(Cast(DocumentNumber as float)) + 1) as "
                                            "DocNum From INVENTORY..tbInvWithdrawRequest "
                                            "where isnumeric(DocumentNumber) = 1 ");

using NumberingTest = StatementTest;

TEST_F(NumberingTest, NextNumberIsOnePastTheLargestNumericOne)
{
    db::Recordset rs = run(MaxNumberSql);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.field("DocNum").toDouble(), 1013); // MR-0415 is ignored
}

TEST_F(NumberingTest, NumbersCompareAsNumbersNotText)
{
    exec(QStringLiteral("Delete INVENTORY..tbInvWithdrawRequest"));
    for (const char *number : {"17", "A-9", "120"})
        exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID) "
                            "Values ('%1','1001')")
                 .arg(QLatin1String(number)));
    EXPECT_DOUBLE_EQ(first(MaxNumberSql, QStringLiteral("DocNum")).toDouble(), 121);
}

TEST_F(NumberingTest, EmptyOrNonNumericTableGivesOneNullRow)
{
    exec(QStringLiteral("Delete INVENTORY..tbInvWithdrawRequest"));
    db::Recordset rs = run(MaxNumberSql);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field("DocNum").isNull());

    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID) Values "
                        "('A-9','1001')"));
    EXPECT_TRUE(first(MaxNumberSql, QStringLiteral("DocNum")).isNull());
}

TEST_F(NumberingTest, MrisNumberNeverReusesARequestNumber)
{
    const QString call = QStringLiteral("inventory..sp_inv_getMRISDocNum");
    EXPECT_EQ(first(call, QStringLiteral("DocNum")).toLongLong(), 1013);

    exec(QStringLiteral("Update inventory..tbInvMRISDocnum set SequenceNumber = 2000"));
    EXPECT_EQ(first(call, QStringLiteral("DocNum")).toLongLong(), 2001);
}

TEST_F(NumberingTest, MrisSequenceAdvancesByOne)
{
    exec(QStringLiteral("Update inventory..tbInvMRISDocnum set SequenceNumber = SequenceNumber + "
                        "1 "));
    EXPECT_EQ(first(QStringLiteral("Select SequenceNumber From inventory..tbInvMRISDocnum"),
                    QStringLiteral("SequenceNumber"))
                  .toInt(),
              1001);
}

const QString RoNumberSql = QStringLiteral(
    "select cast(year(getdate()) as varchar(4)) + '-' +   cast(isnull(RONumber,0) + 1 as "
    "varchar(10)) as RONumber from inventory..tbinvCANumber ");
const QString RoAdvanceSql
    = QStringLiteral("Update inventory..tbinvCANumber set RONumber = RONumber + 1 ");

TEST_F(NumberingTest, RequestOrderNumberFromTheServerYearAndCounter)
{
    EXPECT_EQ(first(RoNumberSql, QStringLiteral("RONumber")).toString(), QStringLiteral("2026-4"));
    exec(RoAdvanceSql);
    EXPECT_EQ(first(RoNumberSql, QStringLiteral("RONumber")).toString(), QStringLiteral("2026-5"));
}

TEST_F(NumberingTest, NullCounterStartsAtOne)
{
    exec(QStringLiteral("Update inventory..tbinvCANumber set RONumber = NULL"));
    EXPECT_EQ(first(RoNumberSql, QStringLiteral("RONumber")).toString(), QStringLiteral("2026-1"));
    // Null + 1 stays Null: the counter only starts moving once it holds a number.
    exec(RoAdvanceSql);
    EXPECT_TRUE(first(QStringLiteral("select RONumber from inventory..tbinvCANumber"),
                      QStringLiteral("RONumber"))
                    .isNull());
}

TEST_F(NumberingTest, ExistingNumberIsFoundInTheRequestTableOnly)
{
    const QString sql = QStringLiteral(
        "Select DocumentNumber from Inventory..tbinvWithdrawRequest where DocumentNumber = '%1'");
    EXPECT_GT(rowCount(sql.arg(QStringLiteral("1001"))), 0);
    EXPECT_EQ(rowCount(sql.arg(QStringLiteral("900"))), 0); // consolidation only
    EXPECT_EQ(rowCount(sql.arg(QStringLiteral("RO-2026-1"))), 0); // request order only
}

// ----- saving ----------------------------------------------------------------------------------

struct Line
{
    QString code;
    QString quantity; // as the grid shows it
    QString unitCost;
    QString retail;
    QString ads; // grid "Y"/"N"
    QString lot;
};

// Sends a save's statements in the main form's order for a document of the demo's DEMO user.
class SaveTest : public StatementTest
{
protected:
    void save(const QString &table, const QString &docNum, const QString &location,
              const QString &target, const QString &remarks, const std::vector<Line> &lines,
              bool switch91, bool isRequest)
    {
        const QString date = QStringLiteral("'12/08/2026 10:15:00 AM'");
        const QString userId = requestUser(docNum);
        exec(QStringLiteral("Delete INVENTORY..") + table
             + QStringLiteral(" Where DocumentNumber = '") + db::quoteInner(docNum)
             + QStringLiteral("'"));
        for (const Line &l : lines) {
            exec(QStringLiteral("Insert INVENTORY..") + table
                 + QStringLiteral(" (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, "
                                  "LocationID, TargetLocationID, TransDate, UserID, Remarks) ")
                 + QStringLiteral("Values ('") + db::quoteInner(docNum) + QStringLiteral("','")
                 + db::quoteInner(l.code) + QStringLiteral("',") + l.quantity + QStringLiteral(",")
                 + l.unitCost + QStringLiteral(",'") + db::quoteInner(l.retail)
                 + QStringLiteral("', '") + (l.ads == QLatin1String("Y") ? "1" : "0")
                 + QStringLiteral("', '") + db::quoteInner(location) + QStringLiteral("', '")
                 + db::quoteInner(target) + QStringLiteral("', ") + date + QStringLiteral(", '")
                 + db::quoteInner(userId) + QStringLiteral("', '") + db::quoteInner(remarks)
                 + QStringLiteral("')"));
            if (switch91)
                exec(QStringLiteral("update INVENTORY..") + table + QStringLiteral(" ")
                     + QStringLiteral(" set lotnumber = '") + db::quoteInner(l.lot)
                     + QStringLiteral("' ") + QStringLiteral(" where documentnumber = '")
                     + db::quoteInner(docNum) + QStringLiteral("' ")
                     + QStringLiteral(" and itemid = '") + db::quoteInner(l.code)
                     + QStringLiteral("' "));
        }
        if (switch91)
            exec(QStringLiteral(" update INVENTORY..") + table
                 + QStringLiteral("  set isrequest = '")
                 + (isRequest ? QStringLiteral("True") : QStringLiteral("False"))
                 + QStringLiteral("' where documentnumber =  '") + db::quoteInner(docNum)
                 + QStringLiteral("' "));
    }

    QString requestUser(const QString &docNum)
    {
        const QVariant stored = first(QStringLiteral("select top 1 isnull(UserID,'') as UserID "
                                                     "from inventory..tbInvWithdrawRequest where "
                                                     "documentnumber = '")
                                          + db::quoteInner(docNum) + QStringLiteral("'"),
                                      QStringLiteral("UserID"));
        return stored.isNull() ? QStringLiteral("DEMO") : stored.toString();
    }

    static QString requests() { return QStringLiteral("tbInvWithdrawRequest"); }
};

TEST_F(SaveTest, NewRequestIsStoredLineByLine)
{
    save(requests(), QStringLiteral("1013"), QStringLiteral("21"), QStringLiteral("18"),
         QStringLiteral("Ward restock, urgent"),
         {{"1019", "25", "4.5000", "N", "Y", ""}, {"1001", "100", "2.5000", "Y", "N", ""}}, false,
         true);

    db::Recordset rs = run(QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '1013'"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1019"));
    EXPECT_DOUBLE_EQ(rs.field("Quantity").toDouble(), 25);
    EXPECT_DOUBLE_EQ(rs.field("UnitCost").toDouble(), 4.5);
    EXPECT_TRUE(rs.field("isADS").toBool());
    EXPECT_EQ(rs.field("Transdate").toDateTime(), fixedNow());
    EXPECT_EQ(rs.text("Remarks"), QStringLiteral("Ward restock, urgent"));
    EXPECT_TRUE(rs.field("isRequest").isNull());
    EXPECT_TRUE(rs.text("Lotnumber").isEmpty());
    rs.moveNext();
    EXPECT_EQ(rs.text("ForRetail"), QStringLiteral("Y"));
    EXPECT_FALSE(rs.field("isADS").toBool());
}

TEST_F(SaveTest, SavingTwiceKeepsOneCopyOfEachLineAndTheFirstUser)
{
    exec(QStringLiteral("Update INVENTORY..tbInvWithdrawRequest set UserID = 'NURSE1' where "
                        "DocumentNumber = '1001'"));
    const std::vector<Line> lines {{"1019", "40", "4.5000", "N", "N", ""},
                                   {"1025", "10", "12.0000", "N", "N", ""}};
    for (int i = 0; i < 2; ++i)
        save(requests(), QStringLiteral("1001"), QStringLiteral("21"), QStringLiteral("18"),
             QStringLiteral("Edited"), lines, false, true);
    EXPECT_EQ(texts(QStringLiteral("select * from inventory..tbinvwithdrawrequest where "
                                   "documentnumber = '1001' "),
                    QStringLiteral("UserID")),
              (QStringList {"NURSE1", "NURSE1"}));
}

TEST_F(SaveTest, ReturnWithLotNumbersIsMarkedFalse)
{
    // A return from the Surgical Ward (cboTargetLocation) to the warehouse (cboLocation).
    save(requests(), QStringLiteral("1013"), QStringLiteral("19"), QStringLiteral("21"),
         QStringLiteral("Returning excess"), {{"1020", "5", "5.2500", "N", "N", "LT-1"}}, true,
         false);
    db::Recordset rs = run(QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '1013'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("LocationID"), QStringLiteral("19"));
    EXPECT_EQ(rs.text("TargetLocationID"), QStringLiteral("21"));
    EXPECT_FALSE(rs.field("isRequest").isNull());
    EXPECT_FALSE(rs.field("isRequest").toBool());
    EXPECT_EQ(rs.text("Lotnumber"), QStringLiteral("LT-1"));

    save(requests(), QStringLiteral("1013"), QStringLiteral("21"), QStringLiteral("19"),
         QStringLiteral("Request after all"), {{"1020", "5", "5.2500", "N", "N", ""}}, true, true);
    EXPECT_TRUE(first(QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '1013'"),
                      QStringLiteral("isRequest"))
                    .toBool());
}

TEST_F(SaveTest, QuotesInRemarksAndCodesAreStoredAsTyped)
{
    save(requests(), QStringLiteral("1013"), QStringLiteral("21"), QStringLiteral("18"),
         QStringLiteral("Nurse's station; -- not a comment"), {{"10'19", "1", "0", "N", "N", ""}},
         false, true);
    EXPECT_EQ(first(QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '1013'"),
                    QStringLiteral("Remarks"))
                  .toString(),
              QStringLiteral("Nurse's station; -- not a comment"));
    EXPECT_EQ(rowCount(QStringLiteral("select * from inventory..tbinvwithdrawrequest where "
                                      "ItemID = '10''19'")),
              1);
}

TEST_F(SaveTest, ConsolidationRequestGoesToItsOwnTable)
{
    save(QStringLiteral("tbInvWithdrawRequestConsolidation"), QStringLiteral("1013"),
         QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("January needs"),
         {{"1019", "300", "4.5000", "N", "N", ""}}, false, true);
    EXPECT_EQ(rowCount(QStringLiteral("select * from inventory..tbinvwithdrawrequest where "
                                      "documentnumber = '1013' ")),
              0);
    EXPECT_EQ(texts(QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '1013'"),
                    QStringLiteral("Quantity")),
              QStringList {QStringLiteral("300")});
}

TEST_F(SaveTest, OfficersAndVerificationStamps)
{
    exec(QStringLiteral(" update INVENTORY..tbInvWithdrawRequest  set ApprovingOfficerID = '', "
                        " DepartmentID = '' , SectionID = '' ,  Requestedby = '' where "
                        "documentnumber =  '1001' "));
    exec(QStringLiteral("Update Inventory..tbInvWithdrawRequest set Verifiedby = 'VERIFY', "
                        "verifiedDate = GetDate() where DocumentNumber = '1001'"));
    db::Recordset rs = run(QStringLiteral(
        "select * from inventory..tbinvwithdrawrequest where documentnumber = '1001' "));
    ASSERT_EQ(rs.recordCount(), 3);
    for (; !rs.eof(); rs.moveNext()) {
        EXPECT_EQ(rs.text("Verifiedby"), QStringLiteral("VERIFY"));
        EXPECT_EQ(rs.field("verifiedDate").toDateTime(), fixedNow());
        EXPECT_EQ(rs.text("ApprovingOfficerID"), QString());
        EXPECT_FALSE(rs.field("DepartmentID").isNull());
    }
}

TEST_F(SaveTest, RequestOrderTakesQuotedNumbers)
{
    exec(QStringLiteral("Delete INVENTORY..tbinvRequestOrder Where DocumentNumber = 'RO-2026-4'"));
    exec(QStringLiteral("Insert into inventory..tbinvRequestOrder(Documentnumber, ")
         + QStringLiteral("locationid,targetlocationid,itemid,qty,unitcost,totalcost,userid,"
                          "transdate,Remarks) values( ")
         + QStringLiteral(" 'RO-2026-4', '21', '18', ")
         + QStringLiteral(" '1008','1200', '5.5000', ")
         + QStringLiteral(" '6600.0000','DEMO','12/08/2026 10:15:00 AM', 'Nurses station') "));
    exec(QStringLiteral("Update Inventory..tbInvRequestOrder set Verifiedby = 'VERIFY', "
                        "verifiedDate = GetDate() where DocumentNumber = 'RO-2026-4'"));
    db::Recordset rs = run(QStringLiteral("select * from inventory..tbinvRequestOrder where "
                                          "Documentnumber = 'RO-2026-4'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.field("qty").toDouble(), 1200);
    EXPECT_DOUBLE_EQ(rs.field("totalcost").toDouble(), 6600);
    EXPECT_EQ(rs.field("transdate").toDateTime(), fixedNow());
    EXPECT_EQ(rs.field("verifiedDate").toDateTime(), fixedNow());
    // A number stored from quoted text adds up as a number.
    EXPECT_DOUBLE_EQ(first(QStringLiteral("select sum(qty) + 1 as Total from "
                                          "inventory..tbinvRequestOrder where Documentnumber = "
                                          "'RO-2026-4'"),
                           QStringLiteral("Total"))
                         .toDouble(),
                     1201);
}

// ----- deletion --------------------------------------------------------------------------------

using DeleteTest = StatementTest;

TEST_F(DeleteTest, DeletionStampsStatusDateAndUser)
{
    exec(QStringLiteral("Update INVENTORY..tbInvWithDrawRequest set Status = 'D', ProcessDate = "
                        "getdate(), ProcessBy = 'DEMO'  where DocumentNumber = '1001'"));
    exec(QStringLiteral("Update INVENTORY..tbInvRequestorder set Status = 'D', ProcessDate = "
                        "getdate(), ProcessBy = 'DEMO'  where DocumentNumber = 'RO-2026-1'"));
    db::Recordset rs = run(QStringLiteral(
        "select * from inventory..tbinvwithdrawrequest where documentnumber = '1001' "));
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.text("Status"), QStringLiteral("D"));
    EXPECT_EQ(rs.field("ProcessDate").toDateTime(), fixedNow());
    EXPECT_EQ(rs.text("ProcessBy"), QStringLiteral("DEMO"));
    EXPECT_EQ(rowCount(QStringLiteral("select * from inventory..tbinvRequestOrder where "
                                      "Documentnumber = 'RO-2026-1' and Status = 'D'")),
              2);
    // Nothing is removed: the lines stay for the record.
    EXPECT_EQ(rowCount(QStringLiteral("select itemid from inventory..tbInvWithdrawRequest "
                                      " Where ItemID = '1019'  and TargetLocationID = '18'  and "
                                      "isnull(Status,'') = ''  and documentnumber <> 'NEW'")),
              0);
}

} // namespace
