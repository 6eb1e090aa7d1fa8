// The embedded engine at hospital scale.
//
// - Cold/<statement>: a statement shape the engine has not seen (the letter case of its words is
//   varied per iteration, which the shape key keeps apart): lex, parse, emit, prepare and run.
// - Cached/<statement>: the same shape with new literal values: lex for the key, bind and run.
// - SQLite/<statement>: the same query hand-written for SQLite on the same files, prepared once,
//   bound and stepped through all rows (every column read).
// - Lex/<statement>, Parse/<statement>: lexing alone (as for the cache key), lexing and parsing.
// - Execute/<statement>: tsql::Engine::execute from the cache, without the connection's
//   Recordset.
// - Demo database creation: open() on an empty folder with the demo content, openInMemory().
//
// SR_BENCH_SHOW_SQL=1 prints the engine's SQLite text of each SELECT beside the hand-written
// one, with SQLite's plans; SR_BENCH_HAND_CACHE_MIB=n gives the hand-written side a page cache of
// n MiB per database (both sides use SQLite's default otherwise).
//
// After the run a summary gives, per statement, cached engine time / hand-written SQLite time
// (goal <= 1.3) and the cost of a cold statement over a cached one (parse, emit and prepare),
// measured on the demo database where running the statement costs little.
#include "common/HospitalScale.h"

#include "platform/db/EmbeddedConnection.h"
#include "platform/tsql/Engine.h"
#include "platform/tsql/Lexer.h"
#include "platform/tsql/Parser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------------------------------------
// Hand-written SQLite on the engine's files
// ------------------------------------------------------------------------------------------

// The clock and object look-up the registered SQL functions may ask for.
class FixedHost final : public tsql::FunctionHost
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0)); }
    int objectId(const QString &, const QString &) const override { return 0; }
};

// A plain SQLite connection with the four database files attached under their names. The
// files' text columns are declared with the engine's TSQL collation (no letter case, trailing
// blanks ignored), which SQLite needs registered to read them; the engine's registration is
// used so that both sides compare text alike.
class HandConnection
{
public:
    explicit HandConnection(const QString &folder)
    {
        if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("sqlite3_open_v2 failed");
        tsql::registerFunctions(m_db, &m_host);
        for (const char *name : {"INVENTORY", "Build_File", "Password", "patient_data"}) {
            const QByteArray sql = QStringLiteral("ATTACH DATABASE '%1/%2.db' AS \"%2\"")
                                       .arg(folder, QString::fromLatin1(name))
                                       .toUtf8();
            exec(sql.constData());
        }
        // SR_BENCH_HAND_CACHE_MIB: a larger page cache per database than SQLite's default, to
        // see what the engine would gain from one.
        const int mib = qEnvironmentVariableIntValue("SR_BENCH_HAND_CACHE_MIB");
        if (mib > 0) {
            for (const char *name : {"INVENTORY", "Build_File", "Password", "patient_data"})
                exec(QStringLiteral("PRAGMA \"%1\".cache_size = -%2")
                         .arg(QString::fromLatin1(name))
                         .arg(mib * 1024)
                         .toUtf8()
                         .constData());
        }
    }
    ~HandConnection() { sqlite3_close_v2(m_db); }
    HandConnection(const HandConnection &) = delete;
    HandConnection &operator=(const HandConnection &) = delete;

    void exec(const char *sql)
    {
        char *error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }
    sqlite3 *handle() const { return m_db; }

private:
    FixedHost m_host;
    sqlite3 *m_db = nullptr;
};

// One prepared statement, run with text parameters; every row is stepped through and every
// column read.
class HandQuery
{
public:
    HandQuery(const HandConnection &connection, const char *sql)
    {
        if (sqlite3_prepare_v3(connection.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt,
                               nullptr)
            != SQLITE_OK)
            throw std::runtime_error(std::string("prepare: ") + sqlite3_errmsg(connection.handle())
                                     + " in " + sql);
    }
    ~HandQuery() { sqlite3_finalize(m_stmt); }
    HandQuery(const HandQuery &) = delete;
    HandQuery &operator=(const HandQuery &) = delete;

