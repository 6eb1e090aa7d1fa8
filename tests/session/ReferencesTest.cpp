// Reference lists, location look-up and rights, and the main form's location combo events.
#include "session/LoggedInTest.h"

#include "platform/ui/DataCombo.h"
#include "session/Inventory.h"
#include "session/LocationEvents.h"

#include <QRadioButton>

using testing_support::LoggedInTest;

namespace {

QStringList listOf(const ui::DataCombo &combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

class ReferencesTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        addLocations();
        statements.clear();
    }

    ui::DataCombo combo;
};

struct LoadLocationCase
{
    const char *name;
    bool excludeDispensing, excludeWarehouse, orderingOnly, userLocations;
    const char *statement;
    QStringList names;
};

class LoadLocationTest : public ReferencesTest,
                         public ::testing::WithParamInterface<LoadLocationCase>
{
};

TEST_P(LoadLocationTest, ChoosesTheQueryAndFillsTheList)
{
    const LoadLocationCase &c = GetParam();
    combo.Tag = QStringLiteral("stale");
    LoadLocation(combo, c.excludeDispensing, false, c.excludeWarehouse, c.orderingOnly,
                 c.userLocations);
    EXPECT_EQ(statements, QStringList {QString::fromLatin1(c.statement)});
    EXPECT_EQ(listOf(combo), c.names);
    EXPECT_TRUE(combo.Tag.isEmpty());
    EXPECT_TRUE(prompt.shown().empty());
}

const QString kWard3 = QStringLiteral("WARD 3");
const QString kObrien = QStringLiteral("O'BRIEN WARD");
const QString kCentral = QStringLiteral("CENTRAL SUPPLY");
const QString kDispensing = QStringLiteral("DISPENSING 1");
const QString kStore = QStringLiteral("STORE ROOM");
const QString kPharmacy = QStringLiteral("MAIN PHARMACY");

