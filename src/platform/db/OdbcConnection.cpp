#include "platform/db/OdbcConnection.h"

#include "platform/format/Format.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

namespace db {

namespace {

// ODBC SQL type codes (sql.h) of the columns that need more than Qt's own conversion.
constexpr int SqlNumeric = 2;
constexpr int SqlDecimal = 3;
constexpr int SqlFloat = 6;
constexpr int SqlReal = 7;
constexpr int SqlDouble = 8;
constexpr int SqlBit = -7;

struct Attribute
{
    QString key;
    QString value;
};

// "KEY=value;KEY={value; with braces}" as ODBC reads it ("}}" inside braces is one "}").
QList<Attribute> parseConnectionString(const QString &text)
{
    QList<Attribute> out;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            if (semi < 0)
                break;
            i = semi + 1;
            continue;
        }
        Attribute a;
        a.key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text[i] == QLatin1Char(' '))
            ++i;
        if (i < n && text[i] == QLatin1Char('{')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('}')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('}')) {
                        a.value += QLatin1Char('}');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                a.value += text[i++];
            }
            const qsizetype next = text.indexOf(QLatin1Char(';'), i);
            i = next < 0 ? n : next + 1;
        } else {
            const qsizetype next = text.indexOf(QLatin1Char(';'), i);
            a.value = text.mid(i, (next < 0 ? n : next) - i).trimmed();
            i = next < 0 ? n : next + 1;
        }
        if (!a.key.isEmpty())
            out.append(a);
    }
    return out;
}

QString attribute(const QList<Attribute> &attributes, const QString &key)
{
    for (const Attribute &a : attributes) {
        if (a.key.compare(key, Qt::CaseInsensitive) == 0)
            return a.value;
    }
    return QString();
}