    // The rows of one run.
    int run(const std::vector<QByteArray> &parameters)
    {
        sqlite3_reset(m_stmt);
        for (size_t i = 0; i < parameters.size(); ++i)
            sqlite3_bind_text(m_stmt, static_cast<int>(i + 1), parameters[i].constData(),
                              static_cast<int>(parameters[i].size()), SQLITE_STATIC);
        int rows = 0;
        const int columns = sqlite3_column_count(m_stmt);
        while (sqlite3_step(m_stmt) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(m_stmt, c)) {
                case SQLITE_INTEGER:
                    benchmark::DoNotOptimize(sqlite3_column_int64(m_stmt, c));
                    break;
                case SQLITE_FLOAT:
                    benchmark::DoNotOptimize(sqlite3_column_double(m_stmt, c));
                    break;
                case SQLITE_TEXT:
                    benchmark::DoNotOptimize(sqlite3_column_text(m_stmt, c));
                    benchmark::DoNotOptimize(sqlite3_column_bytes(m_stmt, c));
                    break;
                default:
                    break;
                }
            }
        }
        return rows;
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// ------------------------------------------------------------------------------------------
// The program's statements
// ------------------------------------------------------------------------------------------

QString inner(const QString &value)
{
    return db::quoteInner(value);
}

// The withdrawal listing, "Pendings", not verified, empty search box, oldest first.
QString listingStatement(const QString &employeeCode)
{
    return QStringLiteral("Select distinct A.DocumentNumber , B.Location ,")
        + QStringLiteral(" C.Location ,A.TransDate ,")
        + QStringLiteral(" (Select Top 1 LastName + ', ' + FirstName From Password..tbPasswordMain "
                         "Where EmployeeID = A.UserID)")
        + QStringLiteral(" ,A.targetlocationid,A.Userid ") + QStringLiteral(" from INVENTORY..")
        + QStringLiteral("tbinvwithdrawrequest") + QStringLiteral(" A ")
        + QStringLiteral(" Left Outer Join INVENTORY..tbinvlocation B")
        + QStringLiteral(" On A.TargetLocationID = B.LocationID")
        + QStringLiteral(" Left Outer Join INVENTORY..tbinvLocation C")
        + QStringLiteral(" On A.LocationId = C.LocationID")
        + QStringLiteral(" where a.TargetLocationID in (select locationid from "
                         "INVENTORY..tbinvUserLocation where UserID = '")
        + inner(employeeCode) + QStringLiteral("')   ")
        + QStringLiteral(" and isnull(A.Status,'') = '' ")
        + QStringLiteral(" and isnull(verifiedby,'') = ''  ")
        + QStringLiteral(" and a.documentnumber like '") + QStringLiteral("%") + QStringLiteral("'")
        + QStringLiteral(" Order By Transdate ");
}

constexpr auto kListingSql
    = "SELECT DISTINCT A.DocumentNumber, B.Location, C.Location, A.TransDate, "
      "(SELECT LastName || ', ' || FirstName FROM Password.tbPasswordMain "
      "WHERE EmployeeID = A.UserID LIMIT 1), A.TargetLocationID, A.UserID "
      "FROM INVENTORY.tbInvWithdrawRequest A "
      "LEFT JOIN INVENTORY.tbInvLocation B ON A.TargetLocationID = B.LocationID "
      "LEFT JOIN INVENTORY.tbInvLocation C ON A.LocationID = C.LocationID "
      "WHERE A.TargetLocationID IN (SELECT LocationID FROM INVENTORY.tbinvUserLocation "
      "WHERE UserID = ?1) AND ifnull(A.Status, '') = '' AND ifnull(A.Verifiedby, '') = '' "
      "AND A.DocumentNumber LIKE ?2 ORDER BY A.TransDate";

QString loadRequestStatement(const QString &number)
{
    return QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '") + inner(number)
        + QLatin1Char('\'');
}

// The procedure's choice of table, then its rows.
constexpr auto kLoadRequestCheckSql
    = "SELECT EXISTS (SELECT 1 FROM INVENTORY.tbInvWithdrawRequest WHERE DocumentNumber = ?1) "
      "OR NOT EXISTS (SELECT 1 FROM INVENTORY.tbInvWithdrawRequestConsolidation "
      "WHERE DocumentNumber = ?1)";
