// Start-up, the hospital information and the site switches.
#include "session/LoggedInTest.h"

#include "platform/user/frmLogin.h"
#include "session/Inventory.h"
#include "session/Settings.h"
#include "session/StartUp.h"

#include <QLineEdit>
#include <QPushButton>

using testing_support::LoggedInTest;

namespace {

class StartUpTest : public testing_support::DatabaseTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        resetSession();
        database = m_db.get();
        database->execute(
            QStringLiteral(
                "INSERT INTO Password..tbPasswordMain (EmployeeID, Password) VALUES ('TESTER', ")
            + db::quote(EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey),
                                       QStringLiteral("secret")))
            + QStringLiteral(")"));
        database->execute(QStringLiteral("DELETE INVENTORY..tbHospitalInfo"));
        database->execute(
            QStringLiteral("INSERT INTO INVENTORY..tbHospitalInfo (Company, Address1, ClientName, "
                           "AllowWDZeroOnHand, IsWDEntered) VALUES ('GENERAL HOSPITAL', "
                           "'1 MAIN ST', 'ZRWB', 1, NULL)"));
    }

    void TearDown() override
    {
        EndSession();
        DatabaseTest::TearDown();
    }

    // The target hands start-up this test's database.
    user::ConnectionTarget target()
    {
        user::ConnectionTarget t;
        t.open = [this]() -> std::unique_ptr<db::Connection> {
            return std::move(m_db);
        };
        return t;
    }

    static void logInAs(QDialog &dialog, const QString &id, const QString &password)
    {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        login.txtEmployeeID->setText(id);
        login.txtPassword->setText(password);
        login.cmdOK->click();
    }

    QWidget *startUp()
    {
        return StartUp(
            [this]() -> QWidget * {
                ++formsCreated;
                mainForm = std::make_unique<QWidget>();
                return mainForm.get();
            },
            target());
    }

    db::EmbeddedConnection *database = nullptr;
    std::unique_ptr<QWidget> mainForm;
    int formsCreated = 0;
};