bool hasAttribute(const QList<Attribute> &attributes, const QString &key)
{
    for (const Attribute &a : attributes) {
        if (a.key.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// FreeTDS by its registered name or by its library's file name.
bool isFreeTds(const QString &driver)
{
    return driver.contains(QLatin1String("freetds"), Qt::CaseInsensitive)
        || driver.contains(QLatin1String("tdsodbc"), Qt::CaseInsensitive);
}

bool isSqlServerDriver(const QString &driver)
{
    return isFreeTds(driver) || driver.contains(QLatin1String("SQL Server"), Qt::CaseInsensitive);
}

// The driver's own words ("[FreeTDS][SQL Server]Invalid object name 'x'."), or Qt's when the
// driver said nothing.
QString errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("The database refused the statement.");
    return text;
}

enum class Kind { Plain, Bit, Whole, Exact, Approximate, Date };

Kind kindOf(const QSqlField &field)
{
    switch (field.typeID()) {
    case SqlBit:
        return Kind::Bit;
    case SqlNumeric:
    case SqlDecimal:
        return Kind::Exact;
    case SqlFloat:
    case SqlReal:
    case SqlDouble:
        return Kind::Approximate;
    default:
        break;
    }
    switch (field.metaType().id()) {
    case QMetaType::Bool:
        return Kind::Bit;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return Kind::Whole;
    case QMetaType::Double:
    case QMetaType::Float:
        return Kind::Exact;
    case QMetaType::QDate:
        return Kind::Date;
    default:
        return Kind::Plain;
    }
}

// Significant digits of a plain decimal text ("-0012.3400" has four).
int significantDigits(const QString &text)
{
    int first = -1;
    int last = -1;
    int count = 0;
    bool afterPoint = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c.isDigit()) {
            if (first < 0 && c != QLatin1Char('0'))
                first = count;
            if (c != QLatin1Char('0') || !afterPoint)
                last = count;
            ++count;
        } else if (c != QLatin1Char('-') && c != QLatin1Char('+')) {
            return 1000; // not a plain decimal
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// A decimal column's text: whole numbers as qlonglong, others as double when a double holds
// every digit, else kept as text so that nothing is lost.
QVariant exactValue(const QString &digits)
{
    const QString text = digits.trimmed();
    bool ok = false;
    if (!text.contains(QLatin1Char('.'))) {
        const qlonglong whole = text.toLongLong(&ok);
        if (ok)
            return whole;
    }
    if (format::isNumeric(text) && significantDigits(text) <= 15)
        return format::numericValue(text);
    return text;
}

QVariant valueOf(const QVariant &raw, Kind kind)
{
    switch (kind) {
    case Kind::Bit:
        if (raw.typeId() == QMetaType::QString)
            return raw.toString().trimmed() == QLatin1String("1")
                || raw.toString().trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive)
                == 0;
        return raw.toLongLong() != 0;
    case Kind::Whole:
        return raw.toLongLong();
    case Kind::Exact:
        return raw.typeId() == QMetaType::QString ? exactValue(raw.toString()) : raw.toDouble();
    case Kind::Approximate:
        return raw.typeId() == QMetaType::QString ? format::leadingNumber(raw.toString())
                                                  : raw.toDouble();
    case Kind::Date:
        return QDateTime(raw.toDate(), QTime(0, 0));
    case Kind::Plain:
        break;
    }
    return raw;
}

std::atomic<int> connectionCounter {0};

} // namespace

QString OdbcConnection::driverConnectionString(const QString &connectionString)
{
    const QList<Attribute> attributes = parseConnectionString(connectionString);
    QString out = connectionString.trimmed();
    // FreeTDS otherwise speaks the protocol version of its build, too old for today's servers.
    // Its log-on timeout is set through the ODBC attribute: the string's "Timeout" keyword would
    // also cut off every statement that runs longer.
    if (isFreeTds(attribute(attributes, QStringLiteral("DRIVER")))
        && !hasAttribute(attributes, QStringLiteral("TDS_Version"))) {
        if (!out.isEmpty() && !out.endsWith(QLatin1Char(';')))
            out += QLatin1Char(';');
        out += QStringLiteral("TDS_Version=7.4");
    }
    return out;
}

QVariant OdbcConnection::decimalValue(const QString &digits)
{
    return exactValue(digits);
}

std::unique_ptr<OdbcConnection> OdbcConnection::open(const QString &connectionString,
                                                     int logonTimeoutSeconds)
{
    const QList<Attribute> attributes = parseConnectionString(connectionString);
    QString server = attribute(attributes, QStringLiteral("Server"));
    if (server.isEmpty())
        server = attribute(attributes, QStringLiteral("Database"));
    if (server.isEmpty())
        server = attribute(attributes, QStringLiteral("DSN"));

    const QString name = QStringLiteral("stockrequest-odbc-%1").arg(++connectionCounter);
    std::unique_ptr<OdbcConnection> connection(new OdbcConnection(name, server));
    QSqlDatabase &db = connection->m_db;
    db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
    if (!db.isValid())
        throw DatabaseError(QStringLiteral("The ODBC database driver (QODBC) is not available."),
                            QString());
    db.setDatabaseName(driverConnectionString(connectionString));
    if (logonTimeoutSeconds > 0)
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(logonTimeoutSeconds));
    if (!db.open())
        throw DatabaseError(errorText(db.lastError()), QString());

    // Row counts of inserts and updates would come back as results of their own; SQL Server's
    // drivers only (the SQLite driver refuses the statement).
    const QSqlDriver::DbmsType dbms = db.driver()->dbmsType();
    if (dbms == QSqlDriver::MSSqlServer || dbms == QSqlDriver::Sybase
        || isSqlServerDriver(attribute(attributes, QStringLiteral("DRIVER"))))
        connection->doExecute(QStringLiteral("SET NOCOUNT ON"));
    return connection;
}

OdbcConnection::OdbcConnection(QString connectionName, QString serverName)
    : m_connectionName(std::move(connectionName))
    , m_serverName(std::move(serverName))
{ }