constexpr auto kLoadRequestSql
    = "SELECT A.DocumentNumber, A.Remarks, A.TransDate AS Transdate, A.LocationID, L.Location, "
      "A.TargetLocationID, T.Location AS TLocation, A.isRequest, D.Department, "
      "S.SectionName AS Section, A.ApprovingOfficerID, A.Requestedby, A.ItemID, "
      "rtrim(ifnull(M.ItemName, '') || ' ' || ltrim(rtrim(ifnull(M.ItemDesc, '')))) "
      "AS Description, U.UnitOfMeasure, A.Quantity, A.UnitCost, A.ForRetail, A.isADS, "
      "I.OnHand, A.lotnumber AS Lotnumber "
      "FROM INVENTORY.tbInvWithdrawRequest A "
      "LEFT JOIN INVENTORY.tbInvLocation L ON L.LocationID = A.LocationID "
      "LEFT JOIN INVENTORY.tbInvLocation T ON T.LocationID = A.TargetLocationID "
      "LEFT JOIN Build_File.tbcoDepartment D ON D.DepartmentID = A.DepartmentID "
      "LEFT JOIN Build_File.tbcoSection S ON S.SectionID = A.SectionID "
      "LEFT JOIN INVENTORY.tbInvMaster M ON M.ItemID = A.ItemID "
      "LEFT JOIN INVENTORY.tbInvUnitOfMeasure U ON U.UnitOfMeasureID = M.UnitOfMeasureID "
      "LEFT JOIN INVENTORY.tbInvent I ON I.ItemID = A.ItemID AND I.LocationID = A.LocationID "
      "WHERE A.DocumentNumber = ?1 AND ?1 <> 'NEW' ORDER BY A.LineID";

QString newDocNumberStatement()
{
    return QStringLiteral("Select (max(Cast(DocumentNumber as float)) + 1) as DocNum From "
                          "INVENTORY..tbInvWithdrawRequest where isnumeric(DocumentNumber) = 1 ");
}

// The same query: the server's ISNUMERIC (signs, decimals, exponents, currency signs) through
// the function the engine registers, and the number read from the text as the server does.
constexpr auto kNewDocNumberSql
    = "SELECT max(CAST(tsql_num(DocumentNumber) AS REAL)) + 1 AS DocNum "
      "FROM INVENTORY.tbInvWithdrawRequest "
      "WHERE tsql_isnumeric(DocumentNumber) = 1";

QString itemPendingStatement(const QString &item, const QString &target, const QString &docNum,
                             const QString &roDocNum)
{
    return QStringLiteral("select itemid from inventory..tbInvWithdrawRequest ")
        + QStringLiteral(" Where ItemID = '") + inner(item) + QStringLiteral("' ")
        + QStringLiteral(" and TargetLocationID = '") + inner(target) + QStringLiteral("' ")
        + QStringLiteral(" and isnull(Status,'') = ''  and documentnumber <> '") + inner(docNum)
        + QStringLiteral("'") + QStringLiteral(" Union All ")
        + QStringLiteral(" select itemid from inventory..tbinvRequestOrder ")
        + QStringLiteral(" Where ItemID = '") + inner(item) + QStringLiteral("' ")
        + QStringLiteral(" and TargetLocationID = '") + inner(target) + QStringLiteral("' ")
        + QStringLiteral(" and ISNULL(status,'') = ''  and documentnumber <> '") + inner(roDocNum)
        + QStringLiteral("'");
}

constexpr auto kItemPendingSql
    = "SELECT ItemID FROM INVENTORY.tbInvWithdrawRequest WHERE ItemID = ?1 "
      "AND TargetLocationID = ?2 AND ifnull(Status, '') = '' AND DocumentNumber <> ?3 "
      "UNION ALL SELECT itemid FROM INVENTORY.tbinvRequestOrder WHERE itemid = ?1 "
      "AND targetlocationid = ?2 AND ifnull(Status, '') = '' AND Documentnumber <> ?4";

QString locationByNameStatement(const QString &name)
{
    return QStringLiteral("Select * From INVENTORY..tbInvLocation Where Location = '") + inner(name)
        + QStringLiteral("'");
}

constexpr auto kLocationByNameSql = "SELECT * FROM INVENTORY.tbInvLocation WHERE Location = ?1";

QString verifyDocumentStatement(const QString &number)
{
    return QStringLiteral("Select DocumentNumber from Inventory..tbinvWithdrawRequest where "
                          "DocumentNumber = '")
        + inner(number.trimmed()) + QStringLiteral("'");
}

constexpr auto kVerifyDocumentSql
    = "SELECT DocumentNumber FROM INVENTORY.tbInvWithdrawRequest WHERE DocumentNumber = ?1";

