#include "common/HospitalScale.h"

#include "common/HospitalGenerator.h"
#include "platform/db/EmbeddedConnection.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QStringBuilder>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {
namespace {

// Bump when the generated content changes, so that cached databases are rebuilt.
constexpr auto kGeneratorVersion = "hs3";

QString scriptsDigest()
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const char *name : {":/database/schema.sql", ":/database/procedures.sql"}) {
        QFile file(QString::fromLatin1(name));
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
    }
    return QString::fromLatin1(hash.result().toHex().left(10));
}

constexpr auto kDescriptionFile = "hospital-scale.json";

QJsonObject toJson(const HospitalScale &h)
{
    QJsonObject o;
    o[QStringLiteral("userId")] = h.userId;
    o[QStringLiteral("userLocations")] = h.userLocations.join(QLatin1Char(','));
    o[QStringLiteral("bigDocument")] = h.bigDocument;
    o[QStringLiteral("sampleDocument")] = h.sampleDocument;
    o[QStringLiteral("supplyLocation")] = h.supplyLocation;
    o[QStringLiteral("supplyLocationName")] = h.supplyLocationName;
    o[QStringLiteral("sampleItem")] = h.sampleItem;
    o[QStringLiteral("documents")] = h.documents;
    o[QStringLiteral("requestLines")] = h.requestLines;
    o[QStringLiteral("userDocuments")] = h.userDocuments;
    o[QStringLiteral("userPendingUnverified")] = h.userPendingUnverified;
    o[QStringLiteral("items")] = h.items;
    o[QStringLiteral("locations")] = h.locations;
    o[QStringLiteral("stockRows")] = h.stockRows;
    o[QStringLiteral("employees")] = h.employees;
    o[QStringLiteral("buildSeconds")] = h.buildSeconds;
    o[QStringLiteral("fillMethod")] = h.fillMethod;
    return o;
}

HospitalScale fromJson(const QJsonObject &o)
{
    HospitalScale h;
    h.userId = o[QStringLiteral("userId")].toString();
    h.userLocations = o[QStringLiteral("userLocations")].toString().split(QLatin1Char(','));
    h.bigDocument = o[QStringLiteral("bigDocument")].toString();
    h.sampleDocument = o[QStringLiteral("sampleDocument")].toString();
    h.supplyLocation = o[QStringLiteral("supplyLocation")].toString();
    h.supplyLocationName = o[QStringLiteral("supplyLocationName")].toString();
    h.sampleItem = o[QStringLiteral("sampleItem")].toString();
    h.documents = o[QStringLiteral("documents")].toInteger();
    h.requestLines = o[QStringLiteral("requestLines")].toInteger();
    h.userDocuments = o[QStringLiteral("userDocuments")].toInteger();
    h.userPendingUnverified = o[QStringLiteral("userPendingUnverified")].toInteger();
    h.items = o[QStringLiteral("items")].toInteger();
    h.locations = o[QStringLiteral("locations")].toInteger();
    h.stockRows = o[QStringLiteral("stockRows")].toInteger();
    h.employees = o[QStringLiteral("employees")].toInteger();
    h.fillMethod = o[QStringLiteral("fillMethod")].toString();
    return h;
}

