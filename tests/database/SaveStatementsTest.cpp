// Numbering, saving, verifying and deleting a request: the statements in the order the main
// form sends them, and what the database holds afterwards.
#include "StatementTest.h"

#include "request/Loading.h"
#include "request/Numbering.h"
#include "request/RequestDocument.h"
#include "request/SaveStatements.h"
#include "session/Inventory.h"
#include "session/Session.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

// ----- numbering -------------------------------------------------------------------------------

// The numbering routines of the save, run on the demo database as DEMO.
class NumberingTest : public testing_support::LoggedInDatabaseTest
{
protected:
    void SetUp() override
    {
        LoggedInDatabaseTest::SetUp();
        logIn(QStringLiteral("DEMO"));
        LoadHospitalInfo();
    }

    QVariant value(const QString &statement, const QString &column)
    {
        db::Recordset rs = database->query(statement);
        return rs.eof() ? QVariant() : rs.field(column);
    }

    void insertNumber(const char *number)
    {
        sql(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID) "
                           "Values ('%1','1001')")
                .arg(QLatin1String(number)));
    }
};

TEST_F(NumberingTest, NextNumberIsOnePastTheLargestNumericOne)
{
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1013")); // MR-0415 is ignored
}

TEST_F(NumberingTest, NumbersCompareAsNumbersNotText)
{
    // Numbers are drawn past both the ordinary and the consolidation requests.
    sql(QStringLiteral("Delete INVENTORY..tbInvWithdrawRequest"));
    sql(QStringLiteral("Delete INVENTORY..tbInvWithdrawRequestConsolidation"));
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1")); // empty tables
    insertNumber("A-9");
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("1")); // no numeric number
    for (const char *number : {"17", "120"})
        insertNumber(number);
    EXPECT_EQ(GetNewDocNumber(), QStringLiteral("121"));
}

TEST_F(NumberingTest, MrisSequenceAdvancesByOne)
{
    UpdateMRISDocNumber();
    EXPECT_EQ(value(QStringLiteral("Select SequenceNumber From inventory..tbInvMRISDocnum"),
                    QStringLiteral("SequenceNumber"))
                  .toInt(),
              1001);
    // The procedure's number never reuses a request number.
    EXPECT_EQ(value(QStringLiteral("inventory..sp_inv_getMRISDocNum"), QStringLiteral("DocNum"))
                  .toLongLong(),
              1013);
    sql(QStringLiteral("Update inventory..tbInvMRISDocnum set SequenceNumber = 2000"));
    EXPECT_EQ(value(QStringLiteral("inventory..sp_inv_getMRISDocNum"), QStringLiteral("DocNum"))
                  .toLongLong(),
              2001);
}

TEST_F(NumberingTest, RequestOrderNumbersFollowTheServerYearAndCounter)
{
    EXPECT_EQ(getNewRONumber(), QStringLiteral("2026-4"));
    EXPECT_EQ(getNewRONumber(), QStringLiteral("2026-5"));
}

TEST_F(NumberingTest, NullCounterStartsAtOneAndMovesOn)
{
    sql(QStringLiteral("Update inventory..tbinvCANumber set RONumber = NULL"));
    EXPECT_EQ(getNewRONumber(), QStringLiteral("2026-1"));
    EXPECT_EQ(getNewRONumber(), QStringLiteral("2026-2"));
    EXPECT_EQ(value(QStringLiteral("select RONumber from inventory..tbinvCANumber"),
                    QStringLiteral("RONumber"))
                  .toInt(),
              2);
}

TEST_F(NumberingTest, ExistingNumberIsFoundInTheRequestTableOnly)
{
    EXPECT_TRUE(Verify_DocumentNumber(QStringLiteral(" 1001 ")));
    EXPECT_FALSE(Verify_DocumentNumber(QStringLiteral("900"))); // consolidation only
    EXPECT_FALSE(Verify_DocumentNumber(QStringLiteral("RO-2026-1"))); // request order only
}

// ----- saving ----------------------------------------------------------------------------------

struct Line
{
    QString code;
    QString quantity; // as typed
    QString unitCost;
    QString retail;
    QString ads; // "Y"/"N"
    QString lot;
};

// Sends a save's statements, as the save builds them, for a document of the demo's DEMO user.
class SaveTest : public StatementTest
{
protected:
    void save(const QString &table, const QString &docNum, const QString &location,
              const QString &target, const QString &remarks, const std::vector<Line> &lines,
              bool switch91, bool isRequest)
    {
        const QString date = QStringLiteral("12/08/2026 10:15:00 AM");
        const QString userId = requestUser(docNum);
        exec(SaveStatements::deleteLines(table, docNum));
        for (const Line &l : lines) {
            const RequestLine line = requestLine(l);
            exec(SaveStatements::insertLine(table, docNum, line, location, target, date, userId,
                                            remarks));
            if (switch91)
                exec(SaveStatements::updateLotNumber(table, docNum, line));
        }
        if (switch91)
            exec(SaveStatements::updateIsRequest(table, docNum, isRequest));
    }

    static RequestLine requestLine(const Line &l)
    {
        RequestLine line;
        line.itemId = l.code;
        line.quantity = format::typedNumber(l.quantity);
        line.unitCost = format::Currency::fromDouble(format::typedNumber(l.unitCost));
        line.retail = l.retail;
        line.ads = l.ads == QLatin1String("Y");
        line.lotNumber = l.lot;
        return line;
    }