// The item lookup's location search (the picker's text) for what the search box holds: the
// items the supplying location stocks that the requesting one carries as active items.
QString lookupStatement(const QString &supplying, const QString &requesting, const QString &text)
{
    const QString t = text.trimmed();
    bool numeric = false;
    t.toDouble(&numeric);
    const QString condition = numeric
        ? QStringLiteral(" A.ItemID = '") + inner(t) + QStringLiteral("' ")
        : QStringLiteral(" A.ItemName Like '") + inner(t.toUpper())
            + (t.isEmpty() ? QString() : QStringLiteral("%")) + QStringLiteral("%'");
    return QStringLiteral("Select A.ItemID as Code, A.ItemName As [Product Name], ")
        + QStringLiteral("A.ItemDesc As Description, B.SupplierName As Supplier,e.OnHand, "
                         "D.Markup_In As [In-Patient Markup], D.Markup_Out As [Out-Patient "
                         "Markup],")
        + QStringLiteral("Case when D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As "
                         "Status, A.Packing, A.ListCost,  ")
        + QStringLiteral("C.ItemClassificationName ")
        + QStringLiteral("From INVENTORY..tbInvMaster A ")
        + QStringLiteral("Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID ")
        + QStringLiteral(
               "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID ")
        + QStringLiteral("Left Outer join INVENTORY..tbInvClassification C ON "
                         "A.ItemClassificationID = C.ItemClassificationID ")
        + QStringLiteral("outer apply(select isnull(onhand,0) as onhand from "
                         "inventory..tbinvent where locationid = '")
        + inner(requesting) + QStringLiteral("' and itemid = a.itemid) as E ")
        + QStringLiteral("Where D.LocationID = '") + inner(supplying)
        + QStringLiteral("' and D.ItemID in (Select itemID from INVENTORY..tbinvent where "
                         "locationid = '")
        + inner(requesting) + QStringLiteral("' and itemStatus = 0) and ")
        + QStringLiteral(" ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = "
                         "0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ")
        + condition + QStringLiteral(" Order by A.ItemName, A.ItemDesc");
}

// A statement of the program with the values it is run with: the engine's text and the hand
// query's parameters for variant i (new literal values each time, cycling through a set).
struct Statement
{
    std::string name;
    std::function<QString(size_t)> text;
    std::function<void(size_t, std::vector<QByteArray> &)> parameters;
    const char *sql = nullptr; // hand-written SQLite
    const char *checkSql = nullptr; // run before sql (the procedure's branch test)
    size_t variants = 1;
};

// Values of one database: the hospital-scale one or the demo.
struct Values
{
    QString user;
    QStringList userLocations;
    QStringList documents; // ordinary documents to load and verify
    QString bigDocument;
    QStringList items;
    QStringList locationNames;
};

std::vector<Statement> statements(const Values &v)
{
    std::vector<Statement> list;
    list.push_back({"Listing", [v](size_t) { return listingStatement(v.user); },
                    [v](size_t, std::vector<QByteArray> &p) {
                        p = {v.user.toUtf8(), QByteArrayLiteral("%")};
                    },
                    kListingSql, nullptr, 1});
    list.push_back({"LoadWithdrawalRequest",
                    [v](size_t i) { return loadRequestStatement(v.documents.at(i)); },
                    [v](size_t i, std::vector<QByteArray> &p) { p = {v.documents.at(i).toUtf8()}; },
                    kLoadRequestSql, kLoadRequestCheckSql, size_t(v.documents.size())});
    if (!v.bigDocument.isEmpty())
        list.push_back({"LoadWithdrawalRequest1231",
                        [v](size_t) { return loadRequestStatement(v.bigDocument); },
                        [v](size_t, std::vector<QByteArray> &p) { p = {v.bigDocument.toUtf8()}; },
                        kLoadRequestSql, kLoadRequestCheckSql, 1});
    list.push_back({"GetNewDocNumber", [](size_t) { return newDocNumberStatement(); },
                    [](size_t, std::vector<QByteArray> &p) { p.clear(); }, kNewDocNumberSql,
                    nullptr, 1});
    list.push_back({"IsItemPending",
                    [v](size_t i) {
                        return itemPendingStatement(v.items.at(i),
                                                    v.userLocations.at(i % v.userLocations.size()),
                                                    QStringLiteral("NEW"), QStringLiteral("NEW"));
                    },
                    [v](size_t i, std::vector<QByteArray> &p) {
                        p = {v.items.at(i).toUtf8(),
                             v.userLocations.at(i % v.userLocations.size()).toUtf8(),
                             QByteArrayLiteral("NEW"), QByteArrayLiteral("NEW")};
                    },
                    kItemPendingSql, nullptr, size_t(v.items.size())});
    list.push_back(
        {"GetLocationByName",
         [v](size_t i) { return locationByNameStatement(v.locationNames.at(i)); },
         [v](size_t i, std::vector<QByteArray> &p) { p = {v.locationNames.at(i).toUtf8()}; },
         kLocationByNameSql, nullptr, size_t(v.locationNames.size())});
    list.push_back({"Verify_DocumentNumber",
                    [v](size_t i) { return verifyDocumentStatement(v.documents.at(i)); },
                    [v](size_t i, std::vector<QByteArray> &p) { p = {v.documents.at(i).toUtf8()}; },
                    kVerifyDocumentSql, nullptr, size_t(v.documents.size())});
    return list;
}

