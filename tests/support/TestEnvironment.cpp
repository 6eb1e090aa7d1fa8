#include "support/TestEnvironment.h"

#include "platform/db/EmbeddedConnection.h"

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

} // namespace testing_support