    QString requestUser(const QString &docNum)
    {
        const QVariant stored
            = first(SaveStatements::requestUserId(docNum), QStringLiteral("UserID"));
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

    db::Recordset rs = run(LoadRequestStatement(QStringLiteral("1013")));
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

TEST_F(SaveTest, TypedThousandsSeparatorsAreStoredWhole)
{
    save(requests(), QStringLiteral("1013"), QStringLiteral("21"), QStringLiteral("18"),
         QStringLiteral("Linen"), {{"1024", "1,200", "1,040.00", "N", "N", ""}}, false, true);
    EXPECT_EQ(texts(QStringLiteral("select Quantity from inventory..tbinvwithdrawrequest where "
                                   "documentnumber = '1013'"),
                    QStringLiteral("Quantity")),
              QStringList {QStringLiteral("1200")});
    EXPECT_DOUBLE_EQ(first(QStringLiteral("select UnitCost from inventory..tbinvwithdrawrequest "
                                          "where documentnumber = '1013'"),
                           QStringLiteral("UnitCost"))
                         .toDouble(),
                     1040);
}

TEST_F(SaveTest, StoredStateReadsTheStampsAndLinesOfOneTable)
{
    db::Recordset rs = run(SaveStatements::storedState(requests(), QStringLiteral("1003")));
    ASSERT_EQ(rs.recordCount(), 5);
    EXPECT_EQ(rs.text("Status"), QStringLiteral("P"));
    EXPECT_EQ(rs.text("Verifiedby"), QStringLiteral("VERIFY"));
    EXPECT_EQ(rs.text("ProcessBy"), QStringLiteral("CLERK1"));
    EXPECT_EQ(rs.field("verifiedDate").toDateTime(), at(11, 25, 10, 20));
    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1019"));

    // A consolidation number is not a request's, and the other way round.
    EXPECT_EQ(rowCount(SaveStatements::storedState(requests(), QStringLiteral("900"))), 0);
    EXPECT_EQ(rowCount(SaveStatements::storedState(
                  QStringLiteral("tbInvWithdrawRequestConsolidation"), QStringLiteral("900"))),
              2);
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
    db::Recordset rs = run(LoadRequestStatement(QStringLiteral("1013")));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("LocationID"), QStringLiteral("19"));
    EXPECT_EQ(rs.text("TargetLocationID"), QStringLiteral("21"));
    EXPECT_FALSE(rs.field("isRequest").isNull());
    EXPECT_FALSE(rs.field("isRequest").toBool());
    EXPECT_EQ(rs.text("Lotnumber"), QStringLiteral("LT-1"));

    save(requests(), QStringLiteral("1013"), QStringLiteral("21"), QStringLiteral("19"),
         QStringLiteral("Request after all"), {{"1020", "5", "5.2500", "N", "N", ""}}, true, true);
    EXPECT_TRUE(
        first(LoadRequestStatement(QStringLiteral("1013")), QStringLiteral("isRequest")).toBool());
}

TEST_F(SaveTest, QuotesInRemarksAndCodesAreStoredAsTyped)
{
    save(requests(), QStringLiteral("1013"), QStringLiteral("21"), QStringLiteral("18"),
         QStringLiteral("Nurse's station; -- not a comment"), {{"10'19", "1", "0", "N", "N", ""}},
         false, true);
    EXPECT_EQ(
        first(LoadRequestStatement(QStringLiteral("1013")), QStringLiteral("Remarks")).toString(),
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
    EXPECT_EQ(texts(LoadRequestStatement(QStringLiteral("1013")), QStringLiteral("Quantity")),
              QStringList {QStringLiteral("300")});
}

TEST_F(SaveTest, OfficersAndVerificationStamps)
{
    exec(SaveStatements::updateSiteHeader(requests(), QStringLiteral("1001"), QString(), QString(),
                                          QString(), QString()));
    exec(SaveStatements::updateVerifier(requests(), QStringLiteral("1001"),
                                        QStringLiteral("VERIFY")));
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
    const QString number = QStringLiteral("RO-2026-4");
    exec(SaveStatements::deleteRequestOrders(number));
    const RequestOrderLine line {QStringLiteral("1008"), QStringLiteral("ITEM"),
                                 QStringLiteral("1,200"), QStringLiteral("5.5000"),
                                 QStringLiteral("6,600.0000")};
    exec(SaveStatements::insertRequestOrder(
        number, line, QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("DEMO"),
        QStringLiteral("12/08/2026 10:15:00 AM"), QStringLiteral("Nurse's station")));
    exec(SaveStatements::updateRequestOrderVerifier(number, QStringLiteral("VERIFY")));
    db::Recordset rs = run(QStringLiteral("select * from inventory..tbinvRequestOrder where "
                                          "Documentnumber = 'RO-2026-4'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.field("qty").toDouble(), 1200);
    EXPECT_DOUBLE_EQ(rs.field("totalcost").toDouble(), 6600);
    EXPECT_EQ(rs.field("transdate").toDateTime(), fixedNow());
    EXPECT_EQ(rs.field("verifiedDate").toDateTime(), fixedNow());
    EXPECT_EQ(rs.text("Remarks"), QStringLiteral("Nurses station")); // quotes dropped
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