// The same statement in another letter case: a shape the cache has not seen, the same meaning.
QString caseVariant(const QString &text, quint64 counter)
{
    QString out = text;
    bool inQuotes = false;
    int letter = 0;
    for (QChar &c : out) {
        if (c == QLatin1Char('\'')) {
            inQuotes = !inQuotes;
            continue;
        }
        if (inQuotes || !c.isLetter() || c.unicode() > 127)
            continue;
        if (letter < 60)
            c = ((counter >> letter) & 1) ? c.toUpper() : c.toLower();
        ++letter;
    }
    return out;
}

// ------------------------------------------------------------------------------------------
// Databases under test
// ------------------------------------------------------------------------------------------

struct Subject
{
    std::unique_ptr<db::EmbeddedConnection> connection;
    std::unique_ptr<HandConnection> hand;
    Values values;
};

QStringList column(db::Connection &connection, const QString &sql)
{
    QStringList out;
    for (db::Recordset rs = connection.query(sql); !rs.eof(); rs.moveNext())
        out << rs.text(0);
    return out;
}

Subject &hospital()
{
    static Subject s = [] {
        const bench::HospitalScale &scale = bench::hospitalScale();
        Subject h;
        h.connection = db::EmbeddedConnection::open(scale.folder);
        h.hand = std::make_unique<HandConnection>(scale.folder);
        h.values.user = scale.userId;
        h.values.userLocations = scale.userLocations;
        h.values.bigDocument = scale.bigDocument;
        // Documents spread over the whole table, items stocked at the supplying locations.
        for (int i = 0; i < 64; ++i)
            h.values.documents << QString::number(10001 + i * 1543);
        h.values.documents.front() = scale.sampleDocument;
        for (int i = 0; i < 64; ++i)
            h.values.items << QString::number(200001 + i * 761);
        h.values.items.front() = scale.sampleItem;
        h.values.locationNames = column(
            *h.connection, QStringLiteral("Select Location From INVENTORY..tbInvLocation"));
        return h;
    }();
    return s;
}

Subject &demo()
{
    static Subject s = [] {
        Subject d;
        d.connection = db::EmbeddedConnection::openInMemory();
        d.values.user = QStringLiteral("DEMO");
        d.values.userLocations = column(
            *d.connection,
            QStringLiteral("Select LocationID from INVENTORY..tbinvUserLocation where UserID = "
                           "'DEMO'"));
        d.values.documents = column(*d.connection,
                                    QStringLiteral("Select distinct DocumentNumber from "
                                                   "INVENTORY..tbInvWithdrawRequest"));
        d.values.items
            = column(*d.connection, QStringLiteral("Select ItemID from INVENTORY..tbInvMaster"));
        d.values.locationNames = column(
            *d.connection, QStringLiteral("Select Location From INVENTORY..tbInvLocation"));
        return d;
    }();
    return s;
}

// ------------------------------------------------------------------------------------------
// Benchmarks
// ------------------------------------------------------------------------------------------

