// The current-user component's log-in.
#include "session/LoggedInTest.h"

#include "platform/user/CommandLine.h"
#include "platform/user/frmLogin.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

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

// The database opens on a worker thread while the dialog shows that it is connecting; Cancel
// gives the attempt up and leaves the dialog for another try.
TEST_F(LogInTest, ConnectingRunsOffTheWindowsThreadAndCanBeCancelled)
{
    std::atomic<bool> release {false};
    std::atomic<bool> onWindowThread {true};
    std::atomic<int> calls {0};
    std::atomic<bool> firstFinished {false};
    QThread *window = QThread::currentThread();
    target.open = [&]() -> std::unique_ptr<db::Connection> {
        onWindowThread = onWindowThread && QThread::currentThread() == window;
        if (calls++ == 0) {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            firstFinished = true;
            throw db::DatabaseError(QStringLiteral("too late"), QString());
        }
        return std::move(m_db);
    };
    user::CurrentUser user(target);
    bool busyShown = false;
    modal.expect([&](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        login.txtEmployeeID->setText(QStringLiteral("NURSE9"));
        login.txtPassword->setText(QStringLiteral("secret"));
        QTimer::singleShot(150, &login, [&] {
            busyShown = login.isConnecting() && login.prgConnecting->isVisible()
                && !login.txtEmployeeID->isEnabled() && !login.cmdOK->isEnabled()
                && login.cmdCancel->isEnabled();
            login.cmdCancel->click();
        });
        login.cmdOK->click(); // returns once cancelled
        EXPECT_TRUE(login.isVisible());
        EXPECT_FALSE(login.isConnecting());
        EXPECT_TRUE(login.txtEmployeeID->isEnabled());
        EXPECT_TRUE(prompt.shown().empty()); // the user stopped it: nothing to explain
        release = true;
        login.cmdOK->click(); // a second try connects
    });
    user.ShowMain();
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(onWindowThread);
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(&user.sqlconnection(), database);
    EXPECT_EQ(calls, 2);
    // The given-up attempt ends on its own without touching the dialog.
    for (int i = 0; i < 200 && !firstFinished; ++i)
        QTest::qWait(10);
    EXPECT_TRUE(firstFinished);
}

TEST_F(LogInTest, ASilentDatabaseIsGivenUpAfterTheTimeout)
{
    std::atomic<bool> release {false};
    target.loginTimeoutSeconds = 1;
    target.open = [&]() -> std::unique_ptr<db::Connection> {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return nullptr;
    };
    target.databaseFolder = QStringLiteral("/srv/silent");
    user::CurrentUser user(target);
    modal.expect([&](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        login.txtEmployeeID->setText(QStringLiteral("NURSE9"));
        login.txtPassword->setText(QStringLiteral("secret"));
        login.cmdOK->click();
        EXPECT_TRUE(login.isVisible());
        login.reject();
    });
    user.ShowMain();
    release = true;
    EXPECT_FALSE(user.Connected());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("did not answer within 1 seconds")))
        << prompt.lastText().toStdString();
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("--login-timeout")));
}

TEST_F(LogInTest, AFolderThatCannotHoldTheDatabaseIsNamedWithWhatToDo)
{
    QFile blocker(tempPath() + QStringLiteral("/plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    user::ConnectionTarget embedded;
    embedded.databaseFolder = blocker.fileName() + QStringLiteral("/database");
    user::CurrentUser user(embedded);
    modal.expect([&](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        login.txtEmployeeID->setText(QStringLiteral("NURSE9"));
        login.cmdOK->click();
        login.cmdCancel->click();
    });
    user.ShowMain();
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_TRUE(prompt.lastText().contains(embedded.databaseFolder))
        << prompt.lastText().toStdString();
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("--database")));
}

TEST_F(LogInTest, TheServerPasswordIsAskedWhenNothingElseGivesIt)
{
    user::ConnectionTarget odbc;
    odbc.odbcConnectionString = QStringLiteral("DRIVER={No Such Driver};Server=dbhost;UID=sa");
    user::CurrentUser user(odbc);
    ASSERT_TRUE(user.needsServerPassword());
    modal.expect([&](QDialog &dialog) {
        auto &login = dynamic_cast<user::frmLogin &>(dialog);
        EXPECT_TRUE(login.txtServerPassword->isVisible());
        EXPECT_EQ(login.txtServerPassword->echoMode(), QLineEdit::Password);
        login.txtEmployeeID->setText(QStringLiteral("NURSE9"));
        login.txtPassword->setText(QStringLiteral("secret"));
        login.txtServerPassword->setText(QStringLiteral("se;cr}et"));
        login.cmdOK->click();
        login.cmdCancel->click();
    });
    user.ShowMain();
    EXPECT_EQ(user.ServerPassword(), QStringLiteral("se;cr}et"));
    EXPECT_EQ(user.odbcConnectionString(),
              QStringLiteral("DRIVER={No Such Driver};Server=dbhost;UID=sa;PWD={se;cr}}et}"));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("dbhost")));
}

