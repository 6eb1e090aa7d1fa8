// Loading a request and the side figures of item entry: the loader procedure, the request-order
// reads, blocked quantity, the pending-request test and the plan balance.
#include "StatementTest.h"

#include "request/Loading.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

// ----- the loader ------------------------------------------------------------------------------

using LoadRequestTest = StatementTest;

TEST_F(LoadRequestTest, NewDocumentGivesNoRow)
{
    EXPECT_EQ(rowCount(LoadRequestStatement(QStringLiteral("NEW"))), 0);
    EXPECT_EQ(rowCount(LoadRequestStatement(QStringLiteral("new"))), 0);
    EXPECT_EQ(rowCount(LoadRequestStatement(QStringLiteral("4711"))), 0);
}

TEST_F(LoadRequestTest, OneRowPerLineWithTheHeaderAndNames)
{
    db::Recordset rs = run(LoadRequestStatement(QStringLiteral("1001")));
    ASSERT_EQ(rs.recordCount(), 3);
    for (const char *column :
         {"DocumentNumber",     "Remarks",     "Transdate", "LocationID",  "Location",
          "TargetLocationID",   "TLocation",   "isRequest", "Department",  "Section",
          "ApprovingofficerID", "RequestedBy", "ItemID",    "Description", "UnitOfMeasure",
          "Quantity",           "UnitCost",    "ForRetail", "isADS",       "OnHand",
          "Lotnumber"})
        EXPECT_TRUE(rs.hasField(QLatin1String(column))) << column;

    EXPECT_EQ(rs.text("DocumentNumber"), QStringLiteral("1001"));
    EXPECT_EQ(rs.text("Remarks"), QStringLiteral("Weekly replenishment of ward supplies"));
    EXPECT_EQ(rs.field("Transdate").toDateTime(), at(12, 1, 8, 30));
    EXPECT_EQ(rs.text("LocationID"), QStringLiteral("21"));
    EXPECT_EQ(rs.text("Location"), QStringLiteral("Central Warehouse"));
    EXPECT_EQ(rs.text("TargetLocationID"), QStringLiteral("18"));
    EXPECT_EQ(rs.text("TLocation"), QStringLiteral("Medical Ward"));
    EXPECT_TRUE(rs.field("isRequest").isNull());

    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1019"));
    EXPECT_EQ(rs.text("Description"), QStringLiteral("SYRINGE 3ML DISPOSABLE WITH NEEDLE G23"));
    EXPECT_EQ(rs.text("UnitOfMeasure"), QStringLiteral("PIECE"));
    EXPECT_DOUBLE_EQ(rs.field("Quantity").toDouble(), 50);
    EXPECT_DOUBLE_EQ(rs.field("UnitCost").toDouble(), 4.5);
    EXPECT_EQ(rs.text("ForRetail"), QStringLiteral("N"));
    EXPECT_FALSE(rs.field("isADS").toBool());
    EXPECT_DOUBLE_EQ(rs.field("OnHand").toDouble(), 500); // the warehouse's stock

    rs.moveNext();
    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1024"));
    rs.moveNext();
    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1025"));
    EXPECT_EQ(rs.text("UnitOfMeasure"), QStringLiteral("PACK"));
}

TEST_F(LoadRequestTest, ReturnCarriesItsFlagAndLotNumbersComeBack)
{
    EXPECT_FALSE(
        first(LoadRequestStatement(QStringLiteral("1007")), QStringLiteral("isRequest")).toBool());
    EXPECT_EQ(texts(LoadRequestStatement(QStringLiteral("1008")), QStringLiteral("Lotnumber")),
              (QStringList {"AL-2611", "DS-0926"}));
}

TEST_F(LoadRequestTest, OfficersDepartmentAndSectionByName)
{
    exec(QStringLiteral(" update INVENTORY..tbInvWithdrawRequest  set ApprovingOfficerID = "
                        "'VERIFY',  DepartmentID = 'D01' , SectionID = 'S012' ,  Requestedby = "
                        "'NURSE1' where documentnumber =  '1001' "));
    db::Recordset rs = run(LoadRequestStatement(QStringLiteral("1001")));
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.text("Department"), QStringLiteral("Internal Medicine"));
    EXPECT_EQ(rs.text("Section"), QStringLiteral("Medical Ward B"));
    EXPECT_EQ(rs.text("ApprovingofficerID"), QStringLiteral("VERIFY"));
    EXPECT_EQ(rs.text("RequestedBy"), QStringLiteral("NURSE1"));
}

