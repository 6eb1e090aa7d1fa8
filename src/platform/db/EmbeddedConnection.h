#pragma once

#include "platform/db/Connection.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace tsql {
class Engine;
class Error;
} // namespace tsql

namespace db {

// The embedded backend: the T-SQL engine on SQLite files in one folder (INVENTORY.db,
// Build_File.db, Password.db, patient_data.db), or in memory for tests. A folder without them
// is created on first use by running database/schema.sql, procedures.sql and demo.sql.
class EmbeddedConnection final : public Connection
{
public:
    enum class Content { Demo, SchemaOnly };

    // Opens (creating when missing) the database in a folder. Throws DatabaseError.
    static std::unique_ptr<EmbeddedConnection> open(const QString &folder,
                                                    Content content = Content::Demo);
    // A fresh private in-memory database built from database/*.sql (tests). Cheap: the
    // scripts run once per process and each call gets a copy.
    static std::unique_ptr<EmbeddedConnection> openInMemory(Content content = Content::Demo);

    ~EmbeddedConnection() override;

    // Runs a T-SQL script of GO-separated batches.
    void runScript(const QString &script);

    // The clock GETDATE() reads (server local time); tests set a fixed one.
    void setClock(std::function<QDateTime()> clock);

    QString serverName() const override;
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    bool inTransaction() const override;

    // The files of a database folder: INVENTORY.db, Build_File.db, Password.db,
    // patient_data.db.
    static QStringList databaseFiles();
    // What a statement refused by another program's lock says.
    static QString busyMessage();

    tsql::Engine &engine() { return *m_engine; }

protected:
    Recordset doQuery(const QString &sql) override;
    void doExecute(const QString &sql) override;

private:
    explicit EmbeddedConnection(std::unique_ptr<tsql::Engine> engine, QString where);
    DatabaseError failure(const tsql::Error &error, const QString &sql) const;

    std::unique_ptr<tsql::Engine> m_engine;
    QString m_where;
    int m_transactionDepth = 0;
};

} // namespace db
