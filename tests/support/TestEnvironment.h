#pragma once

#include "support/ScriptedModal.h"
#include "support/ScriptedPrompt.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace db {
class EmbeddedConnection;
}

namespace testing_support {

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

} // namespace testing_support