OdbcConnection::~OdbcConnection()
{
    if (m_db.isOpen()) {
        if (m_transactionDepth > 0)
            m_db.rollback();
        m_db.close();
    }
    // The connection can only be removed once no handle to it is left.
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString OdbcConnection::serverName() const
{
    return m_serverName;
}

// Nested transactions count as SQL Server counts them: only the outermost commits, and a
// rollback at any depth undoes the whole.
void OdbcConnection::beginTransaction()
{
    if (m_transactionDepth == 0 && !m_db.transaction())
        throw DatabaseError(errorText(m_db.lastError()), QStringLiteral("BEGIN TRANSACTION"));
    ++m_transactionDepth;
}

void OdbcConnection::commitTransaction()
{
    const QString statement = QStringLiteral("COMMIT TRANSACTION");
    if (m_transactionDepth == 0)
        throw DatabaseError(QStringLiteral("The COMMIT TRANSACTION request has no corresponding "
                                           "BEGIN TRANSACTION."),
                            statement);
    if (--m_transactionDepth > 0)
        return;
    if (!m_db.commit()) {
        // The server may keep the transaction open after a refused commit: it is rolled back
        // so that its locks go and the connection serves the next statement.
        const QString message = errorText(m_db.lastError());
        if (!m_db.rollback()) {
            QSqlQuery undo(m_db);
            undo.exec(QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"));
        }
        throw DatabaseError(message, statement);
    }
}

void OdbcConnection::rollbackTransaction()
{
    const QString statement = QStringLiteral("ROLLBACK TRANSACTION");
    if (m_transactionDepth == 0)
        throw DatabaseError(QStringLiteral("The ROLLBACK TRANSACTION request has no "
                                           "corresponding BEGIN TRANSACTION."),
                            statement);
    m_transactionDepth = 0;
    if (!m_db.rollback())
        throw DatabaseError(errorText(m_db.lastError()), statement);
}

void OdbcConnection::run(QSqlQuery &query, const QString &sql)
{
    query.setForwardOnly(true);
    // Decimals come as the server's digits, not through a binary double.
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.exec(sql))
        throw DatabaseError(errorText(query.lastError()), sql);
}

void OdbcConnection::drain(QSqlQuery &query, const QString &sql)
{
    while (query.nextResult()) { }
    // An error raised after the first result (a procedure failing half-way) shows here.
    if (query.lastError().isValid())
        throw DatabaseError(errorText(query.lastError()), sql);
}

Recordset OdbcConnection::doQuery(const QString &sql)
{
    QSqlQuery query(m_db);
    run(query, sql);

    // The rows are those of the first result with columns: a procedure's row counts and
    // messages before its select do not hide the rows.
    while (!query.isSelect()) {
        if (!query.nextResult()) {
            if (query.lastError().isValid())
                throw DatabaseError(errorText(query.lastError()), sql);
            return Recordset();
        }
    }

    const QSqlRecord record = query.record();
    const int count = record.count();
    QStringList columns;
    std::vector<Kind> kinds;
    kinds.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        columns << record.fieldName(i);
        kinds.push_back(kindOf(record.field(i)));
    }

    std::vector<Recordset::Row> rows;
    while (query.next()) {
        Recordset::Row row;
        row.reserve(static_cast<std::size_t>(count));
        // Columns are read in order: some drivers give long columns only that way.
        for (int i = 0; i < count; ++i) {
            const QVariant raw = query.value(i);
            if (raw.isNull() || query.isNull(i))
                row.emplace_back();
            else
                row.push_back(valueOf(raw, kinds[static_cast<std::size_t>(i)]));
        }
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw DatabaseError(errorText(query.lastError()), sql);
    drain(query, sql);
    return Recordset(std::move(columns), std::move(rows));
}

void OdbcConnection::doExecute(const QString &sql)
{
    QSqlQuery query(m_db);
    run(query, sql);
    drain(query, sql);
}

} // namespace db