TEST_F(LoadRequestTest, ConsolidationDocumentLoadsFromItsOwnTable)
{
    EXPECT_EQ(texts(LoadRequestStatement(QStringLiteral("900")), QStringLiteral("ItemID")),
              (QStringList {"1019", "1028"}));
}

TEST_F(LoadRequestTest, NullQuantityComesBackNull)
{
    exec(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, "
                        "LocationID, TargetLocationID, TransDate, UserID, Remarks) Values "
                        "('2001','1001','21','18','12/08/2026 10:15:00 AM','DEMO','x')"));
    db::Recordset rs = run(LoadRequestStatement(QStringLiteral("2001")));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field("Quantity").isNull());
    EXPECT_TRUE(rs.field("UnitCost").isNull());
}

TEST_F(LoadRequestTest, RequestOrderLinesAndHeader)
{
    const QString number = QStringLiteral("RO-2026-1");
    db::Recordset lines = run(RequestOrderLinesStatement(number));
    ASSERT_EQ(lines.recordCount(), 2);
    EXPECT_EQ(lines.fieldCount(), 6);
    if (lines.text("itemid") != QLatin1String("1008"))
        lines.moveNext(); // the statement has no order of its own
    EXPECT_EQ(lines.text("itemid"), QStringLiteral("1008"));
    EXPECT_EQ(lines.text("Itemname"), QStringLiteral("LOSARTAN"));
    EXPECT_EQ(lines.field("UOM").toInt(), 6);
    EXPECT_DOUBLE_EQ(lines.field("qty").toDouble(), 200);
    EXPECT_DOUBLE_EQ(lines.field("TotalCost").toDouble(), 1100);

    db::Recordset header = run(RequestOrderHeaderStatement(number));
    ASSERT_EQ(header.recordCount(), 1);
    EXPECT_EQ(header.text("location"), QStringLiteral("Central Warehouse"));
    EXPECT_EQ(header.text("tlocation"), QStringLiteral("Medical Ward"));
    EXPECT_EQ(header.field("transdate").toDateTime(), at(12, 1, 8, 31));
    EXPECT_EQ(header.text("documentnumber"), number);
}

// ----- blocked quantity ------------------------------------------------------------------------

struct BlockedCase
{
    const char *item;
    const char *location;
    double blocked;
};

class BlockedQtyTest : public StatementTest, public ::testing::WithParamInterface<BlockedCase>
{
};

TEST_P(BlockedQtyTest, ExpiredPlusDamagedPlusReserved)
{
    const QString sql = QStringLiteral(" select inventory.dbo.fn_inv_getExpiredQty( "
                                       "itemid,locationid) + isnull(DamagedQty,0) +  "
                                       "isnull(ReservedQty,0)  as BlockedQty")
        + QStringLiteral(" from inventory..tbinvent ") + QStringLiteral(" where locationid = '")
        + QLatin1String(GetParam().location) + QStringLiteral("' ")
        + QStringLiteral(" and itemid = '") + QLatin1String(GetParam().item) + QStringLiteral("' ");
    db::Recordset rs = run(sql);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.field("BlockedQty").toDouble(), GetParam().blocked);
}

INSTANTIATE_TEST_SUITE_P(Demo, BlockedQtyTest,
                         ::testing::Values(BlockedCase {"1001", "21", 27}, // 12 + 5 + 10
                                           BlockedCase {"1014", "119", 4}, // expired lot only
                                           BlockedCase {"1029", "21", 0}, // lot not expired
                                           BlockedCase {"1002", "21", 0}));