INSTANTIATE_TEST_SUITE_P(
    Queries, LoadLocationTest,
    ::testing::Values(
        // The user's locations come first whatever else is asked.
        LoadLocationCase {"UserLocations",
                          true,
                          true,
                          true,
                          true,
                          "INVENTORY..sp_Inv_UserLocation 'TESTER'",
                          {kObrien, kWard3}},
        LoadLocationCase {"NotBothWarehouseAndDispensing",
                          true,
                          true,
                          true,
                          false,
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where ( "
                          "isWarehouse = 0 or isDispensingArea = 0 ) AND ( Not Status = 'I' or "
                          "Status is Null ) ORDER BY Location",
                          {kCentral, kDispensing, kObrien, kStore, kWard3}},
        LoadLocationCase {"NoWarehouse",
                          false,
                          true,
                          true,
                          false,
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where "
                          "isWarehouse = 0 AND ( Not Status = 'I' or Status is Null ) ORDER BY "
                          "Location",
                          {kDispensing, kObrien, kWard3}},
        LoadLocationCase {"NoDispensingArea",
                          true,
                          false,
                          true,
                          false,
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where "
                          "isDispensingArea = 0 AND ( Not Status = 'I' or Status is Null ) ORDER "
                          "BY Location",
                          {kCentral, kObrien, kStore, kWard3}},
        LoadLocationCase {"OrderingOnly",
                          false,
                          false,
                          true,
                          false,
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where "
                          "AllowOrder = 1 AND ( Not Status = 'I' or Status is Null ) ORDER BY "
                          "Location",
                          {kCentral, kDispensing}},
        LoadLocationCase {"Active",
                          false,
                          false,
                          false,
                          false,
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where Not "
                          "Status = 'I' or Status is Null  ORDER BY Location",
                          {kCentral, kDispensing, kPharmacy, kObrien, kStore, kWard3}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReferencesTest, DefaultLocationIsPreselected)
{
    Session.DefaultLocation = QStringLiteral("41");
    LoadLocation(combo, false, true, false, false, true);
    ASSERT_EQ(statements.size(), 2);
    EXPECT_EQ(
        statements[1],
        QStringLiteral("Select Location From INVENTORY..tbInvLocation Where LocationID = '41'"));
    EXPECT_EQ(combo.Text(), kObrien);
    EXPECT_EQ(combo.Tag, QStringLiteral("41"));
}

TEST_F(ReferencesTest, WithoutDefaultLocationNothingIsSelected)
{
    LoadLocation(combo, false, true, false, false, true);
    ASSERT_EQ(statements.size(), 2);
    EXPECT_EQ(
        statements[1],
        QStringLiteral("Select Location From INVENTORY..tbInvLocation Where LocationID = ''"));
    EXPECT_TRUE(combo.Text().isEmpty());
    EXPECT_TRUE(combo.Tag.isEmpty());
}

TEST_F(ReferencesTest, LoadLocationReportsAFailureWithItsName)
{
    sql(QStringLiteral("DROP TABLE INVENTORY..tbInvLocation"));
    LoadLocation(combo, false, false, false, false, false);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_TRUE(prompt.lastText().startsWith(QStringLiteral("Called from: Sub LoadLocation -")))
        << prompt.lastText().toStdString();
    EXPECT_GT(prompt.lastText().size(), QStringLiteral("Called from: Sub LoadLocation -").size());
    EXPECT_EQ(prompt.shown().front().buttons, ui::Buttons::Ok);
}

TEST_F(ReferencesTest, SpecificLocationsKeepTheListWhenNoneIsFound)
{
    LoadSpecificLocation(combo, QStringLiteral("('94','21')"));
    EXPECT_EQ(statements.value(0),
              QStringLiteral(" select location,locationid from inventory..tbinvlocation where "
                             "locationid in ('94','21') "));
    EXPECT_EQ(combo.count(), 2);
    EXPECT_TRUE(listOf(combo).contains(kStore));
    LoadSpecificLocation(combo, QStringLiteral("('999')"));
    EXPECT_EQ(combo.count(), 2);
}

struct AccessCase
{
    const char *name;
    const char *access;
    const char *location;
    bool allowed;
};

class AccessTest : public ReferencesTest, public ::testing::WithParamInterface<AccessCase>
{
};

TEST_P(AccessTest, InventoryTypeOfTheLocation)
{
    const AccessCase &c = GetParam();
    Session.InventoryAccess = QString::fromLatin1(c.access);
    QString id = QStringLiteral("stale");
    bool retail = false;
    EXPECT_EQ(GetLocationByName(QString::fromLatin1(c.location), id, retail, true), c.allowed);
    if (c.allowed) {
        EXPECT_FALSE(id.isEmpty());
        EXPECT_TRUE(prompt.shown().empty());
    } else {
        EXPECT_TRUE(id.isEmpty());
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.lastText(), QStringLiteral("Unauthorized Access..."));
        EXPECT_EQ(prompt.shown().front().icon, ui::Icon::None);
        EXPECT_TRUE(prompt.shown().front().title.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rights, AccessTest,
    ::testing::Values(AccessCase {"EveryTypeWithA", "A", "MAIN PHARMACY", true},
                      AccessCase {"TypeInTheList", "PD", "CENTRAL SUPPLY", true},
                      AccessCase {"TypeNotInTheList", "PD", "MAIN PHARMACY", false},
                      AccessCase {"LocationWithoutType", "PD", "DISPENSING 1", true},
                      AccessCase {"NoAccessAtAll", "", "CENTRAL SUPPLY", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReferencesTest, LocationNamesAreKeys)
{
    QString id = QStringLiteral("stale");
    bool retail = true;
    EXPECT_FALSE(GetLocationByName(QStringLiteral("NO SUCH PLACE"), id, retail, true));
    EXPECT_TRUE(id.isEmpty());
    EXPECT_FALSE(retail);
    EXPECT_TRUE(prompt.shown().empty());

    // A quote in the name is part of the name, not of the statement.
    EXPECT_TRUE(GetLocationByName(kObrien, id, retail, false));
    EXPECT_EQ(id, QStringLiteral("41"));
    EXPECT_EQ(statements.last(),
              QStringLiteral("Select * From INVENTORY..tbInvLocation Where Location = "
                             "'O''BRIEN WARD'"));
    EXPECT_TRUE(GetLocationByName(QStringLiteral("x' or '1'='1"), id, retail, false) == false);
    EXPECT_TRUE(prompt.shown().empty());

    // Only a location that is both warehouse and dispensing area sells nothing retail.
    EXPECT_TRUE(GetLocationByName(kPharmacy, id, retail, false));
    EXPECT_FALSE(retail);
    EXPECT_TRUE(GetLocationByName(kCentral, id, retail, false));
    EXPECT_TRUE(retail);
}

TEST_F(ReferencesTest, RightsAtJfxFollowTheDocumentsOwner)
{
    Session.ClientName = QStringLiteral("JFX");
    EXPECT_TRUE(
        IsUserAuthorized(QStringLiteral("TESTER"), QStringLiteral("21"), QStringLiteral("TESTER")));
    // Location rights do not help another user's document.
    EXPECT_FALSE(
        IsUserAuthorized(QStringLiteral("TESTER"), QStringLiteral("30"), QStringLiteral("OTHER")));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.lastText(), QStringLiteral("User not Authorized for this Transaction."));
    EXPECT_EQ(prompt.shown().front().icon, ui::Icon::Information);
    EXPECT_TRUE(statements.isEmpty());
}

TEST_F(ReferencesTest, RightsElsewhereFollowTheUsersLocations)
{
    Session.ClientName = QStringLiteral("ZRWB");
    EXPECT_TRUE(IsUserAuthorized(QStringLiteral("TESTER"), QStringLiteral(" 30 "),
                                 QStringLiteral("OTHER")));
    EXPECT_EQ(statements.last(),
              QStringLiteral("Select * from inventory..tbinvuserlocation where userid = 'TESTER' "
                             "and Locationid = '30'"));
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_FALSE(
        IsUserAuthorized(QStringLiteral("TESTER"), QStringLiteral("21"), QStringLiteral("TESTER")));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.lastText(), QStringLiteral("User not Authorized for this Location."));
    EXPECT_EQ(prompt.shown().front().icon, ui::Icon::Information);
}

TEST_F(ReferencesTest, DepartmentsAndSections)
{
    sql(QStringLiteral("DELETE Build_File..tbcoDepartment"));
    sql(QStringLiteral("DELETE Build_File..tbcoSection"));
    sql(QStringLiteral("INSERT INTO Build_File..tbcoDepartment (DepartmentID, Department) VALUES "
                       "('D1', 'SURGERY')"));
    sql(QStringLiteral("INSERT INTO Build_File..tbcoDepartment (DepartmentID, Department) VALUES "
                       "('D2', 'CHILDREN''S WARD')"));
    for (const char *row :
         {"'S1', 'THEATRE', 'D1'", "'S2', 'RECOVERY', 'D1'", "'S3', 'NURSERY', 'D2'"})
        sql(QStringLiteral("INSERT INTO Build_File..tbcoSection (SectionID, SectionName, "
                           "RevenueID) VALUES (%1)")
                .arg(QLatin1String(row)));
    statements.clear();

    ui::DataCombo department;
    ui::DataCombo section;
    LoadDepartment(department);
    EXPECT_EQ(statements.value(0),
              QStringLiteral("Select * from Build_file..tbcoDepartment order by department "));
    EXPECT_EQ(listOf(department),
              (QStringList {QStringLiteral("CHILDREN'S WARD"), QStringLiteral("SURGERY")}));

    department.setText(QStringLiteral("SURGERY"));
    EXPECT_FALSE(cboDepartment_Validate(department, section));
    EXPECT_EQ(department.Tag, QStringLiteral("D1"));
    EXPECT_EQ(statements.last(),
              QStringLiteral("Select * from Build_file..tbcoSection where revenueid='D1' order by "
                             "sectionname "));
    EXPECT_EQ(listOf(section),
              (QStringList {QStringLiteral("RECOVERY"), QStringLiteral("THEATRE")}));

    // A department with a quote in its name is found; the section list holds only its sections.
    department.setText(QStringLiteral("CHILDREN'S WARD"));
    EXPECT_FALSE(cboDepartment_Validate(department, section));
    EXPECT_EQ(department.Tag, QStringLiteral("D2"));
    EXPECT_EQ(listOf(section), QStringList {QStringLiteral("NURSERY")});

    section.setText(QStringLiteral("NURSERY"));
    EXPECT_FALSE(cboSection_Validate(section));
    EXPECT_EQ(section.Tag, QStringLiteral("S3"));
    EXPECT_EQ(statements.last(),
              QStringLiteral("Select * from Build_file..tbCoSection where sectionname='NURSERY'"));

    // An unknown department keeps the last Tag and empties the section list.
    department.setText(QStringLiteral("NOWHERE"));
    EXPECT_FALSE(cboDepartment_Validate(department, section));
    EXPECT_EQ(department.Tag, QStringLiteral("D2"));
    EXPECT_EQ(section.count(), 0);
    EXPECT_TRUE(prompt.shown().empty());
}

class LocationEventsTest : public ReferencesTest
{
protected:
    ui::DataCombo cboLocation;
    ui::DataCombo cboTargetLocation;
    QRadioButton optYes;
    QRadioButton optNo;
    bool targetAllowsRetail = false;
    int retailRulesApplied = 0;

    bool validateTarget()
    {
        return cboTargetLocation_Validate(cboTargetLocation, cboLocation, targetAllowsRetail,
                                          &optYes, &optNo, [this] { ++retailRulesApplied; });
    }
};

TEST_F(LocationEventsTest, SupplyingLocationMustBeKnownAndPermitted)
{
    cboLocation.Tag = QStringLiteral("stale");
    cboLocation.setText(QStringLiteral("NO SUCH PLACE"));
    EXPECT_TRUE(cboLocation_Validate(cboLocation));
    EXPECT_TRUE(cboLocation.Tag.isEmpty());

    cboLocation.setText(kCentral);
    EXPECT_FALSE(cboLocation_Validate(cboLocation));
    EXPECT_EQ(cboLocation.Tag, QStringLiteral("21"));

    Session.InventoryAccess = QStringLiteral("PD");
    cboLocation.setText(kPharmacy);
    EXPECT_TRUE(cboLocation_Validate(cboLocation));
    EXPECT_TRUE(cboLocation.Tag.isEmpty());
    EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Unauthorized Access...")});
}

TEST_F(LocationEventsTest, RequestingLocationSetsTheRetailOptions)
{
    cboLocation.Tag = QStringLiteral("21");
    cboTargetLocation.setText(kWard3);
    EXPECT_FALSE(validateTarget());
    EXPECT_EQ(cboTargetLocation.Tag, QStringLiteral("30"));
    EXPECT_TRUE(targetAllowsRetail);
    EXPECT_TRUE(optYes.isEnabled());
    EXPECT_TRUE(optYes.isChecked());
    EXPECT_EQ(retailRulesApplied, 1);

    // Both warehouse and dispensing area: "Yes" is off limits.
    cboTargetLocation.setText(kPharmacy);
    EXPECT_FALSE(validateTarget());
    EXPECT_FALSE(targetAllowsRetail);
    EXPECT_FALSE(optYes.isEnabled());
    EXPECT_TRUE(optNo.isEnabled());
    EXPECT_TRUE(optNo.isChecked());
    EXPECT_EQ(retailRulesApplied, 2);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(LocationEventsTest, RequestingLocationMustDifferFromTheSupplyingOne)
{
    cboLocation.Tag = QStringLiteral("21");
    cboTargetLocation.setText(kCentral);
    EXPECT_TRUE(validateTarget());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Invalid Target Location..."));
    EXPECT_EQ(prompt.shown().front().icon, ui::Icon::Critical);
    EXPECT_EQ(retailRulesApplied, 0);
}

TEST_F(LocationEventsTest, UnknownRequestingLocationCancelsQuietly)
{
    cboTargetLocation.Tag = QStringLiteral("30");
    cboTargetLocation.setText(QStringLiteral("NO SUCH PLACE"));
    EXPECT_TRUE(validateTarget());
    EXPECT_EQ(cboTargetLocation.Tag, QStringLiteral("30"));
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(retailRulesApplied, 0);
}

TEST_F(LocationEventsTest, TvhRuleChoosesTheSupplyingList)
{
    // Requesting location 24 draws only from the two central stores.
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvLocation (LocationID, Location, IsWareHouse, "
                       "isDispensingArea) VALUES ('24', 'ICU', 0, 0)"));
    cboLocation.setEnabled(false);
    cboTargetLocation.setText(QStringLiteral("ICU"));
    cboTargetLocation_Change(cboTargetLocation, cboLocation, targetAllowsRetail);
    EXPECT_EQ(cboTargetLocation.Tag, QStringLiteral("24"));
    EXPECT_EQ(listOf(cboLocation).size(), 2);
    EXPECT_TRUE(listOf(cboLocation).contains(kStore));
    EXPECT_TRUE(listOf(cboLocation).contains(kCentral));
    EXPECT_TRUE(cboLocation.isEnabled());

    Session.DefaultLocation = QStringLiteral("21");
    cboTargetLocation.setText(kWard3);
    cboTargetLocation_Change(cboTargetLocation, cboLocation, targetAllowsRetail);
    EXPECT_EQ(cboTargetLocation.Tag, QStringLiteral("30"));
    EXPECT_EQ(listOf(cboLocation).size(), 6);
    EXPECT_EQ(cboLocation.Text(), kCentral);
    EXPECT_EQ(cboLocation.Tag, QStringLiteral("21"));

    // A text that names no location changes nothing.
    cboLocation.setEnabled(false);
    cboTargetLocation.setText(QStringLiteral("IC"));
    cboTargetLocation_Change(cboTargetLocation, cboLocation, targetAllowsRetail);
    EXPECT_EQ(cboTargetLocation.Tag, QStringLiteral("30"));
    EXPECT_FALSE(cboLocation.isEnabled());
}

} // namespace