struct CommandLineCase
{
    const char *name;
    QStringList arguments;
    const char *passwordVariable;
    bool fails;
    int timeout;
    bool asksPassword;
    bool warns;
};

std::ostream &operator<<(std::ostream &out, const CommandLineCase &c)
{
    return out << c.name;
}

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLineTest, OptionsAndWhereThePasswordComesFrom)
{
    const CommandLineCase &c = GetParam();
    QProcessEnvironment environment;
    if (c.passwordVariable)
        environment.insert(QLatin1String(user::PasswordVariable),
                           QLatin1String(c.passwordVariable));
    const user::CommandLine line = user::parseCommandLine(
        QStringList {QStringLiteral("stockrequest")} + c.arguments, environment);
    EXPECT_EQ(!line.error.isEmpty(), c.fails) << line.error.toStdString();
    if (c.fails)
        return;
    EXPECT_EQ(line.target.loginTimeoutSeconds, c.timeout);
    EXPECT_EQ(!line.warning.isEmpty(), c.warns);
    const user::CurrentUser current(line.target);
    EXPECT_EQ(current.needsServerPassword(), c.asksPassword);
    if (c.passwordVariable) {
        EXPECT_EQ(current.ServerPassword(), QLatin1String(c.passwordVariable));
        EXPECT_TRUE(current.odbcConnectionString().endsWith(
            QStringLiteral("PWD={") + QLatin1String(c.passwordVariable) + QLatin1Char('}')));
    }
}

const QString kServer = QStringLiteral("DRIVER={FreeTDS};Server=dbhost;Database=INVENTORY;UID=sa");

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        CommandLineCase {"Defaults", {}, nullptr, false, 10, false, false},
        CommandLineCase {"Timeout",
                         {QStringLiteral("--login-timeout"), QStringLiteral("30")},
                         nullptr,
                         false,
                         30,
                         false,
                         false},
        CommandLineCase {"TimeoutZero", {QStringLiteral("--login-timeout=0")}, nullptr, true},
        CommandLineCase {"TimeoutText",
                         {QStringLiteral("--login-timeout"), QStringLiteral("ten")},
                         nullptr,
                         true},
        CommandLineCase {"TimeoutMissing", {QStringLiteral("--login-timeout")}, nullptr, true},
        CommandLineCase {"BothDatabases",
                         {QStringLiteral("--database"), QStringLiteral("/tmp/x"),
                          QStringLiteral("--odbc"), kServer},
                         nullptr,
                         true},
        CommandLineCase {"UnknownOption", {QStringLiteral("--server")}, nullptr, true},
        CommandLineCase {"StrayArgument", {QStringLiteral("extra")}, nullptr, true},
        CommandLineCase {"ServerWithoutPassword",
                         {QStringLiteral("--odbc"), kServer},
                         nullptr,
                         false,
                         10,
                         true,
                         false},
        CommandLineCase {"PasswordFromTheEnvironment",
                         {QStringLiteral("--odbc"), kServer},
                         "env;pw",
                         false,
                         10,
                         false,
                         false},
        CommandLineCase {"DataSourceHoldsIt",
                         {QStringLiteral("--odbc"), QStringLiteral("DSN=hospital;UID=sa")},
                         nullptr,
                         false,
                         10,
                         false,
                         false},
        CommandLineCase {"PasswordOnTheCommandLineWarns",
                         {QStringLiteral("--odbc"), kServer + QStringLiteral(";PWD=secret")},
                         nullptr,
                         false,
                         10,
                         false,
                         true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CommandLine, VersionIsRecognised)
{
    const user::CommandLine line = user::parseCommandLine(
        {QStringLiteral("stockrequest"), QStringLiteral("--version")}, QProcessEnvironment());
    EXPECT_TRUE(line.error.isEmpty());
    EXPECT_TRUE(line.showVersion);
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