TEST_F(BlockedQtyTest, LotExpiringLaterTodayIsNotYetBlocked)
{
    exec(QStringLiteral("Insert INVENTORY..tbInvItemLot (ItemID, LocationID, LotNumber, "
                        "ExpiryDate, Quantity) Values ('1002','21','AM-1','12/08/2026 10:14:59 "
                        "AM',7), ('1002','21','AM-2','12/08/2026 10:15:01 AM',9)"));
    EXPECT_DOUBLE_EQ(first(QStringLiteral("select inventory.dbo.fn_inv_getExpiredQty('1002', "
                                          "'21') as Expired"),
                           QStringLiteral("Expired"))
                         .toDouble(),
                     7);
}

// ----- pending request test --------------------------------------------------------------------

struct PendingCase
{
    const char *name;
    const char *item;
    const char *target;
    const char *docNum;
    const char *roDocNum;
    bool pending;
};

class ItemPendingTest : public StatementTest, public ::testing::WithParamInterface<PendingCase>
{
};

TEST_P(ItemPendingTest, OpenRequestOrRequestOrderOfTheRequestingLocation)
{
    const PendingCase &c = GetParam();
    const QString sql = QStringLiteral("select itemid from inventory..tbInvWithdrawRequest ")
        + QStringLiteral(" Where ItemID = '") + QLatin1String(c.item) + QStringLiteral("' ")
        + QStringLiteral(" and TargetLocationID = '") + QLatin1String(c.target)
        + QStringLiteral("' ")
        + QStringLiteral(" and isnull(Status,'') = ''  and documentnumber <> '")
        + QLatin1String(c.docNum) + QStringLiteral("'") + QStringLiteral(" Union All ")
        + QStringLiteral(" select itemid from inventory..tbinvRequestOrder ")
        + QStringLiteral(" Where ItemID = '") + QLatin1String(c.item) + QStringLiteral("' ")
        + QStringLiteral(" and TargetLocationID = '") + QLatin1String(c.target)
        + QStringLiteral("' ")
        + QStringLiteral(" and ISNULL(status,'') = ''  and documentnumber <> '")
        + QLatin1String(c.roDocNum) + QStringLiteral("'");
    EXPECT_EQ(rowCount(sql) > 0, c.pending);
}

INSTANTIATE_TEST_SUITE_P(
    Demo, ItemPendingTest,
    ::testing::Values(PendingCase {"OpenRequest", "1019", "18", "NEW", "NEW", true},
                      PendingCase {"OwnRequestExcluded", "1019", "18", "1001", "NEW", false},
                      PendingCase {"ProcessedRequestIsNotOpen", "1021", "18", "NEW", "NEW", false},
                      PendingCase {"DeletedRequestIsNotOpen", "1004", "18", "NEW", "NEW", false},
                      PendingCase {"OtherLocation", "1019", "19", "NEW", "NEW", false},
                      PendingCase {"OpenRequestOrder", "1008", "18", "NEW", "NEW", true},
                      PendingCase {"OwnRequestOrderExcluded", "1008", "18", "NEW", "RO-2026-1",
                                   false},
                      PendingCase {"ProcessedRequestOrder", "1023", "19", "NEW", "NEW", false}),
    [](const auto &info) { return std::string(info.param.name); });

// ----- plan balance ----------------------------------------------------------------------------

struct PlanCase
{
    const char *location;
    const char *item;
    double ppmp;
};

class PlanBalanceTest : public StatementTest, public ::testing::WithParamInterface<PlanCase>
{
};

TEST_P(PlanBalanceTest, RequestingLocationsPlanOrZero)
{
    const QString sql = QStringLiteral("select inventory.dbo.fn_InvReq_GetPPMP( '")
        + QLatin1String(GetParam().location) + QStringLiteral("', '")
        + QLatin1String(GetParam().item) + QStringLiteral("' ) as PPMP");
    db::Recordset rs = run(sql);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.field("PPMP").toDouble(), GetParam().ppmp);
}

INSTANTIATE_TEST_SUITE_P(Demo, PlanBalanceTest,
                         ::testing::Values(PlanCase {"18", "1001", 240},
                                           PlanCase {"23", "1014", 300},
                                           PlanCase {"18", "1004", 0}, // used up
                                           PlanCase {"21", "1001", 0}, // no plan
                                           PlanCase {"18", "9999", 0}, // no such item
                                           PlanCase {"30", "1001", 0})); // not carried

} // namespace
