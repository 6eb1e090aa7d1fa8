// The record classes' statements: an item at a location, the item master with its new-number
// draw, insert and update, the master-data records and the employee search.
#include "StatementTest.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

// ----- item at a location ----------------------------------------------------------------------

using ItemRecordTest = StatementTest;

TEST_F(ItemRecordTest, OneRowWithEveryFigureTheRecordReads)
{
    db::Recordset rs = run(QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '1001','21'"));
    ASSERT_EQ(rs.recordCount(), 1);
    for (const char *column : {"ItemID",
                               "LocationID",
                               "Markup_In",
                               "Markup_Out",
                               "NetAmount",
                               "OnHand",
                               "MinStockLevel",
                               "OnOrder",
                               "SellingPriceIn",
                               "SellingPriceOut",
                               "ItemStatus",
                               "AverageCost",
                               "AveConsumption",
                               "LastInventoryCount",
                               "ExpiryDate",
                               "NewGLCode",
                               "POMonthsToDeliver",
                               "MinimumOrAverage",
                               "StartDate",
                               "EndDate",
                               "ListCost",
                               "UnitOfMeasureID",
                               "UnitOfMeasure",
                               "Last DDate",
                               "Last Qty",
                               "Packing",
                               "IsFloor",
                               "IsCeiling",
                               "Floor",
                               "Ceiling",
                               "IsADSStock",
                               "ADSStock"})
        EXPECT_TRUE(rs.hasField(QLatin1String(column))) << column;

    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1001"));
    EXPECT_EQ(rs.text("LocationID"), QStringLiteral("21"));
    EXPECT_DOUBLE_EQ(rs.field("OnHand").toDouble(), 500);
    EXPECT_DOUBLE_EQ(rs.field("MinStockLevel").toDouble(), 50);
    EXPECT_DOUBLE_EQ(rs.field("AverageCost").toDouble(), 2.35);
    EXPECT_DOUBLE_EQ(rs.field("ListCost").toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(rs.field("NetAmount").toDouble(), 1175);
    EXPECT_EQ(rs.field("UnitOfMeasureID").toInt(), 6);
    EXPECT_EQ(rs.text("UnitOfMeasure"), QStringLiteral("TABLET"));
    EXPECT_EQ(rs.field("Packing").toInt(), 100);
    EXPECT_EQ(rs.field("Markup_In").toInt(), 20);
    EXPECT_EQ(rs.field("LastInventoryCount").toDateTime(), at(1, 15, 8, 0));
    EXPECT_TRUE(rs.field("Last DDate").isNull());
    EXPECT_EQ(rs.text("StartDate"), QStringLiteral("01/01/2026"));
    EXPECT_DOUBLE_EQ(rs.field("Ceiling").toDouble(), 800);
    EXPECT_FALSE(rs.field("IsADSStock").toBool());
}

TEST_F(ItemRecordTest, AutomaticDeliveryStockAndLastDelivery)
{
    db::Recordset ads = run(QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '1011','21'"));
    ASSERT_EQ(ads.recordCount(), 1);
    EXPECT_TRUE(ads.field("IsADSStock").toBool());
    EXPECT_DOUBLE_EQ(ads.field("ADSStock").toDouble(), 50);

    db::Recordset ward = run(QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '1019','18'"));
    ASSERT_EQ(ward.recordCount(), 1);
    EXPECT_EQ(ward.field("Last DDate").toDateTime(), at(11, 3, 14, 0));
    EXPECT_DOUBLE_EQ(ward.field("Last Qty").toDouble(), 50);
}

struct ItemAtCase
{
    const char *call;
    QStringList locations;
};

class ItemLocationsTest : public StatementTest, public ::testing::WithParamInterface<ItemAtCase>
{
};

TEST_P(ItemLocationsTest, OneRowPerLocationCarryingTheItem)
{
    EXPECT_EQ(texts(QLatin1String(GetParam().call), QStringLiteral("LocationID")),
              GetParam().locations);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ItemLocationsTest,
    ::testing::Values(ItemAtCase {"Inventory..sp_Inv_SearchItem_In_Invent '1001',''",
                                  {"119", "18", "19", "20", "21", "22", "23", "94"}},
                      ItemAtCase {"Inventory..sp_Inv_SearchItem_In_Invent '1001'",
                                  {"119", "18", "19", "20", "21", "22", "23", "94"}},
                      ItemAtCase {"Inventory..sp_Inv_SearchItem_In_Invent '1001','30'", {}},
                      ItemAtCase {"Inventory..sp_Inv_SearchItem_In_Invent '9999','21'", {}},
                      ItemAtCase {"Inventory..sp_Inv_SearchItem_In_Invent 'p1024','18'", {"18"}}));

// ----- item master -----------------------------------------------------------------------------

using ItemMasterTest = StatementTest;

TEST_F(ItemMasterTest, MasterRowWithItsNullDefaults)
{
    db::Recordset rs
        = run(QStringLiteral("Select * From INVENTORY..tbInvMaster Where ItemID = '1019'"));
    ASSERT_EQ(rs.recordCount(), 1);
    for (const char *column : {"ItemID",          "ItemName",       "ItemDesc",
                               "MarkupIn",        "MarkupOut",      "DownTime",
                               "ListCost",        "Freight",        "SalesTax",
                               "ItemStatus",      "Packing",        "VAT",
                               "BarCode",         "SupplierID",     "ItemClassificationID",
                               "UnitOfMeasureID", "OralInject",     "AverageCost",
                               "GenericID",       "ManufacturerID", "IsSeniorDiscounted",
                               "WithLotNumber",   "MedicareType",   "MedicareCategory",
                               "GLCode",          "isRetail"})
        EXPECT_TRUE(rs.hasField(QLatin1String(column))) << column;
    EXPECT_TRUE(rs.field("OralInject").isNull());
    EXPECT_TRUE(rs.field("MedicareType").isNull());
    EXPECT_TRUE(rs.field("MedicareCategory").isNull());
    EXPECT_EQ(rs.text("BarCode"), QStringLiteral("4800001000196"));
    EXPECT_DOUBLE_EQ(rs.field("ListCost").toDouble(), 4.5);
}

TEST_F(ItemMasterTest, NewItemNumberIgnoresThePieceMark)
{
    const QString sql = QStringLiteral(
        "Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) ) + 1)  as MaxCode "
        "From INVENTORY..tbInvMaster");
    EXPECT_EQ(first(sql, QStringLiteral("MaxCode")).toString(), QStringLiteral("1041"));
    exec(QStringLiteral("Insert Into INVENTORY..tbInvMaster (ItemID, ItemName) Values "
                        "('P1500','PIECE')"));
    EXPECT_EQ(first(sql, QStringLiteral("MaxCode")).toString(), QStringLiteral("1501"));
}

TEST_F(ItemMasterTest, InsertThenUpdateOfAMasterRow)
{
    exec(QStringLiteral(
        "Insert Into INVENTORY..tbInvMaster (ItemID, ItemName, ItemDesc, SupplierId, MarkupIn, "
        "MarkupOut, DownTime, Listcost, ItemClassificationID, ItemStatus, UnitOfMeasureID, "
        "Packing, BarCode, MedicareType, IncludeInStatement, OralInject, AverageCost, "
        "ManufacturerID, IsSeniorDiscounted, WithLOTNumber, MedicareCategory, GLCode) Values "
        "('1041', 'GAUZE ROLL', '4 INCH', 'S003', 15, 25, 0.00, 22.5000, 'SUP', 0, 9, 12, '', "
        "'N', 1, 'X', 21.0000, '', 0, 0, 'A', '1-04-03')"));
    exec(QStringLiteral("Update INVENTORY..tbInvMaster Set ItemName = 'GAUZE ROLL', ItemDesc = "
                        "'4 INCH STERILE', Listcost = 23.0000, ItemClass = 'G' Where ItemID = "
                        "'1041'"));
    db::Recordset rs
        = run(QStringLiteral("Select * From INVENTORY..tbInvMaster Where ItemID = '1041'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("ItemDesc"), QStringLiteral("4 INCH STERILE"));
    EXPECT_DOUBLE_EQ(rs.field("ListCost").toDouble(), 23);
    EXPECT_TRUE(rs.field("IncludeInStatement").toBool());
    EXPECT_EQ(rowCount(QStringLiteral("Select ItemID From INVENTORY..tbInvMaster Where ItemID = "
                                      "'1041'")),
              1);
}

// ----- master-data records ---------------------------------------------------------------------

using MasterDataTest = StatementTest;

TEST_F(MasterDataTest, LocationWithNullFlags)
{
    exec(QStringLiteral("Insert INVENTORY..tbInvLocation (LocationID, Location) Values ('77', "
                        "'Temporary Ward')"));
    db::Recordset rs
        = run(QStringLiteral("Select * From INVENTORY..tbInvLocation Where LocationID = '77'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field("IsWareHouse").isNull());
    EXPECT_TRUE(rs.field("isDispensingArea").isNull());
    EXPECT_TRUE(rs.field("AllowOrder").isNull());
    EXPECT_TRUE(rs.field("Status").isNull());
}

TEST_F(MasterDataTest, SupplierAndItsTerms)
{
    db::Recordset supplier
        = run(QStringLiteral("Select * From INVENTORY..tbInvSupplier Where SupplierID = 'S001'"));
    ASSERT_EQ(supplier.recordCount(), 1);
    EXPECT_EQ(supplier.text("SupplierName"), QStringLiteral("Northfield Pharma Supply"));
    EXPECT_EQ(supplier.field("TermsID").toInt(), 2);
    EXPECT_TRUE(supplier.field("isVAT").toBool());
    EXPECT_TRUE(first(QStringLiteral("Select * From INVENTORY..tbInvSupplier Where SupplierID = "
                                     "'S003'"),
                      QStringLiteral("TermsID"))
                    .isNull());

    db::Recordset terms = run(
        QStringLiteral("Select * From INVENTORY..tbInvTerms Where TermsID = 2 or Terms = ''"));
    ASSERT_EQ(terms.recordCount(), 1);
    EXPECT_EQ(terms.text("Terms"), QStringLiteral("30 Days"));
    EXPECT_EQ(terms.field("Nodays").toInt(), 30);
    EXPECT_EQ(texts(QStringLiteral("Select * From INVENTORY..tbInvTerms Where TermsID = 0 or "
                                   "Terms = '60 days'"),
                    QStringLiteral("TermsID")),
              QStringList {QStringLiteral("3")});
}

TEST_F(MasterDataTest, UnitOfMeasureAndClassification)
{
    EXPECT_EQ(first(QStringLiteral("Select * From INVENTORY..tbInvUnitOfMeasure Where "
                                   "UnitOfMeasureID = 6"),
                    QStringLiteral("UnitOfMeasure"))
                  .toString(),
              QStringLiteral("TABLET"));
    db::Recordset rs = run(QStringLiteral(
        "Select * From INVENTORY..tbInvClassification Where ItemClassificationID = 'EQP'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("ItemClassificationName"), QStringLiteral("Medical Equipment"));
    EXPECT_TRUE(rs.field("IsFixedAsset").toBool());
    EXPECT_TRUE(first(QStringLiteral("Select * From INVENTORY..tbInvClassification Where "
                                     "ItemClassificationID = 'OFF'"),
                      QStringLiteral("Status"))
                    .isNull());
}

struct GenericCase
{
    const char *id;
    const char *name;
    const char *classification;
};

class GenericTest : public StatementTest, public ::testing::WithParamInterface<GenericCase>
{
};

TEST_P(GenericTest, ClassificationByTheNodeKeyUpToItsFirstDot)
{
    const QString sql = QStringLiteral(" Select C.GenericID, C.GenericName, D.ClassificationName ")
        + QStringLiteral(" From inventory..tbforGeneric C Left Outer Join ")
        + QStringLiteral(" inventory..tbforClassification D ON SubString(C.Node_Key,1,Case When "
                         "PatIndex('%.%',C.Node_Key) = 0 Then 1 Else PatIndex('%.%',C.Node_Key) "
                         "-1 End ) = D.Node_Key ")
        + QStringLiteral(" Where C.GenericID = '") + QLatin1String(GetParam().id)
        + QStringLiteral("'");
    db::Recordset rs = run(sql);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("GenericName"), QLatin1String(GetParam().name));
    EXPECT_EQ(rs.text("ClassificationName"), QLatin1String(GetParam().classification));
}

INSTANTIATE_TEST_SUITE_P(
    Demo, GenericTest,
    ::testing::Values(GenericCase {"G001", "Paracetamol", "Analgesics and Antipyretics"},
                      GenericCase {"G002", "Amoxicillin", "Anti-infectives"},
                      GenericCase {"G003", "Ascorbic Acid", "Vitamins and Minerals"},
                      GenericCase {"G004", "Amlodipine", "Cardiovascular Drugs"}));

// ----- employee record -------------------------------------------------------------------------

struct EmployeeCase
{
    const char *typed;
    int rows;
    const char *completeName;
};

class EmployeeSearchTest : public StatementTest, public ::testing::WithParamInterface<EmployeeCase>
{
};

TEST_P(EmployeeSearchTest, ExactIdGivesOneRowWithTheDisplayName)
{
    db::Recordset rs
        = run(QStringLiteral("inventory..sp_Inv_SearchEmployee '")
              + db::quoteInner(QString::fromLatin1(GetParam().typed)) + QStringLiteral("'"));
    ASSERT_EQ(rs.recordCount(), GetParam().rows);
    if (rs.eof())
        return;
    EXPECT_EQ(rs.text("Employee Name"), QLatin1String(GetParam().completeName));
    for (const char *column : {"LastName", "FirstName", "MiddleName"})
        EXPECT_TRUE(rs.hasField(QLatin1String(column))) << column;
}

INSTANTIATE_TEST_SUITE_P(Ids, EmployeeSearchTest,
                         ::testing::Values(EmployeeCase {"DEMO", 1, "Reyes, Ana Lopez"},
                                           EmployeeCase {"demo", 1, "Reyes, Ana Lopez"},
                                           EmployeeCase {"PHARM1", 1, "Mendoza, Paolo"},
                                           EmployeeCase {"10023", 1, "Garcia, Carlo"},
                                           EmployeeCase {"DEM", 0, ""}, EmployeeCase {"", 0, ""},
                                           EmployeeCase {"DE'MO", 0, ""}));

} // namespace
