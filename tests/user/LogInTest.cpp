// The current-user component's log-in.
#include "session/LoggedInTest.h"

#include "platform/user/frmLogin.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class LogInTest : public testing_support::DatabaseTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        database = m_db.get();
        database->execute(
            QStringLiteral(
                "INSERT INTO Password..tbPasswordMain (EmployeeID, Password) VALUES ('NURSE9', ")
            + db::quote(EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey),
                                       QStringLiteral("secret")))
            + QStringLiteral(")"));
        database->setObserver([this](const QString &sql) { statements << sql; });
        target.open = [this]() -> std::unique_ptr<db::Connection> {
            ++opened;
            if (failOpening)
                throw db::DatabaseError(QStringLiteral("Server not found"), QString());
            return std::move(m_db);
        };
    }

    // Each step: fill the boxes and press OK (or Cancel when cancel is set).
    struct Try
    {
        QString id;
        QString password;
        bool cancel = false;
    };

    void logIn(user::CurrentUser &user, const std::vector<Try> &tries)
    {
        modal.expect([tries](QDialog &dialog) {
            auto &login = dynamic_cast<user::frmLogin &>(dialog);
            EXPECT_TRUE(login.txtServer->isReadOnly());
            EXPECT_EQ(login.txtPassword->echoMode(), QLineEdit::Password);
            for (const Try &t : tries) {
                if (t.cancel) {
                    login.cmdCancel->click();
                    return;
                }
                login.txtEmployeeID->setText(t.id);
                login.txtPassword->setText(t.password);
                login.cmdOK->click();
            }
        });
        user.ShowMain();
    }

    db::EmbeddedConnection *database = nullptr;
    user::ConnectionTarget target;
    QStringList statements;
    int opened = 0;
    bool failOpening = false;
};

TEST_F(LogInTest, RightPasswordConnects)
{
    user::CurrentUser user(target);
    logIn(user, {{QStringLiteral(" nurse9 "), QStringLiteral("secret")}});
    EXPECT_TRUE(user.Connected());
    // The employee code as the password table spells it.
    EXPECT_EQ(user.Employeecode(), QStringLiteral("NURSE9"));
    EXPECT_EQ(&user.sqlconnection(), database);
    EXPECT_EQ(statements.value(0),
              QStringLiteral("Select EmployeeId from Password..tbPasswordMain where EmployeeId = "
                             "'nurse9' and Password = '4BEF 022DA14CD'"));
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_TRUE(user.UserID().isEmpty());
    EXPECT_TRUE(user.ServerPassword().isEmpty());
}

TEST_F(LogInTest, WrongPasswordsAndQuotesAreRefusedUntilTheRightOne)
{
    const QString injection = QStringLiteral("' or '1'='1");
    user::CurrentUser user(target);
    logIn(user,
          {{QStringLiteral("NURSE9"), QStringLiteral("Secret")},
           {injection, QStringLiteral("x")},
           {QStringLiteral("NURSE9"), injection},
           {injection, injection},
           {QString(), QString()},
           {QStringLiteral("NURSE9"), QStringLiteral("secret")}});
    EXPECT_EQ(prompt.texts(), QStringList(5, QStringLiteral("Invalid employee id or password.")));
    EXPECT_TRUE(user.Connected());
    // The database is opened once, however many tries.
    EXPECT_EQ(opened, 1);
}

TEST_F(LogInTest, CancelLeavesTheUserDisconnected)
{
    user::CurrentUser user(target);
    logIn(user, {{QStringLiteral("NURSE9"), QStringLiteral("wrong")}, {{}, {}, true}});
    EXPECT_FALSE(user.Connected());
    EXPECT_TRUE(user.Employeecode().isEmpty());
    EXPECT_THROW(user.sqlconnection(), db::DatabaseError);
}

TEST_F(LogInTest, UnreachableDatabaseIsReportedAndMayBeTriedAgain)
{
    failOpening = true;
    user::CurrentUser user(target);
    modal.expect([this](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        login.txtEmployeeID->setText(QStringLiteral("NURSE9"));
        login.txtPassword->setText(QStringLiteral("secret"));
        login.cmdOK->click();
        EXPECT_TRUE(login.isVisible());
        EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Server not found")});
        failOpening = false;
        login.cmdOK->click();
    });
    user.ShowMain();
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(opened, 2);
}

TEST_F(LogInTest, ServerThatCannotBeReachedIsReportedInTheDialog)
{
    user::ConnectionTarget odbc;
    odbc.odbcConnectionString = QStringLiteral("DRIVER={No Such Driver};Server=nowhere;UID=sa");
    user::CurrentUser user(odbc);
    modal.expect([this](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        EXPECT_EQ(login.txtServer->text(), QStringLiteral("nowhere"));
        login.txtEmployeeID->setText(QStringLiteral("NURSE9"));
        login.txtPassword->setText(QStringLiteral("secret"));
        login.cmdOK->click();
        EXPECT_TRUE(login.isVisible());
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_FALSE(prompt.lastText().isEmpty());
        EXPECT_EQ(prompt.shown().front().icon, ui::Icon::Critical);
        login.cmdCancel->click();
    });
    user.ShowMain();
    EXPECT_FALSE(user.Connected());
    EXPECT_EQ(user.UserID(), QStringLiteral("sa"));
}

TEST(CurrentUser, OdbcLogOnValuesComeFromTheConnectionString)
{
    user::ConnectionTarget target;
    target.odbcConnectionString
        = QStringLiteral("DRIVER={FreeTDS};Server=dbhost;Port=1433;Database=INVENTORY;"
                         "uid=report;PWD={p;w}}d}");
    const user::CurrentUser user(target);
    EXPECT_EQ(user.ServerName(), QStringLiteral("dbhost"));
    EXPECT_EQ(user.UserID(), QStringLiteral("report"));
    EXPECT_EQ(user.ServerPassword(), QStringLiteral("p;w}d"));
    EXPECT_FALSE(user.Connected());
}

} // namespace

namespace {

// Typing as a user does: Enter after the id goes on to the password (no empty password tried),
// Enter after the password logs in.
TEST_F(LogInTest, EnterAfterTheEmployeeIdMovesToThePassword)
{
    user::CurrentUser user(target);
    modal.expect([this](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        login.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&login));
        login.txtEmployeeID->setFocus();
        QTest::keyClicks(login.txtEmployeeID, QStringLiteral("NURSE9"));
        QTest::keyClick(login.txtEmployeeID, Qt::Key_Return);
        EXPECT_TRUE(login.isVisible());
        EXPECT_TRUE(statements.isEmpty()); // nothing was checked yet
        EXPECT_TRUE(prompt.shown().empty());
        EXPECT_TRUE(login.txtPassword->hasFocus());
        QTest::keyClicks(login.txtPassword, QStringLiteral("secret"));
        QTest::keyClick(login.txtPassword, Qt::Key_Return);
    });
    user.ShowMain();
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(user.Employeecode(), QStringLiteral("NURSE9"));
}

} // namespace
