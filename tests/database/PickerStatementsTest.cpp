// The pickers' statements: item lookup in both forms, previous transactions, the annual plan
// list and its categories, the employee list and the kit components.
#include "StatementTest.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

// ----- item lookup -----------------------------------------------------------------------------

QString searchCondition(const QString &typed)
{
    const QString text = typed.trimmed();
    bool numeric = false;
    text.toDouble(&numeric);
    if (numeric)
        return QStringLiteral(" A.ItemID = '") + db::quoteInner(text) + QStringLiteral("' ");
    return QStringLiteral(" A.ItemName Like '") + db::quoteInner(text.toUpper())
        + (text.isEmpty() ? QString() : QStringLiteral("%")) + QStringLiteral("%'");
}

QString masterLookup(const QString &typed)
{
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
        + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier, A.MarkupIn As "
                         "[In-Patient Markup], A.MarkupOut As [Out-Patient Markup],")
        + QStringLiteral("Case when A.ItemStatus = 1 then 'Inactive' Else 'Active' End  As Status, "
                         "A.Packing, A.ListCost,  ")
        + QStringLiteral("C.ItemClassificationName ")
        + QStringLiteral("From INVENTORY..tbInvMaster A ")
        + QStringLiteral(
               "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
        + QStringLiteral("Left Outer Join INVENTORY..tbInvClassification C ON "
                         "A.ItemClassificationID = C.ItemClassificationID ")
        + QStringLiteral(" Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and "
                         "IsNull(C.IsFixedAsset,0) <> 1 and ")
        + searchCondition(typed) + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
}

QString locationLookup(const QString &supplying, const QString &requesting, const QString &typed)
{
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
        + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier,e.OnHand, "
                         "D.Markup_In As [In-Patient Markup], D.Markup_Out As [Out-Patient "
                         "Markup],")
        + QStringLiteral("Case when D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As Status, "
                         "A.Packing, A.ListCost,  ")
        + QStringLiteral("C.ItemClassificationName ")
        + QStringLiteral("From INVENTORY..tbInvMaster A ")
        + QStringLiteral("Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID ")
        + QStringLiteral(
               "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
        + QStringLiteral("Left Outer join INVENTORY..tbInvClassification C ON "
                         "A.ItemClassificationID = C.ItemClassificationID ")
        + QStringLiteral("outer apply(select isnull(onhand,0) as onhand from inventory..tbinvent "
                         "where locationid = '")
        + requesting + QStringLiteral("' and itemid = a.itemid) as E ")
        + QStringLiteral("Where D.LocationID = '") + supplying
        + QStringLiteral("' and D.ItemID in (Select itemID from INVENTORY..tbinvent where "
                         "locationid = '")
        + requesting + QStringLiteral("' and itemStatus = 0) and ")
        + QStringLiteral(" ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = 0 or "
                         "A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ")
        + searchCondition(typed) + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
}

struct LookupCase
{
    const char *name;
    const char *supplying; // empty: the item-master search
    const char *requesting;
    const char *typed;
    QStringList codes;
};

class ItemLookupTest : public StatementTest, public ::testing::WithParamInterface<LookupCase>
{
protected:
    QString statement() const
    {
        const LookupCase &c = GetParam();
        const QString typed = QString::fromLatin1(c.typed);
        return *c.supplying
            ? locationLookup(QLatin1String(c.supplying), QLatin1String(c.requesting), typed)
            : masterLookup(typed);
    }
};