TEST_F(StartUpTest, CancelledLogInEndsWithoutAWindow)
{
    modal.expect([](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
    });
    EXPECT_EQ(startUp(), nullptr);
    EXPECT_EQ(formsCreated, 0);
    EXPECT_EQ(Session.Connection, nullptr);
    EXPECT_EQ(Session.CurrentUser->PasswordDeptCode, QStringLiteral("4"));
    EXPECT_FALSE(Session.CurrentUser->Connected());
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(StartUpTest, FillsTheSessionAndShowsTheMainForm)
{
    saveDefaultLocation(QStringLiteral("30"));
    modal.expect(
        [](QDialog &d) { logInAs(d, QStringLiteral("tester"), QStringLiteral("secret")); });
    QWidget *form = startUp();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Session.Connection, database);
    EXPECT_EQ(Employeecode(), QStringLiteral("TESTER"));
    EXPECT_EQ(Session.Company, QStringLiteral("GENERAL HOSPITAL"));
    EXPECT_EQ(Session.Address1, QStringLiteral("1 MAIN ST"));
    EXPECT_EQ(Session.ClientName, QStringLiteral("ZRWB"));
    EXPECT_EQ(Session.CurDate, QStringLiteral("12/8/2026 10:15:00 AM"));
    EXPECT_TRUE(Session.AllowWDZeroOnHand);
    EXPECT_FALSE(Session.IsWDEntered);
    EXPECT_EQ(Session.DefaultLocation, QStringLiteral("30"));
    EXPECT_EQ(Session.InventoryAccess, QStringLiteral("A"));
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(StartUpTest, MissingHospitalInformationIsReportedAndStartUpGoesOn)
{
    database->execute(QStringLiteral("DELETE INVENTORY..tbHospitalInfo"));
    modal.expect(
        [](QDialog &d) { logInAs(d, QStringLiteral("TESTER"), QStringLiteral("secret")); });
    ASSERT_NE(startUp(), nullptr);
    ASSERT_EQ(prompt.shown().size(), 1u);
    const ui::PromptRequest &message = prompt.shown().front();
    EXPECT_EQ(message.text, QStringLiteral("No Hospital information was found"));
    EXPECT_EQ(message.icon, ui::Icon::Information);
    EXPECT_EQ(message.buttons, ui::Buttons::Ok);
    EXPECT_EQ(message.title, QStringLiteral("MESSAGE"));
    EXPECT_TRUE(Session.Company.isEmpty());
    EXPECT_TRUE(Session.ClientName.isEmpty());
    EXPECT_TRUE(Session.CurDate.isEmpty());
    // A first run: no default location was ever stored.
    EXPECT_TRUE(Session.DefaultLocation.isEmpty());
    EXPECT_EQ(Session.InventoryAccess, QStringLiteral("A"));
}

class HospitalInfoTest : public LoggedInTest
{
protected:
    void setHospital(const QString &clientName, const QString &allowZero, const QString &entered)
    {
        sql(QStringLiteral("DELETE INVENTORY..tbHospitalInfo"));
        sql(QStringLiteral("INSERT INTO INVENTORY..tbHospitalInfo (Company, Address1, ClientName, "
                           "AllowWDZeroOnHand, IsWDEntered) VALUES (NULL, NULL, %1, %2, %3)")
                .arg(clientName, allowZero, entered));
    }
};

TEST_F(HospitalInfoTest, NullColumnsReadAsEmptyAndFalse)
{
    Session.Company = QStringLiteral("before");
    setHospital(QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("NULL"));
    Session.AllowWDZeroOnHand = true;
    Session.IsWDEntered = true;
    statements.clear();
    LoadHospitalInfo();
    EXPECT_EQ(statements.value(0),
              QStringLiteral("Select *, GetDate() as CurDate From Inventory..tbHospitalInfo"));
    EXPECT_TRUE(Session.Company.isEmpty());
    EXPECT_TRUE(Session.ClientName.isEmpty());
    EXPECT_FALSE(Session.AllowWDZeroOnHand);
    EXPECT_FALSE(Session.IsWDEntered);
}

TEST_F(HospitalInfoTest, SiteCodeIsComparedWithItsLetterCase)
{
    setHospital(QStringLiteral("'jfx'"), QStringLiteral("0"), QStringLiteral("1"));
    LoadHospitalInfo();
    EXPECT_EQ(Session.ClientName, QStringLiteral("jfx"));
    EXPECT_TRUE(Session.IsWDEntered);
    // 'jfx' is no JFX: the location rights decide, not the document's owner.
    addLocations();
    EXPECT_TRUE(IsUserAuthorized(QStringLiteral("TESTER"), QStringLiteral("30"),
                                 QStringLiteral("SOMEONE ELSE")));
    EXPECT_TRUE(prompt.shown().empty());
}

struct SwitchCase
{
    const char *name;
    bool pharma;
    const char *keyValue; // nullptr: no row
    bool expected;
};

class SwitchTest : public LoggedInTest, public ::testing::WithParamInterface<SwitchCase>
{
};

TEST_P(SwitchTest, ReadsTheRowOfTheKey)
{
    const SwitchCase &c = GetParam();
    const QString table = QLatin1String(c.pharma ? "tbPharmaSwitch" : "tbinvSwitch");
    sql(QStringLiteral("DELETE INVENTORY..%1").arg(table));
    // Another key that is on must not count.
    sql(QStringLiteral("INSERT INTO INVENTORY..%1 (idkey, KeyValue) VALUES ('9', 1)").arg(table));
    if (c.keyValue)
        sql(QStringLiteral("INSERT INTO INVENTORY..%1 (idkey, KeyValue) VALUES ('91', %2)")
                .arg(table, QLatin1String(c.keyValue)));
    statements.clear();
    const bool on
        = c.pharma ? GetPharmaSwitch(QStringLiteral("91")) : GetInvSwitch(QStringLiteral("91"));
    EXPECT_EQ(on, c.expected);
    ASSERT_EQ(statements.size(), 1);
    EXPECT_EQ(
        statements.front(),
        c.pharma
            ? QStringLiteral("Select KeyValue from Inventory..tbPharmaSwitch where idkey = '91'")
            : QStringLiteral("Select KeyValue from Inventory..tbinvSwitch where idkey = '91' "));
}

INSTANTIATE_TEST_SUITE_P(Switches, SwitchTest,
                         ::testing::Values(SwitchCase {"InvOn", false, "1", true},
                                           SwitchCase {"InvZero", false, "0", false},
                                           SwitchCase {"InvNull", false, "NULL", false},
                                           SwitchCase {"InvNoRow", false, nullptr, false},
                                           SwitchCase {"PharmaOn", true, "1", true},
                                           SwitchCase {"PharmaZero", true, "0", false},
                                           SwitchCase {"PharmaNull", true, "NULL", false},
                                           SwitchCase {"PharmaNoRow", true, nullptr, false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
