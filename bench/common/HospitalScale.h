#pragma once

#include <QString>
#include <QStringList>

namespace bench {

// The lines of the one big document of the hospital-scale database.
constexpr int kBigDocumentLines = 1231;

// What the hospital-scale database holds that the benchmarks address. The numbers are those of
// the database on disk, whether it was built by this run or found in the cache.
struct HospitalScale
{
    QString folder; // the embedded database folder (INVENTORY.db, ...)

    // The benchmark user: exactly five requesting locations, a realistic share of the documents.
    QString userId;
    QStringList userLocations;

    // The document of exactly 1,231 lines: pending, unverified, requested by the benchmark user
    // for its first location from supplyLocation.
    QString bigDocument;
    // An ordinary pending document of the benchmark user (a few lines).
    QString sampleDocument;
    // A supplying location, by identifier and name, and an item stocked there.
    QString supplyLocation;
    QString supplyLocationName;
    QString sampleItem;

    qint64 documents = 0;
    qint64 requestLines = 0;
    qint64 userDocuments = 0; // documents whose requesting location is one of the user's
    qint64 userPendingUnverified = 0; // of those, pending and not verified (the default listing)
    qint64 items = 0;
    qint64 locations = 0;
    qint64 stockRows = 0;
    qint64 employees = 0;

    double buildSeconds = 0; // time this run spent building it; 0 when reused from the cache
    QString fillMethod; // how the big tables were filled
};

// The hospital-scale database, built on first use in a cache folder keyed by the generator's
// version and the database scripts, and reused while both stay the same. The root folder is
// $SR_BENCH_DB_ROOT or /tmp/sr-bench-db. Throws std::runtime_error when it cannot be built.
const HospitalScale &hospitalScale();

// The peak resident memory of this process (VmHWM of /proc/self/status, or VmRSS when above
// it), in KiB; 0 when unknown.
qint64 peakResidentKiB();
// The current resident memory (VmRSS), in KiB.
qint64 residentKiB();

} // namespace bench
