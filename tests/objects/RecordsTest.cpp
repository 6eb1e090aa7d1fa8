// The record classes against the demo hospital: what each load sends and what it leaves behind.
#include "session/LoggedInTest.h"

#include "objects/clsEmployee.h"
#include "objects/clsGeneric.h"
#include "objects/clsItem.h"
#include "objects/clsItemClass.h"
#include "objects/clsItemMaster.h"
#include "objects/clsLocation.h"
#include "objects/clsSupplier.h"
#include "objects/clsUnitOfMeasure.h"

using testing_support::LoggedInTest;

namespace {

class RecordsTest : public LoggedInTest
{
protected:
    // How many statements sent since the last clear contain the text.
    int sent(const QString &fragment) const
    {
        return static_cast<int>(
            std::count_if(statements.begin(), statements.end(),
                          [&](const QString &s) { return s.contains(fragment); }));
    }
};

TEST_F(RecordsTest, ItemLoadsItsFiguresOnceWhateverTheLocation)
{
    clsItem item;
    item.setActiveConnection(database);
    ASSERT_TRUE(item.LoadItem(QStringLiteral("1001"), QStringLiteral("21")));
    EXPECT_EQ(statements,
              QStringList {QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '1001','21'")});
    EXPECT_DOUBLE_EQ(item.OnHand, 500);
    EXPECT_DOUBLE_EQ(item.MaxStock, 50);
    EXPECT_DOUBLE_EQ(item.MinimumStockLevel, item.MaxStock);
    EXPECT_EQ(item.AverageCost, format::Currency::fromText(QStringLiteral("2.35")));
    EXPECT_EQ(item.UOM, 6);
    EXPECT_EQ(item.UOMDescription, QStringLiteral("TABLET"));
    EXPECT_EQ(item.LastInventoryCount.date(), QDate(2026, 1, 15));
    EXPECT_EQ(item.ExpiryDate.date(), QDate(1899, 12, 30)); // null: the zero date
    EXPECT_TRUE(item.IsFloor);
    EXPECT_DOUBLE_EQ(item.Ceiling, 800);

    statements.clear();
    EXPECT_TRUE(item.LoadItem(QStringLiteral("1001"), QStringLiteral("119")));
    EXPECT_TRUE(statements.isEmpty());
    EXPECT_DOUBLE_EQ(item.OnHand, 500);
}

TEST_F(RecordsTest, ItemWithoutALocationRowLoadsAsFalseAndEmpty)
{
    clsItem item;
    item.setActiveConnection(database);
    ASSERT_TRUE(item.LoadItem(QStringLiteral("1001"), QStringLiteral("21")));
    EXPECT_FALSE(item.LoadItem(QStringLiteral("1030"), QStringLiteral("119")));
    EXPECT_EQ(item.ItemID, QString());
    EXPECT_DOUBLE_EQ(item.OnHand, 0);
    EXPECT_EQ(item.AverageCost, format::Currency());
    // A quote in the code is sent as data.
    statements.clear();
    EXPECT_FALSE(item.LoadItem(QStringLiteral("O'1"), QStringLiteral("21")));
    EXPECT_EQ(statements.value(0),
              QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent 'O''1','21'"));
    // A blank code resets without a statement.
    statements.clear();
    EXPECT_TRUE(item.LoadItem(QStringLiteral("  ")));
    EXPECT_TRUE(statements.isEmpty());
}

TEST_F(RecordsTest, SubRecordsLoadOnFirstUseAndAfreshForANewItem)
{
    clsItem item;
    item.setActiveConnection(database);
    ASSERT_TRUE(item.LoadItem(QStringLiteral("1001"), QStringLiteral("21")));
    statements.clear();
    EXPECT_EQ(item.ItemMaster().ItemName, QStringLiteral("PARACETAMOL"));
    EXPECT_EQ(item.ItemMaster().Supplier().SupplierName,
              QStringLiteral("Northfield Pharma Supply"));
    EXPECT_EQ(item.ItemMaster().Supplier().Terms().NumberOfDays, 30);
    EXPECT_EQ(item.ItemMaster().Supplier().Terms().Description, QStringLiteral("30 Days"));
    EXPECT_EQ(item.ItemMaster().Manufacturer().SupplierID, QStringLiteral("S002"));
    EXPECT_EQ(item.ItemMaster().Generic().Classification(),
              QStringLiteral("Analgesics and Antipyretics"));
    EXPECT_EQ(item.Location().Description, QStringLiteral("Central Warehouse"));
    EXPECT_EQ(sent(QStringLiteral("tbInvMaster")), 1);
    EXPECT_EQ(sent(QStringLiteral("tbInvTerms")), 1);
    EXPECT_EQ(sent(QStringLiteral("tbInvSupplier")), 2); // supplier and manufacturer

    ASSERT_TRUE(item.LoadItem(QStringLiteral("1019"), QStringLiteral("21")));
    EXPECT_EQ(item.ItemMaster().Supplier().SupplierName,
              QStringLiteral("Eastgate Surgical Supply"));
    // A supplier without terms asks for none.
    statements.clear();
    EXPECT_EQ(item.ItemMaster().Supplier().Terms().Code, 0);
    EXPECT_TRUE(statements.isEmpty());
}

TEST_F(RecordsTest, MasterNullsGiveTheirDefaults)
{
    clsItemMaster master;
    master.setActiveConnection(database);
    ASSERT_TRUE(master.LoadItem(QStringLiteral("1019")));
    EXPECT_EQ(master.EndorseMedicine, QStringLiteral("X"));
    EXPECT_EQ(master.MedicareType, QStringLiteral("N"));
    EXPECT_EQ(master.MedicareCategory, QStringLiteral("A"));
    EXPECT_EQ(master.ListCost, format::Currency::fromText(QStringLiteral("4.5")));
    statements.clear();
    EXPECT_TRUE(master.LoadItem(QStringLiteral("1019")));
    EXPECT_TRUE(statements.isEmpty());
    EXPECT_FALSE(master.LoadItem(QStringLiteral("NOSUCH")));
    EXPECT_EQ(master.ItemName, QString());
}

class RetailTest : public RecordsTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(RetailTest, RetailFlagOnlyAtTheSiteThatUsesIt)
{
    Session.ClientName = QLatin1String(GetParam());
    clsItemMaster master;
    master.setActiveConnection(database);
    ASSERT_TRUE(master.LoadItem(QStringLiteral("1001"))); // isRetail 1
    EXPECT_EQ(master.IsRetail, Session.ClientName == QLatin1String("TKRL"));
}

INSTANTIATE_TEST_SUITE_P(Sites, RetailTest, ::testing::Values("TKRL", "Q4VH", ""));

TEST_F(RecordsTest, LocationWithNullFlagsIsNoPlainWard)
{
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvLocation (LocationID, Location) VALUES "
                       "('77', 'TEMPORARY WARD')"));
    clsLocation location;
    location.setActiveConnection(database);
    ASSERT_TRUE(location.LoadLocation(QStringLiteral("77")));
    EXPECT_EQ(location.IsWareHouse, 1);
    EXPECT_EQ(location.isDispensingArea, 1);
    EXPECT_EQ(location.Status, QStringLiteral("A"));
    EXPECT_FALSE(location.AllowedForPO);
    ASSERT_TRUE(location.LoadLocation(QStringLiteral("21")));
    EXPECT_EQ(location.Description, QStringLiteral("Central Warehouse"));
}

TEST_F(RecordsTest, BlankKeysSendNothing)
{
    clsUnitOfMeasure uom;
    uom.setActiveConnection(database);
    ASSERT_TRUE(uom.LoadUOM(6));
    EXPECT_EQ(uom.Description, QStringLiteral("TABLET"));
    statements.clear();
    EXPECT_TRUE(uom.LoadUOM(0));
    EXPECT_EQ(uom.Code, 0);
    EXPECT_EQ(uom.Description, QString());
    clsItemClass itemClass;
    itemClass.setActiveConnection(database);
    EXPECT_TRUE(itemClass.LoadItemClass(QStringLiteral(" ")));
    clsSupplier supplier;
    supplier.setActiveConnection(database);
    EXPECT_TRUE(supplier.LoadSupplier(QString()));
    EXPECT_TRUE(statements.isEmpty());
    EXPECT_TRUE(itemClass.LoadItemClass(QStringLiteral("OFF")));
    EXPECT_EQ(itemClass.Status, QStringLiteral("A")); // null status
}

TEST_F(RecordsTest, RefusedMasterDataLoadIsNoSuccess)
{
    sql(QStringLiteral("DROP TABLE INVENTORY..tbInvUnitOfMeasure"));
    clsUnitOfMeasure uom;
    uom.setActiveConnection(database);
    EXPECT_FALSE(uom.LoadUOM(6));
    EXPECT_EQ(prompt.shown().size(), 0);
}

TEST_F(RecordsTest, EmployeeSearchNeedsExactlyOneMatch)
{
    clsEmployee employee;
    ASSERT_TRUE(employee.Search(QStringLiteral("DEMO")));
    EXPECT_EQ(employee.CompleteName, QStringLiteral("Reyes, Ana Lopez"));
    EXPECT_EQ(employee.EmployeeID, QStringLiteral("DEMO"));
    EXPECT_FALSE(employee.Search(QStringLiteral("O'NOBODY")));
    EXPECT_EQ(statements.last(), QStringLiteral("inventory..sp_Inv_SearchEmployee 'O''NOBODY'"));
    for (const QString &field : {employee.EmployeeID, employee.LastName, employee.FirstName,
                                 employee.MiddleName, employee.CompleteName})
        EXPECT_EQ(field, QString());

    // A database that also matches on names: two employees answer, though one has the id typed.
    ASSERT_TRUE(employee.Search(QStringLiteral("DEMO")));
    sql(QStringLiteral("DROP PROCEDURE dbo.sp_Inv_SearchEmployee"));
    sql(QStringLiteral(
        "CREATE PROCEDURE dbo.sp_Inv_SearchEmployee @EmployeeID varchar(20) AS BEGIN "
        "SELECT E.EmployeeID, E.LastName, E.FirstName, E.MiddleName, [Employee Name] = "
        "E.LastName FROM Password..tbPasswordMain E WHERE E.EmployeeID = @EmployeeID OR "
        "E.LastName = 'Garcia' END"));
    EXPECT_FALSE(employee.Search(QStringLiteral("10023")));
    EXPECT_EQ(employee.EmployeeID, QString());
    EXPECT_EQ(employee.CompleteName, QString());
}

} // namespace

namespace {

TEST_F(RecordsTest, MasterUpdateWritesANewItemThenChangesIt)
{
    clsItemMaster master;
    master.setActiveConnection(database);
    master.ItemName = QStringLiteral("O'HARA GAUZE");
    master.ListCost = format::Currency::fromText(QStringLiteral("22.5"));
    master.Packing = 12;
    ASSERT_TRUE(master.Update());
    EXPECT_EQ(master.ItemID, QStringLiteral("1041")); // the next number
    master.ItemDesc = QStringLiteral("4 INCH");
    ASSERT_TRUE(master.Update());

    clsItemMaster stored;
    stored.setActiveConnection(database);
    ASSERT_TRUE(stored.LoadItem(QStringLiteral("1041")));
    EXPECT_EQ(stored.ItemName, QStringLiteral("O'HARA GAUZE"));
    EXPECT_EQ(stored.ItemDesc, QStringLiteral("4 INCH"));
    EXPECT_EQ(stored.ListCost, master.ListCost);
    EXPECT_EQ(stored.Packing, 12);
    EXPECT_EQ(statements.filter(QStringLiteral("Insert Into INVENTORY..tbInvMaster ")).size(), 1);
    EXPECT_TRUE(
        statements.filter(QStringLiteral("Update INVENTORY..tbInvMaster Set ItemName = 'O''HARA"))
            .size()
        == 1);
}

} // namespace