void runEngine(benchmark::State &state, Subject &subject, const Statement &statement, bool cold)
{
    db::EmbeddedConnection &connection = *subject.connection;
    tsql::Engine &engine = connection.engine();
    // Warm the cache with this shape (and the procedure's plans).
    connection.query(statement.text(0));
    static quint64 counter = 1; // shapes stay unique across benchmarks and repetitions
    size_t i = 0;
    qint64 rows = 0;
    const int parsesBefore = engine.parseCount();
    for (auto _ : state) {
        const size_t variant = i++ % statement.variants;
        const QString text
            = cold ? caseVariant(statement.text(variant), ++counter) : statement.text(variant);
        db::Recordset rs = connection.query(text);
        rows += rs.recordCount();
    }
    const int parses = engine.parseCount() - parsesBefore;
    state.counters["rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
    state.counters["parses"]
        = benchmark::Counter(double(parses), benchmark::Counter::kAvgIterations);
    if (!cold && parses != 0)
        state.SkipWithError("the shape cache missed");
    if (cold && parses != static_cast<int>(state.iterations()))
        state.SkipWithError("a letter-case variant was found in the shape cache");
}

void runHand(benchmark::State &state, Subject &subject, const Statement &statement)
{
    HandQuery query(*subject.hand, statement.sql);
    std::unique_ptr<HandQuery> check;
    if (statement.checkSql)
        check = std::make_unique<HandQuery>(*subject.hand, statement.checkSql);
    std::vector<QByteArray> parameters;
    size_t i = 0;
    qint64 rows = 0;
    for (auto _ : state) {
        statement.parameters(i++ % statement.variants, parameters);
        if (check)
            check->run(parameters);
        rows += query.run(parameters);
    }
    state.counters["rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
}

// The engine without the connection's Recordset: lex for the key, bind, run, rows as QVariants.
void runExecute(benchmark::State &state, Subject &subject, const Statement &statement)
{
    tsql::Engine &engine = subject.connection->engine();
    engine.execute(statement.text(0));
    size_t i = 0;
    for (auto _ : state) {
        tsql::ResultSet rs = engine.execute(statement.text(i++ % statement.variants));
        benchmark::DoNotOptimize(rs.rows.size());
    }
}

// Lexing alone, as every statement is lexed to find its shape in the cache.
void runLex(benchmark::State &state, const Statement &statement)
{
    const QString text = statement.text(0);
    for (auto _ : state) {
        tsql::Lexed lexed;
        tsql::lex(text, lexed, true);
        benchmark::DoNotOptimize(lexed.tokens.size());
    }
}

void runParse(benchmark::State &state, const Statement &statement)
{
    const QString text = statement.text(0);
    for (auto _ : state) {
        tsql::Lexed lexed;
        tsql::lex(text, lexed, true);
        tsql::Parser parser(lexed);
        tsql::Batch batch = parser.parseBatch();
        benchmark::DoNotOptimize(batch);
    }
}

// The first statement of a new engine (a fresh in-memory demo database): parse, emit, prepare
// and run, with the procedure's body compiled too for a procedure call.
void runFresh(benchmark::State &state, const Statement &statement)
{
    const QString text = statement.text(0);
    for (auto _ : state) {
        state.PauseTiming();
        auto connection = db::EmbeddedConnection::openInMemory();
        state.ResumeTiming();
        db::Recordset rs = connection->query(text);
        benchmark::DoNotOptimize(rs.recordCount());
        state.PauseTiming();
        connection.reset();
        state.ResumeTiming();
    }
}

// The rows of the engine and of the hand-written query agree for the first values.
void checkAgreement(Subject &subject, const Statement &statement)
{
    std::vector<QByteArray> parameters;
    statement.parameters(0, parameters);
    HandQuery query(*subject.hand, statement.sql);
    const int hand = query.run(parameters);
    const int engine = subject.connection->query(statement.text(0)).recordCount();
    if (hand != engine)
        std::fprintf(stderr, "WARNING: %s: the engine gives %d rows, hand-written SQLite %d\n",
                     statement.name.c_str(), engine, hand);
}

// SQLite's plan of a query, one line per step.
QByteArray queryPlan(const HandConnection &connection, const QByteArray &sql)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray explain = "EXPLAIN QUERY PLAN " + sql;
    if (sqlite3_prepare_v2(connection.handle(), explain.constData(), -1, &stmt, nullptr)
        != SQLITE_OK)
        return QByteArray("    (") + sqlite3_errmsg(connection.handle()) + ")\n";
    QByteArray out;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        out += "    " + QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3)))
            + '\n';
    sqlite3_finalize(stmt);
    return out;
}

// The SQLite text the engine makes of a single SELECT (not of a procedure call), to compare
// with the hand-written one.
void showTranslation(Subject &subject, const Statement &statement)
{
    const QString text = statement.text(0);
    tsql::Lexed lexed;
    tsql::lex(text, lexed, true);
    tsql::Parser parser(lexed);
    const tsql::Batch batch = parser.parseBatch();
    if (batch.stmts.size() != 1 || batch.stmts.front()->kind != tsql::Stmt::Kind::Select)
        return;
    const tsql::Engine &engine = subject.connection->engine();
    tsql::Emitter emitter(
        engine.catalog(), engine.currentDatabase(), lexed.literals, false,
        [](const QString &) -> const tsql::TypeSpec * { return nullptr; }, text);
    const tsql::Translation t = emitter.query(*batch.stmts.front()->select);
    std::fprintf(stderr, "%s:\n  T-SQL:  %s\n  engine: %s\n  plan:\n%s  hand:   %s\n  plan:\n%s\n",
                 statement.name.c_str(), qPrintable(text), qPrintable(t.sql),
                 queryPlan(*subject.hand, t.sql.toUtf8()).constData(), statement.sql,
                 queryPlan(*subject.hand, statement.sql).constData());
}

