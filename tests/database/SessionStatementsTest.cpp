// Start-up, switches, reference lists, location rights, passwords and rights: the statements as
// the shared routines send them, against the demo hospital.
#include "StatementTest.h"

#include "session/EncodePassword.h"

#include <gtest/gtest.h>

namespace {

using dbtest::StatementTest;

// ----- hospital information and switches -------------------------------------------------------

using HospitalInfoTest = StatementTest;

TEST_F(HospitalInfoTest, ReadsTheDemoHospitalWithTheServerDate)
{
    db::Recordset rs
        = run(QStringLiteral("Select *, GetDate() as CurDate From Inventory..tbHospitalInfo"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("Company"), QStringLiteral("Demo General Hospital"));
    EXPECT_FALSE(rs.text("Address1").isEmpty());
    EXPECT_EQ(rs.text("ClientName"), QString());
    EXPECT_FALSE(rs.field("AllowWDZeroOnHand").toBool());
    EXPECT_FALSE(rs.field("IsWDEntered").toBool());
    EXPECT_EQ(rs.field("CurDate").toDateTime(), fixedNow());
}

struct SwitchCase
{
    const char *table;
    const char *key;
    const char *trailer; // GetInvSwitch leaves a blank after the closing quote
};

class SwitchTest : public StatementTest, public ::testing::WithParamInterface<SwitchCase>
{
protected:
    QString statement() const
    {
        const SwitchCase &c = GetParam();
        return QStringLiteral("Select KeyValue from Inventory..%1 where idkey = '%2'%3")
            .arg(QLatin1String(c.table), QLatin1String(c.key), QLatin1String(c.trailer));
    }
};

TEST_P(SwitchTest, IsOffWhenItsValueIsClearedAndOnOnceItIsSet)
{
    // The demo shows the acknowledgement notice: its switch starts on.
    exec(QStringLiteral("Update Inventory..%1 set KeyValue = 0 where idkey = '%2'")
             .arg(QLatin1String(GetParam().table), QLatin1String(GetParam().key)));
    db::Recordset off = run(statement());
    ASSERT_EQ(off.recordCount(), 1);
    EXPECT_FALSE(off.field("KeyValue").toBool());

    exec(QStringLiteral("Update Inventory..%1 set KeyValue = 1 where idkey = '%2'")
             .arg(QLatin1String(GetParam().table), QLatin1String(GetParam().key)));
    EXPECT_TRUE(first(statement(), QStringLiteral("KeyValue")).toBool());
}

INSTANTIATE_TEST_SUITE_P(
    AllSwitches, SwitchTest,
    ::testing::Values(SwitchCase {"tbinvSwitch", "91", " "}, SwitchCase {"tbinvSwitch", "92", " "},
                      SwitchCase {"tbinvSwitch", "93", " "}, SwitchCase {"tbinvSwitch", "96", " "},
                      SwitchCase {"tbinvSwitch", "59", " "}, SwitchCase {"tbPharmaSwitch", "3", ""},
                      SwitchCase {"tbPharmaSwitch", "4", ""},
                      SwitchCase {"tbPharmaSwitch", "5", ""}));

TEST_F(HospitalInfoTest, UnknownSwitchKeyHasNoRow)
{
    EXPECT_EQ(rowCount(QStringLiteral("Select KeyValue from Inventory..tbinvSwitch where idkey = "
                                      "'77' ")),
              0);
}

// ----- location lists --------------------------------------------------------------------------

struct LocationListCase
{
    const char *name;
    const char *sql;
    QStringList ids; // in the order the list shows them
};

class LocationListTest : public StatementTest,
                         public ::testing::WithParamInterface<LocationListCase>
{
};

TEST_P(LocationListTest, ListsTheLocationsInOrder)
{
    EXPECT_EQ(texts(QString::fromLatin1(GetParam().sql), QStringLiteral("LocationID")),
              GetParam().ids);
}

INSTANTIATE_TEST_SUITE_P(
    LoadLocation, LocationListTest,
    ::testing::Values(
        LocationListCase {
            "UserLocations", "INVENTORY..sp_Inv_UserLocation 'DEMO'", {"23", "18", "30", "19"}},
        LocationListCase {"UserLocationsAnyCase",
                          "INVENTORY..sp_Inv_UserLocation 'demo'",
                          {"23", "18", "30", "19"}},
        LocationListCase {"NotBothWarehouseAndDispensing",
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where ( "
                          "isWarehouse = 0 or isDispensingArea = 0 ) AND ( Not Status = 'I' or "
                          "Status is Null ) ORDER BY Location",
                          {"21", "20", "23", "18", "30", "22", "94", "19"}},
        LocationListCase {"NoWarehouse",
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where "
                          "isWarehouse = 0 AND ( Not Status = 'I' or Status is Null ) ORDER BY "
                          "Location",
                          {"20", "23", "18", "30", "22", "94", "19"}},
        LocationListCase {"NoDispensingArea",
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where "
                          "isDispensingArea = 0 AND ( Not Status = 'I' or Status is Null ) "
                          "ORDER BY Location",
                          {"21", "23", "18", "30", "22", "19"}},
        LocationListCase {"OrderingOnly",
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where "
                          "AllowOrder = 1 AND ( Not Status = 'I' or Status is Null ) ORDER BY "
                          "Location",
                          {"21", "119", "30"}},
        LocationListCase {"EveryActive",
                          "Select Location, LocationID From INVENTORY..tbInvLocation Where Not "
                          "Status = 'I' or Status is Null  ORDER BY Location",
                          {"21", "20", "23", "119", "18", "30", "22", "94", "19"}},
        LocationListCase {"DefaultSupplyingList",
                          " select location,locationid from inventory..tbinvlocation where "
                          "locationid in ('21','119','20') order by locationid ",
                          {"119", "20", "21"}},
        LocationListCase {"FixedSupplyingList",
                          " select location,locationid from inventory..tbinvlocation where "
                          "locationid in ('18','19','20') order by locationid ",
                          {"18", "19", "20"}},
        LocationListCase {"SatelliteSupplyingList",
                          " select location,locationid from inventory..tbinvlocation where "
                          "locationid in ('94','21') order by locationid ",
                          {"21", "94"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LocationListTest, SpecificListUnorderedHoldsItsThreeLocations)
{
    // LoadSpecificLocation sends the list without an order; only the members matter.
    QStringList ids = texts(QStringLiteral(" select location,locationid from "
                                           "inventory..tbinvlocation where locationid in "
                                           "('21','119','20') "),
                            QStringLiteral("locationid"));
    ids.sort();
    EXPECT_EQ(ids, (QStringList {"119", "20", "21"}));
}

TEST_F(LocationListTest, DefaultLocationPreselectFindsItsNameOrNothing)
{
    const QString sql
        = QStringLiteral("Select Location From INVENTORY..tbInvLocation Where LocationID = '%1'");
    EXPECT_EQ(texts(sql.arg(QStringLiteral("18")), QStringLiteral("Location")),
              QStringList {QStringLiteral("Medical Ward")});
    EXPECT_EQ(rowCount(sql.arg(QString())), 0);
}

// ----- location by name, rights, departments, barcodes -----------------------------------------

struct LocationNameCase
{
    const char *typed;
    const char *id; // empty: no row
};

class LocationByNameTest : public StatementTest,
                           public ::testing::WithParamInterface<LocationNameCase>
{
};

TEST_P(LocationByNameTest, MatchesIgnoringCaseAndTrailingBlanks)
{
    const QString sql = QStringLiteral("Select * From INVENTORY..tbInvLocation Where Location = '")
        + db::quoteInner(QString::fromLatin1(GetParam().typed)) + QStringLiteral("'");
    EXPECT_EQ(texts(sql, QStringLiteral("LocationID")).join(QLatin1Char(',')),
              QString::fromLatin1(GetParam().id));
}

INSTANTIATE_TEST_SUITE_P(Names, LocationByNameTest,
                         ::testing::Values(LocationNameCase {"Medical Ward", "18"},
                                           LocationNameCase {"MEDICAL WARD", "18"},
                                           LocationNameCase {"medical ward   ", "18"},
                                           LocationNameCase {"Main Pharmacy", "119"},
                                           LocationNameCase {"Medical", ""},
                                           LocationNameCase {"O'Brien Ward", ""}));

TEST_F(LocationByNameTest, LocationRowCarriesTheRetailFlags)
{
    db::Recordset rs = run(
        QStringLiteral("Select * From INVENTORY..tbInvLocation Where Location = 'Main Pharmacy'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field("IsWareHouse").toBool());
    EXPECT_TRUE(rs.field("isDispensingArea").toBool());
    EXPECT_EQ(rs.text("InventoryType"), QStringLiteral("P"));
}

TEST_F(LocationByNameTest, UnquotedQuoteInANameIsRefusedByTheDatabase)
{
    // Without quoting the statement is malformed; the look-up must report that, not guess.
    EXPECT_THROW(run(QStringLiteral(
                     "Select * From INVENTORY..tbInvLocation Where Location = 'O'Brien Ward'")),
                 db::DatabaseError);
}

struct RightCase
{
    const char *user;
    const char *location;
    bool allowed;
};

class UserRightTest : public StatementTest, public ::testing::WithParamInterface<RightCase>
{
};

TEST_P(UserRightTest, UserLocationRowDecides)
{
    const QString sql
        = QStringLiteral("Select * from inventory..tbinvuserlocation where userid = '")
        + QLatin1String(GetParam().user) + QStringLiteral("' and Locationid = '")
        + QLatin1String(GetParam().location) + QStringLiteral("'");
    EXPECT_EQ(rowCount(sql) > 0, GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(
    Rights, UserRightTest,
    ::testing::Values(RightCase {"DEMO", "18", true}, RightCase {"demo", "30", true},
                      RightCase {"DEMO", "22", false}, RightCase {"VERIFY", "22", true},
                      RightCase {"NURSE1", "18", false}, RightCase {"DEMO", "", false}));

using ReferenceListTest = StatementTest;

TEST_F(ReferenceListTest, DepartmentsInNameOrder)
{
    EXPECT_EQ(texts(QStringLiteral("Select * from Build_file..tbcoDepartment order by department "),
                    QStringLiteral("Department")),
              (QStringList {"Emergency Medicine", "Internal Medicine", "Nursing Service",
                            "Pediatrics", "Surgery"}));
}

TEST_F(ReferenceListTest, SectionsOfADepartmentInNameOrder)
{
    EXPECT_EQ(texts(QStringLiteral("Select * from Build_file..tbcoSection where revenueid='D01' "
                                   "order by sectionname "),
                    QStringLiteral("SectionName")),
              (QStringList {"Medical Ward A", "Medical Ward B"}));
    EXPECT_EQ(rowCount(QStringLiteral("Select * from Build_file..tbcoSection where revenueid='' "
                                      "order by sectionname ")),
              0);
}

TEST_F(ReferenceListTest, DepartmentAndSectionValidationFindTheirIds)
{
    EXPECT_EQ(first(QStringLiteral("select * from Build_File..tbcoDepartment where department = "
                                   "'surgery'"),
                    QStringLiteral("DepartmentID"))
                  .toString(),
              QStringLiteral("D02"));
    EXPECT_EQ(first(QStringLiteral("Select * from Build_file..tbCoSection where "
                                   "sectionname='Triage'"),
                    QStringLiteral("SectionID"))
                  .toString(),
              QStringLiteral("S041"));
}

TEST_F(ReferenceListTest, BarcodeTurnsIntoItsItemAndAnItemCodeIsNoBarcode)
{
    const QString sql
        = QStringLiteral("Select ItemID from INVENTORY..tbInvMaster Where Barcode = '%1'");
    EXPECT_EQ(texts(sql.arg(QStringLiteral("4800001000011")), QStringLiteral("ItemID")),
              QStringList {QStringLiteral("1001")});
    EXPECT_EQ(texts(sql.arg(QStringLiteral("4800001000240")), QStringLiteral("ItemID")),
              QStringList {QStringLiteral("1024")});
    EXPECT_EQ(rowCount(sql.arg(QStringLiteral("1001"))), 0);
}

// ----- passwords -------------------------------------------------------------------------------

struct PasswordCase
{
    const char *employee;
    const char *password;
    bool valid;
};

class PasswordTest : public StatementTest, public ::testing::WithParamInterface<PasswordCase>
{
};

TEST_P(PasswordTest, EncodedPasswordMatchesTheStoredOne)
{
    const QString encoded = EncodePassword(QStringLiteral("E"), QLatin1String(PasswordKey),
                                           QString::fromLatin1(GetParam().password));
    const QString sql = QStringLiteral("Select EmployeeId, Password ")
        + QStringLiteral("from password..tbpasswordmain ") + QStringLiteral("where  Employeeid = '")
        + db::quoteInner(QString::fromLatin1(GetParam().employee))
        + QStringLiteral("' and Password = '") + db::quoteInner(encoded) + QStringLiteral("'");
    EXPECT_EQ(rowCount(sql) > 0, GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    DemoLogIns, PasswordTest,
    ::testing::Values(PasswordCase {"DEMO", "demo", true}, PasswordCase {"VERIFY", "verify", true},
                      PasswordCase {"NURSE1", "nurse", true},
                      PasswordCase {"PHARM1", "pharm", true},
                      PasswordCase {"CLERK1", "clerk", true},
                      PasswordCase {"10023", "secret", true}, PasswordCase {"DEMO", "DEMO", false},
                      PasswordCase {"DEMO", "verify", false},
                      PasswordCase {"VERIFY", "demo", false}, PasswordCase {"DEMO", "", false},
                      PasswordCase {"D'EMO", "demo", false}));

TEST_F(PasswordTest, OpdPasswordOfTheHospital)
{
    EXPECT_EQ(first(QStringLiteral(" select isnull(OPDPassword,'') as OPDPassword from "
                                   "patient_data..tbhospitalinfo "),
                    QStringLiteral("OPDPassword"))
                  .toString(),
              QStringLiteral("OPD2026"));
}

// ----- rights and report line count ------------------------------------------------------------

using RightsTest = StatementTest;

TEST_F(RightsTest, DemoUserMayVerifyAndConsolidate)
{
    db::Recordset rs
        = run(QStringLiteral("Select * from Inventory..tbInvUserSettings Where UserID = 'DEMO'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field("isVerifyInventoryRequest").toBool());
    EXPECT_TRUE(rs.field("isConsolidateIR").toBool());
}

TEST_F(RightsTest, NurseMayNotVerifyAndHasNoConsolidationValue)
{
    db::Recordset rs
        = run(QStringLiteral("Select * from Inventory..tbInvUserSettings Where UserID = 'NURSE1'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_FALSE(rs.field("isVerifyInventoryRequest").toBool());
    EXPECT_TRUE(rs.field("isConsolidateIR").isNull());
    EXPECT_EQ(rowCount(QStringLiteral(
                  "Select * from Inventory..tbInvUserSettings Where UserID = 'CLERK1'")),
              0);
}

TEST_F(RightsTest, RequestLineCountForPrinting)
{
    const QString sql = QStringLiteral(
        "select * from inventory..tbinvwithdrawrequest where documentnumber = '%1' ");
    EXPECT_EQ(rowCount(sql.arg(QStringLiteral("1003"))), 5);
    EXPECT_EQ(rowCount(sql.arg(QStringLiteral("1001"))), 3);
    EXPECT_EQ(rowCount(sql.arg(QStringLiteral("NEW"))), 0);
}

} // namespace
