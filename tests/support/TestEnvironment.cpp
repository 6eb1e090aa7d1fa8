#include "support/TestEnvironment.h"

#include "platform/db/EmbeddedConnection.h"
#include "session/Session.h"
#include "support/FaultyConnection.h"

#include <QSettings>
#include <QStandardPaths>

namespace testing_support {

void TestEnvironment::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

void TestEnvironment::TearDown() { }

QDateTime DatabaseTest::fixedNow()
{
    return QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0));
}

void DatabaseTest::SetUp()
{
    TestEnvironment::SetUp();
    m_db = db::EmbeddedConnection::openInMemory();
    m_db->setClock([] { return fixedNow(); });
}

void DatabaseTest::TearDown()
{
    m_db.reset();
    TestEnvironment::TearDown();
}

void LoggedInDatabaseTest::logIn(const QString &employeeCode)
{
    resetSession();
    database = m_db.get();
    database->setObserver([this](const QString &sql) { statements << sql; });
    currentUser = std::make_unique<user::CurrentUser>();
    currentUser->logIn(std::move(m_db), employeeCode);
    Session.CurrentUser = currentUser.get();
    Session.Connection = database;
    Session.InventoryAccess = QStringLiteral("A");
}

void LoggedInDatabaseTest::logInWithFaults(const QString &employeeCode)
{
    resetSession();
    database = m_db.get();
    database->setObserver([this](const QString &sql) { statements << sql; });
    auto wrapper = std::make_unique<FaultyConnection>(std::move(m_db));
    faulty = wrapper.get();
    currentUser = std::make_unique<user::CurrentUser>();
    currentUser->logIn(std::move(wrapper), employeeCode);
    Session.CurrentUser = currentUser.get();
    Session.Connection = faulty;
    Session.InventoryAccess = QStringLiteral("A");
}

void LoggedInDatabaseTest::TearDown()
{
    resetSession();
    currentUser.reset();
    database = nullptr;
    faulty = nullptr;
    DatabaseTest::TearDown();
}

void LoggedInDatabaseTest::sql(const QString &statement)
{
    database->execute(statement);
}

} // namespace testing_support