void registerStatementBenchmarks()
{
    Subject &h = hospital();
    const bool show = qEnvironmentVariableIsSet("SR_BENCH_SHOW_SQL");
    for (const Statement &s : statements(h.values)) {
        checkAgreement(h, s);
        if (show)
            showTranslation(h, s);
        benchmark::RegisterBenchmark(("Lex/" + s.name).c_str(), [s](benchmark::State &st) {
            runLex(st, s);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Execute/" + s.name).c_str(), [s](benchmark::State &st) {
            runExecute(st, hospital(), s);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Parse/" + s.name).c_str(), [s](benchmark::State &st) {
            runParse(st, s);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Cold/" + s.name).c_str(), [s](benchmark::State &st) {
            runEngine(st, hospital(), s, true);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Cached/" + s.name).c_str(), [s](benchmark::State &st) {
            runEngine(st, hospital(), s, false);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("SQLite/" + s.name).c_str(), [s](benchmark::State &st) {
            runHand(st, hospital(), s);
        })->Unit(benchmark::kMicrosecond);
    }
    // The item lookup, keystroke by keystroke, between two stores that stock the same items;
    // every keystroke is a new text (its pattern shapes the translation), so each run is cold.
    const bench::HospitalScale &scale = bench::hospitalScale();
    const QString supplying = scale.supplyLocation;
    const QString requesting = QString::number(scale.supplyLocation.toInt() + 2);
    for (const char *typed : {"", "P", "PA", "PARA", "PARACETAMOL 5", "SAL", "Z"}) {
        const QString text = QString::fromLatin1(typed);
        benchmark::RegisterBenchmark(
            (std::string("Lookup/") + (text.isEmpty() ? "(empty)" : typed)).c_str(),
            [=](benchmark::State &st) {
                db::EmbeddedConnection &connection = *hospital().connection;
                qint64 rows = 0;
                static quint64 counter = 1;
                for (auto _ : st) {
                    // A letter-case variant: a shape the cache has not seen, as each new search
                    // text is.
                    db::Recordset rs = connection.query(
                        caseVariant(lookupStatement(supplying, requesting, text), ++counter));
                    rows += rs.recordCount();
                }
                st.counters["rows"]
                    = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
            })
            ->Unit(benchmark::kMillisecond);
    }
    Subject &d = demo();
    for (const Statement &s : statements(d.values)) {
        benchmark::RegisterBenchmark(("DemoCold/" + s.name).c_str(), [s](benchmark::State &st) {
            runEngine(st, demo(), s, true);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("DemoFresh/" + s.name).c_str(), [s](benchmark::State &st) {
            runFresh(st, s);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("DemoCached/" + s.name).c_str(), [s](benchmark::State &st) {
            runEngine(st, demo(), s, false);
        })->Unit(benchmark::kMicrosecond);
    }
}

// Creating the demo database in an empty folder (schema, procedures and demo rows on files).
void BM_OpenFolder_Demo(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<QTemporaryDir>();
        state.ResumeTiming();
        auto connection
            = db::EmbeddedConnection::open(dir->path(), db::EmbeddedConnection::Content::Demo);
        benchmark::DoNotOptimize(connection.get());
        state.PauseTiming();
        connection.reset();
        dir.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFolder_Demo)->Unit(benchmark::kMillisecond)->Iterations(5);

// Opening the existing hospital-scale folder (the catalogue and procedures are read back).
void BM_OpenFolder_HospitalScale(benchmark::State &state)
{
    const QString folder = bench::hospitalScale().folder;
    for (auto _ : state) {
        auto connection = db::EmbeddedConnection::open(folder);
        benchmark::DoNotOptimize(connection.get());
    }
}
BENCHMARK(BM_OpenFolder_HospitalScale)->Unit(benchmark::kMillisecond);

// A private in-memory demo database, as every test gets one (a copy of the process's template).
void BM_OpenInMemory_Demo(benchmark::State &state)
{
    for (auto _ : state) {
        auto connection = db::EmbeddedConnection::openInMemory();
        benchmark::DoNotOptimize(connection.get());
    }
}
BENCHMARK(BM_OpenInMemory_Demo)->Unit(benchmark::kMillisecond);

void BM_OpenInMemory_SchemaOnly(benchmark::State &state)
{
    for (auto _ : state) {
        auto connection
            = db::EmbeddedConnection::openInMemory(db::EmbeddedConnection::Content::SchemaOnly);
        benchmark::DoNotOptimize(connection.get());
    }
}
BENCHMARK(BM_OpenInMemory_SchemaOnly)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------------------------------
// Summary
// ------------------------------------------------------------------------------------------

class SummaryReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            // With repetitions the median stands for the benchmark.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            const std::string name = run.run_name.str();
            if (!median && m_medians.count(name))
                continue;
            if (median)
                m_medians.insert(name);
            // Microseconds per iteration, whatever unit the benchmark shows.
            const double toUs = 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_times[name] = {run.GetAdjustedRealTime() * toUs, run.GetAdjustedCPUTime() * toUs};
        }
    }

    void summary() const
    {
        std::printf("\nPer statement, microseconds per run, wall (CPU); the machine is shared, "
                    "so the CPU figures are the steadier ones.\n");
        std::printf("%-26s %22s %22s %13s %20s %8s %14s %12s\n", "statement", "engine (cache)",
                    "hand-written SQLite", "ratio", "engine (cold)", "parse", "demo cold-hot",
                    "demo fresh");
        for (const auto &[name, cached] : m_times) {
            if (name.rfind("Cached/", 0) != 0)
                continue;
            const std::string statement = name.substr(7);
            const Time hand = value("SQLite/" + statement);
            const Time cold = value("Cold/" + statement);
            const Time parse = value("Parse/" + statement);
            const Time demoCold = value("DemoCold/" + statement);
            const Time demoCached = value("DemoCached/" + statement);
            const Time demoFresh = value("DemoFresh/" + statement);
            std::printf("%-26s %11.1f (%8.1f) %11.1f (%8.1f) %5.2f (%5.2f) %10.1f (%7.1f) %8.1f "
                        "%14.1f %12.1f\n",
                        statement.c_str(), cached.wall, cached.cpu, hand.wall, hand.cpu,
                        hand.wall > 0 ? cached.wall / hand.wall : 0.0,
                        hand.cpu > 0 ? cached.cpu / hand.cpu : 0.0, cold.wall, cold.cpu, parse.cpu,
                        demoCold.cpu > 0 && demoCached.cpu > 0 ? demoCold.cpu - demoCached.cpu
                                                               : 0.0,
                        demoFresh.cpu);
        }
        std::printf("ratio = engine from the cache / hand-written SQLite, wall (CPU), goal <= "
                    "1.3; parse = lex and parse alone (CPU); demo cold-hot = CPU cost of a new "
                    "shape over a cached one on the demo database (parse, emit, prepare); demo "
                    "fresh = first "
                    "run on a new engine (CPU), procedure body compiled too\n");
    }

private:
    struct Time
    {
        double wall = 0;
        double cpu = 0;
    };
    Time value(const std::string &name) const
    {
        const auto it = m_times.find(name);
        return it == m_times.end() ? Time() : it->second;
    }
    std::map<std::string, Time> m_times;
    std::set<std::string> m_medians;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    // The first in-memory database of a process builds the template the later ones copy.
    QElapsedTimer clock;
    clock.start();
    db::EmbeddedConnection::openInMemory();
    const qint64 firstInMemory = clock.elapsed();
    benchmark::AddCustomContext("first openInMemory() of the process (builds the template)",
                                std::to_string(firstInMemory) + " ms");

    const bench::HospitalScale &scale = bench::hospitalScale();
    benchmark::AddCustomContext("database", scale.folder.toStdString());
    benchmark::AddCustomContext(
        "hospital",
        QStringLiteral("%1 documents, %2 request lines, %3 items, %4 stock rows")
            .arg(scale.documents)
            .arg(scale.requestLines)
            .arg(scale.items)
            .arg(scale.stockRows)
            .toStdString());
    if (scale.buildSeconds > 0)
        benchmark::AddCustomContext("hospital-scale build (this run)",
                                    std::to_string(scale.buildSeconds) + " s, "
                                        + scale.fillMethod.toStdString());

    registerStatementBenchmarks();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.summary();
    benchmark::Shutdown();
    return 0;
}