TEST_P(ItemLookupTest, FindsActiveItemsByCodeOrNameStart)
{
    EXPECT_EQ(texts(statement(), QStringLiteral("Code")), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Searches, ItemLookupTest,
    ::testing::Values(LookupCase {"NameStart", "", "", "PARA", {"1016", "1001"}},
                      LookupCase {"NameStartLowerCase", "", "", "para", {"1016", "1001"}},
                      LookupCase {"NameIsNoContains", "", "", "MOL", {}},
                      LookupCase {"NumericIsExactCode", "", "", "1001", {"1001"}},
                      LookupCase {"NumericNeverMatchesNames", "", "", "100", {}},
                      LookupCase {"InactiveItemHidden", "", "", "CHLOR", {}},
                      LookupCase {"FixedAssetHidden", "", "", "INFUSION", {}},
                      LookupCase {"FixedAssetCodeHidden", "", "", "1039", {}},
                      LookupCase {"QuoteInText", "", "", "O'NEIL", {}},
                      LookupCase {"AtLocations", "21", "18", "SYR", {"1019", "1020"}},
                      LookupCase {"RequestingMustCarryIt", "119", "30", "PARA", {}},
                      LookupCase {"InactiveAtRequesting", "21", "18", "LOG", {}},
                      LookupCase {"SupplierMustCarryIt", "20", "18", "CEFT", {}},
                      LookupCase {"SupplierCarriesIt", "20", "18", "CEF", {"1005"}},
                      LookupCase {"CodeAtLocations", "119", "23", "1014", {"1014"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ItemLookupTest, EmptySearchListsEveryActiveItemInNameOrder)
{
    const QStringList codes = texts(masterLookup(QString()), QStringLiteral("Code"));
    EXPECT_EQ(codes.size(), 39); // 41 items less the inactive one and the fixed asset
    EXPECT_EQ(codes.first(), QStringLiteral("1027")); // ADHESIVE TAPE
    EXPECT_FALSE(codes.contains(QStringLiteral("1038")));
    EXPECT_FALSE(codes.contains(QStringLiteral("1039")));
}

TEST_F(ItemLookupTest, LocationSearchShowsTheRequestingLocationsStock)
{
    db::Recordset rs
        = run(locationLookup(QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("1019")));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_DOUBLE_EQ(rs.field("OnHand").toDouble(), 20);
    EXPECT_EQ(rs.text("Product Name"), QStringLiteral("SYRINGE"));
    EXPECT_EQ(rs.text("Supplier"), QStringLiteral("Eastgate Surgical Supply"));
    EXPECT_EQ(rs.text("Status"), QStringLiteral("Active"));
    EXPECT_EQ(rs.field("In-Patient Markup").toInt(), 15);
    EXPECT_EQ(rs.text("ItemClassificationName"), QStringLiteral("Medical Supplies"));
}

// ----- previous transactions -------------------------------------------------------------------

QString previousList(const QString &supplying, const QString &requesting, const QString &typed)
{
    QString search = typed.trimmed();
    search.remove(QLatin1Char('\''));
    auto part = [&](const QString &stat, const QString &table) {
        return QStringLiteral("select a.Documentnumber,max(a.transdate) as Transdate, ")
            + QStringLiteral(" max(source.location) as SourceLocation, ")
            + QStringLiteral(" Max(target.location) as TargetLocation ")
            + QStringLiteral(" ,Stat = '") + stat + QStringLiteral("' ")
            + QStringLiteral(" from inventory..") + table + QStringLiteral(" a ")
            + QStringLiteral(" left join inventory..tbinvlocation as source on a.locationid = "
                             "source.locationid  ")
            + QStringLiteral(" left join inventory..tbinvlocation as target on a.targetlocationid "
                             "= target.locationid ")
            + QStringLiteral(" where a.locationid = '") + supplying + QStringLiteral("' and ")
            + QStringLiteral(" a.targetlocationid = '") + requesting + QStringLiteral("' ")
            + QStringLiteral(" and a.Documentnumber like '%") + search + QStringLiteral("%' ")
            + QStringLiteral(" group by a.documentnumber ");
    };
    return part(QStringLiteral("0"), QStringLiteral("tbinvwithdrawrequest"))
        + QStringLiteral(" UNION ALL ")
        + part(QStringLiteral("1"), QStringLiteral("tbinvwithdrawrequestConsolidation"))
        + QStringLiteral(" order by transdate desc");
}

QString previousDetails(const QString &table, const QString &document)
{
    return QStringLiteral(
               "Select A.ItemID as Code, isnull(A.ItemName,'') +  isnull(A.ItemDesc,'')  "
               "As [Product Name], ")
        + QStringLiteral("F.UnitofMeasure, ") + QStringLiteral("B.SupplierName As Supplier,")
        + QStringLiteral("C.ItemClassificationName,A.ListCost, ") + QStringLiteral(" G.Quantity, ")
        + QStringLiteral(" d.onhand, ")
        + QStringLiteral("case when isnull(a.forRetail,'1') = 0 then 'N' else 'Y' end  as "
                         "forRetail ")
        + QStringLiteral(", E.Category  ") + QStringLiteral("From inventory..") + table
        + QStringLiteral(" G ")
        + QStringLiteral("inner join INVENTORY..tbInvMaster A on G.itemid = A.itemid ")
        + QStringLiteral("Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID and "
                         "g.locationid = d.locationid ")
        + QStringLiteral(
               "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
        + QStringLiteral("Left Outer join INVENTORY..tbInvClassification C ON "
                         "A.ItemClassificationID = C.ItemClassificationID ")
        + QStringLiteral("left join inventory..tbinvUnitofMeasure F on a.unitofmeasureid = "
                         "f.unitofmeasureid ")
        + QStringLiteral("left join inventory..tbinvCategory E on a.ItemCategory = E.CategoryID ")
        + QStringLiteral("Where isnull(d.itemstatus,0) = 0 and  isnull(a.itemstatus,0) = 0  and "
                         "IsNull(C.IsFixedAsset,0) <> 1 and ")
        + QStringLiteral("   G.documentnumber = '") + document + QStringLiteral("' ");
}

using PreviousTransactionsTest = StatementTest;

TEST_F(PreviousTransactionsTest, BothTablesNewestFirstWithTheirFlag)
{
    db::Recordset rs = run(previousList(QStringLiteral("21"), QStringLiteral("18"), QString()));
    QStringList docs;
    QStringList stats;
    for (; !rs.eof(); rs.moveNext()) {
        docs << rs.text(0);
        stats << rs.text("Stat");
    }
    EXPECT_EQ(docs, (QStringList {"1012", "1001", "1003", "900"}));
    EXPECT_EQ(stats, (QStringList {"0", "0", "0", "1"}));
    rs.moveFirst();
    EXPECT_EQ(rs.field("Transdate").toDateTime(), at(12, 8, 9, 0));
    EXPECT_EQ(rs.text("SourceLocation"), QStringLiteral("Central Warehouse"));
    EXPECT_EQ(rs.text("TargetLocation"), QStringLiteral("Medical Ward"));
}

TEST_F(PreviousTransactionsTest, SearchMatchesAnywhereAndDropsQuotes)
{
    EXPECT_EQ(
        texts(previousList(QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("10'0")), 0),
        (QStringList {"1001", "1003"}));
    EXPECT_EQ(rowCount(previousList(QStringLiteral("20"), QStringLiteral("30"), QString())), 0);
}

TEST_F(PreviousTransactionsTest, ItemsWithSupplierStockAndRetailFlag)
{
    db::Recordset rs
        = run(previousDetails(QStringLiteral("tbinvwithdrawrequest"), QStringLiteral("1002")));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.fieldCount(), 10);
    if (rs.text("Code") != QLatin1String("1001"))
        rs.moveNext(); // the statement has no order of its own
    EXPECT_EQ(rs.text("Code"), QStringLiteral("1001"));
    EXPECT_EQ(rs.text("Product Name"), QStringLiteral("PARACETAMOL500MG TABLET"));
    EXPECT_EQ(rs.text("UnitofMeasure"), QStringLiteral("TABLET"));
    EXPECT_DOUBLE_EQ(rs.field("Quantity").toDouble(), 100);
    EXPECT_DOUBLE_EQ(rs.field("onhand").toDouble(), 1000); // the pharmacy's
    EXPECT_EQ(rs.text("forRetail"), QStringLiteral("Y"));
    EXPECT_EQ(rs.text("Category"), QStringLiteral("Drugs and Medicines"));

    EXPECT_EQ(texts(previousDetails(QStringLiteral("tbinvwithdrawrequest"), QStringLiteral("1001")),
                    QStringLiteral("forRetail")),
              (QStringList {"N", "N", "N"}));
    QStringList consolidated = texts(
        previousDetails(QStringLiteral("tbinvwithdrawrequestConsolidation"), QStringLiteral("900")),
        QStringLiteral("Code"));
    consolidated.sort();
    EXPECT_EQ(consolidated, (QStringList {"1019", "1028"}));
}

// ----- annual plan items -----------------------------------------------------------------------

QString planList(const QString &supplying, const QString &requesting, const QString &category,
                 const QString &listType)
{
    return QStringLiteral("inventory..sp_InvReq_LoadRequestList '") + supplying
        + QStringLiteral("', '") + requesting + QStringLiteral("', ") + QStringLiteral(" '%', '")
        + category + QStringLiteral("', ") + QStringLiteral(" '") + listType + QStringLiteral("' ");
}

using PlanItemsTest = StatementTest;

TEST_F(PlanItemsTest, CategoriesActiveWithTheirIdInTheLastHundredCharacters)
{
    db::Recordset rs = run(QStringLiteral(
        "Select  Category + space(100) + CategoryID [Category] FROM inventory..tbInvCategory Where "
        "Active = 1  and rtrim(isnull(categoryid,'')) <> '' Order by CategoryID"));
    QStringList ids;
    for (; !rs.eof(); rs.moveNext()) {
        const QString text = rs.text("Category");
        ids << text.right(100).trimmed();
    }
    EXPECT_EQ(ids, (QStringList {"C01", "C02", "C03", "C04"}));
}

TEST_F(PlanItemsTest, NineColumnsOfPlanItemsTheSupplierHolds)
{
    db::Recordset rs = run(planList(QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("%"),
                                    QStringLiteral("False")));
    ASSERT_GT(rs.recordCount(), 0);
    EXPECT_EQ(rs.columns(),
              (QStringList {"Code", "Product Name", "UOM", "Supplier", "Classification", "Listcost",
                            "Qty", "On Hand", "Retail"}));
    QStringList codes;
    for (; !rs.eof(); rs.moveNext())
        codes << rs.text("Code");
    EXPECT_TRUE(codes.contains(QStringLiteral("1001")));
    EXPECT_FALSE(codes.contains(QStringLiteral("1004"))); // plan used up
    EXPECT_FALSE(codes.contains(QStringLiteral("1034"))); // inactive at the ward
    EXPECT_FALSE(codes.contains(QStringLiteral("1008"))); // out of stock at the warehouse
    EXPECT_FALSE(codes.contains(QStringLiteral("1039"))); // fixed asset

    rs.moveFirst();
    for (; !rs.eof() && rs.text("Code") != QLatin1String("1001"); rs.moveNext()) { }
    ASSERT_FALSE(rs.eof());
    EXPECT_DOUBLE_EQ(rs.field("Qty").toDouble(), 240);
    EXPECT_DOUBLE_EQ(rs.field("On Hand").toDouble(), 500);
    EXPECT_EQ(rs.text("UOM"), QStringLiteral("TABLET"));
    EXPECT_EQ(rs.text("Retail"), QStringLiteral("Y"));
}

TEST_F(PlanItemsTest, ConsolidationListAlsoHoldsItemsOutOfStock)
{
    EXPECT_TRUE(texts(planList(QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("%"),
                               QStringLiteral("True")),
                      QStringLiteral("Code"))
                    .contains(QStringLiteral("1008")));
}

TEST_F(PlanItemsTest, CategoryNarrowsTheList)
{
    EXPECT_EQ(texts(planList(QStringLiteral("21"), QStringLiteral("18"), QStringLiteral("C03"),
                             QStringLiteral("False")),
                    QStringLiteral("Code")),
              (QStringList {"1033", "1032"})); // BALLPOINT PEN, BOND PAPER
    EXPECT_EQ(rowCount(planList(QStringLiteral("119"), QStringLiteral("30"), QStringLiteral("%"),
                                QStringLiteral("False"))),
              0);
}

// ----- employees and kits ----------------------------------------------------------------------

struct EmployeeListCase
{
    const char *search;
    QStringList codes;
};

class EmployeeListTest : public StatementTest,
                         public ::testing::WithParamInterface<EmployeeListCase>
{
};

TEST_P(EmployeeListTest, CodeOrNameMatchesInNameOrder)
{
    const QString sql = QStringLiteral("inventory..sp_Inv_ListEmployees '")
        + db::quoteInner(QString::fromLatin1(GetParam().search)) + QStringLiteral("'");
    EXPECT_EQ(texts(sql, 0), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Searches, EmployeeListTest,
    ::testing::Values(EmployeeListCase {"",
                                        {"10023", "NURSE1", "PHARM1", "CLERK1", "DEMO", "VERIFY"}},
                      EmployeeListCase {"GARCIA", {"10023", "NURSE1"}},
                      EmployeeListCase {"garcia", {"10023", "NURSE1"}},
                      EmployeeListCase {"100", {"10023"}}, EmployeeListCase {"DEM", {"DEMO"}},
                      EmployeeListCase {"ANA", {"DEMO"}}, EmployeeListCase {"O'HARA", {}}));

TEST_F(EmployeeListTest, NameIsTheSecondColumn)
{
    db::Recordset rs = run(QStringLiteral("inventory..sp_Inv_ListEmployees 'DEMO'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(1), QStringLiteral("Reyes, Ana"));
}

using KitTest = StatementTest;

TEST_F(KitTest, ComponentsQuotedOrBare)
{
    for (const char *call :
         {"Inventory..sp_Inv_KitofItems '1037'", "Inventory..sp_Inv_KitofItems 1037"}) {
        db::Recordset rs = run(QLatin1String(call));
        ASSERT_EQ(rs.recordCount(), 3) << call;
        EXPECT_EQ(rs.columns().mid(0, 6),
                  (QStringList {"ItemID", "ItemName", "Qty", "UnitCost", "Packing", "RetailType"}));
        EXPECT_TRUE(rs.hasField(QStringLiteral("Amount")));
        EXPECT_EQ(rs.text(0), QStringLiteral("1027")); // ADHESIVE TAPE first
        EXPECT_DOUBLE_EQ(rs.field("Amount").toDouble(), 18);
    }
    EXPECT_EQ(rowCount(QStringLiteral("Inventory..sp_Inv_KitofItems '1001'")), 0);
}

TEST_F(KitTest, PerItemScalesByTheKitQuantity)
{
    db::Recordset rs = run(QStringLiteral("Inventory..sp_Inv_KitofItems_PerItem 1037,2"));
    ASSERT_EQ(rs.recordCount(), 3);
    rs.moveNext(); // GAUZE PAD, two per kit
    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1025"));
    EXPECT_DOUBLE_EQ(rs.field("Qty").toDouble(), 4);
    EXPECT_DOUBLE_EQ(rs.field("Amount").toDouble(), 48);

    db::Recordset single = run(QStringLiteral("Inventory..sp_Inv_KitofItems_PerItem 1001,5"));
    ASSERT_EQ(single.recordCount(), 1);
    EXPECT_DOUBLE_EQ(single.field("Qty").toDouble(), 5);
    EXPECT_DOUBLE_EQ(single.field("Amount").toDouble(), 12.5);
}

} // namespace