bool readDescription(const QString &folder, HospitalScale &out)
{
    QFile file(QDir(folder).filePath(QString::fromLatin1(kDescriptionFile)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject())
        return false;
    out = fromJson(doc.object());
    out.folder = folder;
    return !out.bigDocument.isEmpty();
}

// Where the database is filled: a memory-backed folder when there is one, since the journal's
// checkpoints would otherwise wait on the disk for most of the build.
QString workFolder(const QString &root, const QString &name)
{
    const QString shm = QStringLiteral("/dev/shm");
    const QFileInfo info(shm);
    if (info.isDir() && info.isWritable())
        return QDir(shm).filePath(QStringLiteral("sr-bench-") + name);
    return QDir(root).filePath(name);
}

HospitalScale build(const QString &root, const QString &key)
{
    const QString name
        = key % QStringLiteral(".partial-") % QString::number(QCoreApplication::applicationPid());
    const QString work = workFolder(root, name);
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work))
        throw std::runtime_error("cannot create " + work.toStdString());

    std::fprintf(stderr, "Building the hospital-scale database in %s (once; cached in %s)\n",
                 qPrintable(work), qPrintable(root));
    QElapsedTimer clock;
    clock.start();
    HospitalScale h;
    try {
        auto connection
            = db::EmbeddedConnection::open(work, db::EmbeddedConnection::Content::SchemaOnly);
        connection->setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 15, 0)); });
        fillHospitalScale(*connection, h);
    } catch (...) {
        QDir(work).removeRecursively(); // no half-built database left in memory or on disk
        throw;
    }

    QFile file(QDir(work).filePath(QString::fromLatin1(kDescriptionFile)));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the description of " + work.toStdString());
    file.write(QJsonDocument(toJson(h)).toJson());
    file.close();

    // Into the cache: the files of the closed database (its journal is folded in on closing),
    // then one rename, so that a half-copied folder is never taken for a database.
    const QString partial = QDir(root).filePath(name);
    if (work != partial) {
        QDir(partial).removeRecursively();
        QDir().mkpath(partial);
        for (const QFileInfo &entry : QDir(work).entryInfoList(QDir::Files)) {
            if (!QFile::copy(entry.filePath(), QDir(partial).filePath(entry.fileName())))
                throw std::runtime_error("cannot copy " + entry.filePath().toStdString());
        }
        QDir(work).removeRecursively();
    }
    const QString ready = QDir(root).filePath(key);
    if (!QDir().rename(partial, ready)) {
        // Another run finished first: use its copy.
        QDir(partial).removeRecursively();
    }
    h.folder = ready;
    h.buildSeconds = clock.elapsed() / 1000.0;
    std::fprintf(stderr, "Hospital-scale database built in %.1f s\n", h.buildSeconds);
    return h;
}

// The cache is keyed by the scripts, not by the engine that stored the rows: check that the
// engine of this build reads them as the generator wrote them (counts, dates, the procedure).
bool stillReadable(const HospitalScale &h)
{
    try {
        auto connection = db::EmbeddedConnection::open(h.folder);
        const db::Recordset lines = connection->query(
            QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest ") + db::quote(h.bigDocument));
        const db::Recordset december = connection->query(
            QStringLiteral("Select count(*) as N from INVENTORY..tbInvWithdrawRequest where "
                           "TransDate >= '12/01/2026' and DocumentNumber = ")
            + db::quote(h.bigDocument));
        return lines.recordCount() == kBigDocumentLines
            && december.field(QStringLiteral("N")).toInt() == kBigDocumentLines;
    } catch (const std::exception &) {
        return false;
    }
}

HospitalScale locate()
{
    const QString root = QProcessEnvironment::systemEnvironment().value(
        QStringLiteral("SR_BENCH_DB_ROOT"), QStringLiteral("/tmp/sr-bench-db"));
    QDir().mkpath(root);
    const QString key = QString::fromLatin1(kGeneratorVersion) % QLatin1Char('-') % scriptsDigest();
    const QString folder = QDir(root).filePath(key);
    HospitalScale h;
    if (readDescription(folder, h)) {
        if (stillReadable(h))
            return h;
        std::fprintf(stderr,
                     "The cached hospital-scale database in %s no longer reads as built; "
                     "building it again\n",
                     qPrintable(folder));
        QDir(folder).removeRecursively();
    }
    HospitalScale built = build(root, key);
    HospitalScale reread;
    if (!readDescription(built.folder, reread))
        throw std::runtime_error("the hospital-scale database has no description");
    reread.buildSeconds = built.buildSeconds;
    return reread;
}

qint64 statusKiB(const char *field)
{
    // /proc files report no size, so read them whole rather than testing for the end.
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).simplified().split(' ').value(0).toLongLong();
    }
    return 0;
}

} // namespace

const HospitalScale &hospitalScale()
{
    static const HospitalScale scale = locate();
    return scale;
}

qint64 peakResidentKiB()
{
    // The kernel updates its high-water mark lazily; the current size may be above it.
    return std::max(statusKiB("VmHWM"), statusKiB("VmRSS"));
}

qint64 residentKiB()
{
    return statusKiB("VmRSS");
}

} // namespace bench
