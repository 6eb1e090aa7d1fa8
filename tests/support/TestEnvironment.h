#pragma once

#include "support/ScriptedModal.h"
#include "support/ScriptedPrompt.h"

#include "platform/user/CurrentUser.h"

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace db {
class EmbeddedConnection;
}

namespace testing_support {

class FaultyConnection;

// Every test case gets a fresh temporary folder, a per-user settings store inside it, and the
// message-box and modal-dialog seams scripted.
class TestEnvironment : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString tempPath() const { return m_dir.path(); }

    QTemporaryDir m_dir;
    ScriptedPrompt prompt;
    ScriptedModal modal;
};

// As TestEnvironment, with a fresh in-memory embedded database built from database/*.sql
// (the demo data included) whose clock stands at 12/08/2026 10:15:00 AM.
class DatabaseTest : public TestEnvironment
{
protected:
    void SetUp() override;
    void TearDown() override;

    db::EmbeddedConnection &db() { return *m_db; }
    static QDateTime fixedNow();

    std::unique_ptr<db::EmbeddedConnection> m_db;
};

// As DatabaseTest, with an employee logged in and the session set as start-up sets it: the
// CurrentUser owns the connection, the test keeps a raw pointer to add rows, and `statements`
// holds every statement sent.
class LoggedInDatabaseTest : public DatabaseTest
{
protected:
    void logIn(const QString &employeeCode);
    // As logIn, with the session's connection a FaultyConnection around the database.
    void logInWithFaults(const QString &employeeCode);
    void TearDown() override;
    void sql(const QString &statement);

    db::EmbeddedConnection *database = nullptr;
    FaultyConnection *faulty = nullptr;
    std::unique_ptr<user::CurrentUser> currentUser;
    QStringList statements;
};

} // namespace testing_support
