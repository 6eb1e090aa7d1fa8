#include "common/HospitalGenerator.h"

#include "platform/db/EmbeddedConnection.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSet>
#include <QStringBuilder>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace bench {
namespace {

// The content below is cached on disk: bump kGeneratorVersion (HospitalScale.cpp) when it
// changes.
constexpr int kDocuments = 100000;
constexpr int kItems = 50000;
constexpr int kLocations = 300;
constexpr int kSupplyLocations = 12; // warehouses, pharmacies, dispensing areas
constexpr int kStockedWards = 24; // wards that keep a stock of their own
constexpr int kWardStockItems = 1500; // items kept at each of those wards
constexpr int kEmployees = 2000;
constexpr int kRequestOrderLines = 5000;
constexpr int kIssueHeaders = 20000;
constexpr int kFirstDocument = 10001;
constexpr int kFirstItem = 200001;
constexpr int kFirstLocation = 100;
constexpr int kFirstEmployee = 20001;
constexpr auto kBenchUser = "BENCH5";
// Rows per multi-row INSERT; every full batch of a table has the same statement shape.
constexpr int kRowsPerBatch = 100;
// Rows per transaction: large enough to be cheap, small enough to keep the journal bounded.
constexpr int kRowsPerTransaction = 100000;

QString q(const QString &text)
{
    return db::quote(text);
}

QString num(qint64 value)
{
    return QString::number(value);
}

QString money(double value)
{
    return QString::number(value, 'f', 4);
}

QString when(const QDateTime &value)
{
    return q(value.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP")));
}

QString locationId(int index)
{
    return num(kFirstLocation + index);
}

QString itemId(int index)
{
    return num(kFirstItem + index);
}

QString employeeId(int index)
{
    return num(kFirstEmployee + index);
}

// Inserts rows through the engine as multi-row INSERT ... VALUES statements, committing every
// kRowsPerTransaction rows.
class Filler
{
public:
    explicit Filler(db::EmbeddedConnection &connection)
        : m_connection(connection)
    { }

    void begin() { m_transaction.emplace(m_connection); }
    void finish()
    {
        if (m_transaction) {
            m_transaction->commit();
            m_transaction.reset();
        }
    }

    void execute(const QString &sql) { m_connection.execute(sql); }

    void counted(int rows)
    {
        m_rows += rows;
        if (m_rows - m_committedAt >= kRowsPerTransaction) {
            finish();
            begin();
            m_committedAt = m_rows;
        }
    }

    qint64 rows() const { return m_rows; }

private:
    db::EmbeddedConnection &m_connection;
    std::optional<db::Transaction> m_transaction;
    qint64 m_rows = 0;
    qint64 m_committedAt = 0;
};

class Batch
{
public:
    Batch(Filler &filler, QString head)
        : m_filler(filler)
        , m_head(std::move(head))
    { }
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;
    ~Batch() { Q_ASSERT(m_count == 0); }

    // One row: the text between the parentheses.
    void add(const QString &values)
    {
        if (m_count == 0) {
            m_sql = m_head;
            m_sql += QStringLiteral(" VALUES ");
        } else {
            m_sql += QLatin1Char(',');
        }
        m_sql += QLatin1Char('(');
        m_sql += values;
        m_sql += QLatin1Char(')');
        if (++m_count == kRowsPerBatch)
            flush();
    }

    void flush()
    {
        if (m_count == 0)
            return;
        m_filler.execute(m_sql);
        m_filler.counted(m_count);
        m_count = 0;
        m_sql.clear();
    }

private:
    Filler &m_filler;
    QString m_head;
    QString m_sql;
    int m_count = 0;
};

class Generator
{
public:
    Generator(db::EmbeddedConnection &connection, HospitalScale &out)
        : m_filler(connection)
        , m_out(out)
        , m_random(20261208)
    { }

    void run()
    {
        m_clock.start();
        m_filler.begin();
        referenceData();
        locations();
        employees();
        items();
        stock();
        requests();
        requestOrders();
        issues();
        m_filler.finish();
    }

private:
    int uniform(int low, int high) // both ends included
    {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    double chance() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random); }

    void progress(const char *what)
    {
        std::fprintf(stderr, "  hospital scale: %s (%lld rows so far, %.1f s)\n", what,
                     static_cast<long long>(m_filler.rows()), m_clock.elapsed() / 1000.0);
    }

    void referenceData()
    {
        m_filler.execute(QStringLiteral(
            "INSERT INTO INVENTORY..tbHospitalInfo (Company, Address1, Address2, ClientName, "
            "AllowWDZeroOnHand, IsWDEntered) VALUES ('Regional Medical Center', "
            "'1 Hospital Road', 'Tel. 555-0199', '', 0, 0)"));
        m_filler.execute(QStringLiteral(
            "INSERT INTO INVENTORY..tbinvSwitch (idkey, KeyValue, Description) VALUES "
            "('91', 0, 'Lot numbers'), ('92', 0, 'On hand'), ('93', 0, 'Acknowledgement'), "
            "('96', 0, 'Retail'), ('59', 0, 'Average cost')"));
        m_filler.execute(QStringLiteral(
            "INSERT INTO INVENTORY..tbPharmaSwitch (idkey, KeyValue, Description) VALUES "
            "('3', 0, 'Retail'), ('4', 0, 'Locked'), ('5', 0, 'Stock limit')"));
        m_filler.execute(QStringLiteral("INSERT INTO INVENTORY..tbinvCANumber (RONumber) VALUES (")
                         % num(kRequestOrderLines / 5) % QLatin1Char(')'));
        m_filler.execute(QStringLiteral(
            "INSERT INTO INVENTORY..tbInvMRISDocnum (SequenceNumber) VALUES (1000)"));
        m_filler.execute(QStringLiteral(
            "INSERT INTO patient_data..tbhospitalinfo (HospitalName, OPDPassword) VALUES "
            "('Regional Medical Center', 'OPD2026')"));

        static const std::array units {"Piece",  "Box",    "Tablet",   "Capsule", "Vial",
                                       "Ampule", "Bottle", "Sachet",   "Tube",    "Pack",
                                       "Roll",   "Pair",   "Set",      "Can",     "Bag",
                                       "Gallon", "Liter",  "Kilogram", "Ream",    "Dozen"};
        Batch uom(m_filler,
                  QStringLiteral("INSERT INTO INVENTORY..tbInvUnitOfMeasure "
                                 "(UnitOfMeasureID, UnitOfMeasure, Status)"));
        for (size_t i = 0; i < units.size(); ++i)
            uom.add(num(static_cast<qint64>(i + 1)) % QLatin1Char(',')
                    % q(QString::fromLatin1(units[i])) % QStringLiteral(",'A'"));
        uom.flush();

        Batch terms(m_filler,
                    QStringLiteral("INSERT INTO INVENTORY..tbInvTerms (TermsID, "
                                   "Terms, Nodays, Status)"));
        for (int days : {0, 15, 30, 60, 90})
            terms.add(num(days / 15 + 1) % QLatin1Char(',') % q(num(days) % QStringLiteral(" days"))
                      % QLatin1Char(',') % num(days) % QStringLiteral(",'A'"));
        terms.flush();

        Batch suppliers(m_filler,
                        QStringLiteral("INSERT INTO INVENTORY..tbInvSupplier "
                                       "(SupplierID, SupplierName, Status, "
                                       "SupplierType, Address1, TermsID, isVAT)"));
        for (int i = 1; i <= 200; ++i)
            suppliers.add(q(QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0')))
                          % QLatin1Char(',') % q(QStringLiteral("Medical Supplier %1 Inc.").arg(i))
                          % QStringLiteral(",'A','L',")
                          % q(QStringLiteral("%1 Trade Street").arg(i)) % QLatin1Char(',')
                          % num(i % 5 + 1) % QLatin1Char(',') % num(i % 2));
        suppliers.flush();

        Batch classes(m_filler,
                      QStringLiteral("INSERT INTO INVENTORY..tbInvClassification "
                                     "(ItemClassificationID, ItemClassificationName, "
                                     "IsFixedAsset, Status)"));
        for (int i = 1; i <= 40; ++i)
            classes.add(q(QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0'))) % QLatin1Char(',')
                        % q(QStringLiteral("Classification %1").arg(i)) % QLatin1Char(',')
                        % num(i == 40 ? 1 : 0) % QStringLiteral(",'A'"));
        classes.flush();

        Batch categories(m_filler,
                         QStringLiteral("INSERT INTO INVENTORY..tbInvCategory "
                                        "(CategoryID, Category, Active)"));
        for (int i = 1; i <= 10; ++i)
            categories.add(q(QStringLiteral("K%1").arg(i)) % QLatin1Char(',')
                           % q(QStringLiteral("Category %1").arg(i)) % QStringLiteral(",1"));
        categories.flush();

        Batch tree(m_filler,
                   QStringLiteral("INSERT INTO INVENTORY..tbforClassification "
                                  "(Node_Key, ClassificationName)"));
        for (int i = 1; i <= 50; ++i)
            tree.add(q(num(i)) % QLatin1Char(',') % q(QStringLiteral("Drug class %1").arg(i)));
        tree.flush();
        Batch generics(m_filler,
                       QStringLiteral("INSERT INTO INVENTORY..tbforGeneric "
                                      "(GenericID, GenericName, Node_Key)"));
        for (int i = 1; i <= 1000; ++i)
            generics.add(q(QStringLiteral("G%1").arg(i, 4, 10, QLatin1Char('0'))) % QLatin1Char(',')
                         % q(QStringLiteral("Generic %1").arg(i)) % QLatin1Char(',')
                         % q(num(i % 50 + 1) % QLatin1Char('.') % num(i)));
        generics.flush();

        Batch departments(m_filler,
                          QStringLiteral("INSERT INTO Build_File..tbcoDepartment "
                                         "(DepartmentID, Department)"));
        for (int i = 1; i <= 20; ++i)
            departments.add(q(QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0')))
                            % QLatin1Char(',')
                            % q(QStringLiteral("Department %1").arg(i, 2, 10, QLatin1Char('0'))));
        departments.flush();
        Batch sections(m_filler,
                       QStringLiteral("INSERT INTO Build_File..tbcoSection "
                                      "(SectionID, SectionName, RevenueID)"));
        for (int i = 1; i <= 60; ++i)
            sections.add(q(QStringLiteral("X%1").arg(i, 2, 10, QLatin1Char('0'))) % QLatin1Char(',')
                         % q(QStringLiteral("Section %1").arg(i, 2, 10, QLatin1Char('0')))
                         % QLatin1Char(',')
                         % q(QStringLiteral("D%1").arg((i - 1) / 3 + 1, 2, 10, QLatin1Char('0'))));
        sections.flush();
        progress("reference data");
    }

    void locations()
    {
        static const std::array supplyNames {
            "Central Warehouse",    "Main Pharmacy", "Dispensing Area",   "Satellite Pharmacy",
            "Medical Supply Store", "Linen Store",   "Laboratory Store",  "Radiology Store",
            "OR Pharmacy",          "ER Pharmacy",   "Engineering Store", "Dietary Store"};
        static const std::array wardKinds {"Ward",    "Nursing Station", "Clinic",
                                           "Section", "Store Room",      "Unit"};
        Batch batch(m_filler,
                    QStringLiteral("INSERT INTO INVENTORY..tbInvLocation (LocationID, "
                                   "Location, InventoryType, IsWareHouse, "
                                   "isDispensingArea, AllowOrder, Status)"));
        for (int i = 0; i < kLocations; ++i) {
            QString name;
            QString type;
            int warehouse = 0;
            int dispensing = 0;
            int order = 0;
            if (i < kSupplyLocations) {
                name = QString::fromLatin1(supplyNames[static_cast<size_t>(i)]);
                type = (i % 3 == 1) ? QStringLiteral("P") : QStringLiteral("C");
                warehouse = (i % 3 != 2) ? 1 : 0;
                dispensing = (i % 3 != 0) ? 1 : 0;
                order = 1;
            } else {
                name = QStringLiteral("%1 %2")
                           .arg(QString::fromLatin1(wardKinds[static_cast<size_t>(i % 6)]))
                           .arg(i, 3, 10, QLatin1Char('0'));
                type = (i % 6 == 4) ? QStringLiteral("S") : QStringLiteral("W");
                order = (i % 6 == 4) ? 1 : 0;
            }
            // A few closed wards, none of them the benchmark user's.
            const bool inactive = i >= kSupplyLocations + 40 && i % 50 == 7;
            batch.add(q(locationId(i)) % QLatin1Char(',') % q(name) % QLatin1Char(',') % q(type)
                      % QLatin1Char(',') % num(warehouse) % QLatin1Char(',') % num(dispensing)
                      % QLatin1Char(',') % num(order) % QLatin1Char(',')
                      % (inactive ? QStringLiteral("'I'") : QStringLiteral("NULL")));
            if (i == 0)
                m_out.supplyLocationName = name;
        }
        batch.flush();
        m_out.locations = kLocations;
        m_out.supplyLocation = locationId(0);
        // The benchmark user's five wards, spread over the hospital.
        for (int w : {20, 77, 131, 188, 245})
            m_out.userLocations << locationId(w);
        progress("locations");
    }

    static int wardCount() { return kLocations - kSupplyLocations; }

    void employees()
    {
        static const std::array lastNames {
            "Santos",    "Reyes",    "Cruz",   "Bautista", "Garcia",     "Mendoza", "Torres",
            "Flores",    "Ramos",    "Aquino", "Castillo", "Villanueva", "Navarro", "Domingo",
            "Fernandez", "Gonzales", "Lopez",  "Morales",  "Rivera",     "Salazar"};
        static const std::array firstNames {
            "Maria", "Jose",   "Ana",    "Juan",    "Rosa",   "Pedro", "Elena",  "Carlos",
            "Luz",   "Miguel", "Teresa", "Antonio", "Carmen", "Ramon", "Isabel", "Luis"};
        Batch people(m_filler,
                     QStringLiteral("INSERT INTO Password..tbPasswordMain (EmployeeID, "
                                    "Password, LastName, FirstName, MiddleName)"));
        for (int i = 0; i < kEmployees; ++i)
            people.add(q(employeeId(i)) % QStringLiteral(",'x',")
                       % q(QString::fromLatin1(lastNames[static_cast<size_t>(i % 20)]))
                       % QLatin1Char(',')
                       % q(QString::fromLatin1(firstNames[static_cast<size_t>((i / 20) % 16)]))
                       % QStringLiteral(",'M'"));
        people.add(q(QString::fromLatin1(kBenchUser))
                   % QStringLiteral(",'x','Benchmark','User','B'"));
        people.flush();

        // Every ward has the employees whose index falls on it; some hold one or two more.
        Batch rights(m_filler,
                     QStringLiteral("INSERT INTO INVENTORY..tbinvUserLocation "
                                    "(UserID, LocationID)"));
        for (int i = 0; i < kEmployees; ++i) {
            const int home = kSupplyLocations + i % wardCount();
            rights.add(q(employeeId(i)) % QLatin1Char(',') % q(locationId(home)));
            const int extra = i % 3;
            for (int k = 1; k <= extra; ++k) {
                const int other = kSupplyLocations + (i % wardCount() + 97 * k) % wardCount();
                rights.add(q(employeeId(i)) % QLatin1Char(',') % q(locationId(other)));
            }
        }
        for (const QString &location : std::as_const(m_out.userLocations))
            rights.add(q(QString::fromLatin1(kBenchUser)) % QLatin1Char(',') % q(location));
        rights.flush();

        Batch settings(m_filler,
                       QStringLiteral("INSERT INTO INVENTORY..tbInvUserSettings "
                                      "(UserID, isVerifyInventoryRequest, "
                                      "isConsolidateIR)"));
        settings.add(q(QString::fromLatin1(kBenchUser)) % QStringLiteral(",1,0"));
        settings.flush();
        m_out.userId = QString::fromLatin1(kBenchUser);
        m_out.employees = kEmployees + 1;
        progress("employees");
    }

    void items()
    {
        static const std::array stems {
            "PARACETAMOL",   "AMOXICILLIN", "CEFUROXIME", "METFORMIN", "LOSARTAN",
            "AMLODIPINE",    "OMEPRAZOLE",  "SALBUTAMOL", "IBUPROFEN", "CIPROFLOXACIN",
            "DEXAMETHASONE", "FUROSEMIDE",  "HEPARIN",    "INSULIN",   "RANITIDINE",
            "CEFTRIAXONE",   "GAUZE",       "SYRINGE",    "CATHETER",  "GLOVES",
            "IV SET",        "COTTON",      "BANDAGE",    "SUTURE",    "NEEDLE",
            "ALCOHOL",       "POVIDONE",    "DEXTROSE",   "SALINE",    "LIDOCAINE"};
        static const std::array forms {"TABLET", "CAPSULE", "VIAL",  "AMPULE",
                                       "BOTTLE", "SACHET",  "PIECE", "BOX"};
        Batch batch(m_filler,
                    QStringLiteral("INSERT INTO INVENTORY..tbInvMaster (ItemID, ItemName, "
                                   "ItemDesc, BarCode, SupplierID, GenericID, "
                                   "ItemClassificationID, ItemCategory, UnitOfMeasureID, "
                                   "ListCost, AverageCost, ItemStatus, Packing, isRetail, "
                                   "forRetail)"));
        for (int i = 0; i < kItems; ++i) {
            const QString name = QString::fromLatin1(stems[static_cast<size_t>(i % 30)])
                % QLatin1Char(' ') % num(5 * (i % 97 + 1)) % QStringLiteral("MG");
            const QString desc = QString::fromLatin1(forms[static_cast<size_t>(i % 8)])
                % QStringLiteral(" LOT ") % num(i);
            const double cost = 0.5 + (i % 997) * 1.25;
            batch.add(q(itemId(i)) % QLatin1Char(',') % q(name) % QLatin1Char(',') % q(desc)
                      % QLatin1Char(',')
                      % q(QStringLiteral("480%1").arg(i, 9, 10, QLatin1Char('0')))
                      % QLatin1Char(',')
                      % q(QStringLiteral("S%1").arg(i % 200 + 1, 3, 10, QLatin1Char('0')))
                      % QLatin1Char(',')
                      % q(QStringLiteral("G%1").arg(i % 1000 + 1, 4, 10, QLatin1Char('0')))
                      % QLatin1Char(',')
                      % q(QStringLiteral("C%1").arg(i % 40 + 1, 2, 10, QLatin1Char('0')))
                      % QLatin1Char(',') % q(QStringLiteral("K%1").arg(i % 10 + 1))
                      % QLatin1Char(',') % num(i % 20 + 1) % QLatin1Char(',') % money(cost)
                      % QLatin1Char(',') % money(cost * 0.97) % QLatin1Char(',')
                      % num(i % 211 == 0 ? 1 : 0) % QLatin1Char(',') % num(i % 12 + 1)
                      % QLatin1Char(',') % num(i % 2) % QLatin1Char(',') % num(i % 2));
        }
        batch.flush();
        m_out.items = kItems;
        m_out.sampleItem = itemId(2 * 1234); // stocked at supplying location 0 (even items)
        progress("items");
    }

    // Items stocked at supplying location s are those whose index has the parity of s.
    static int stockedItem(int supply, int k) { return 2 * k + (supply & 1); }

    void stock()
    {
        Batch batch(m_filler,
                    QStringLiteral("INSERT INTO INVENTORY..tbInvent (ItemID, "
                                   "LocationID, OnHand, DamagedQty, ReservedQty, "
                                   "PPMP, ItemStatus, AverageCost, MinStockLevel, "
                                   "IsADSStock, ADSStock)"));
        qint64 rows = 0;
        const auto add = [&](int item, int location) {
            const int onHand = uniform(0, 5000);
            batch.add(q(itemId(item)) % QLatin1Char(',') % q(locationId(location))
                      % QLatin1Char(',') % num(onHand) % QLatin1Char(',')
                      % num(onHand % 17 == 0 ? 3 : 0) % QStringLiteral(",0,")
                      % num(uniform(0, 2000)) % QLatin1Char(',') % num(item % 211 == 0 ? 1 : 0)
                      % QLatin1Char(',') % money(0.5 + (item % 997) * 1.2) % QLatin1Char(',')
                      % num(item % 50) % QStringLiteral(",0,0"));
            ++rows;
        };
        for (int s = 0; s < kSupplyLocations; ++s)
            for (int k = 0; k < kItems / 2; ++k)
                add(stockedItem(s, k), s);
        progress("stock of the supplying locations");
        for (int w = 0; w < kStockedWards; ++w) {
            const int ward = kSupplyLocations + (w * 11) % wardCount();
            for (int k = 0; k < kWardStockItems; ++k)
                add((k * 31 + w) % kItems, ward);
        }
        batch.flush();
        m_out.stockRows = rows;
        progress("stock");
    }

    struct DocumentKind
    {
        QString status; // empty: pending (NULL)
        bool verified = false;
    };

    DocumentKind kindOf()
    {
        const double p = chance();
        if (p < 0.035)
            return {QString(), false};
        if (p < 0.07)
            return {QString(), true};
        if (p < 0.67)
            return {QStringLiteral("P"), true};
        if (p < 0.91)
            return {QStringLiteral("A"), true};
        if (p < 0.97)
            return {QStringLiteral("C"), true};
        return {QStringLiteral("D"), chance() < 0.5};
    }

    void requests()
    {
        static const std::array remarks {"Weekly replenishment",
                                         "Monthly supplies",
                                         "Emergency request",
                                         "Post-operative medicines",
                                         "Stock for night shift",
                                         "Ward supplies",
                                         "Replacement of expired stock",
                                         ""};
        // Three shapes of line, so that every full batch has one statement shape.
        const QString head = QStringLiteral(
            "INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, "
            "UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, "
            "Remarks");
        Batch pending(m_filler, head % QLatin1Char(')'));
        Batch verified(m_filler, head % QStringLiteral(", Verifiedby, verifiedDate)"));
        Batch processed(m_filler,
                        head
                            % QStringLiteral(", Verifiedby, verifiedDate, Status, ProcessDate, "
                                             "ProcessBy)"));
        Batch unverifiedDeleted(m_filler,
                                head % QStringLiteral(", Status, ProcessDate, ProcessBy)"));

        // Documents are dated over the two years up to the benchmark's "now", in number order.
        const QDateTime now(QDate(2026, 12, 8), QTime(10, 0, 0));
        const QDateTime first = now.addDays(-730);
        const qint64 span = first.secsTo(now);
        const QSet<QString> userLocations(m_out.userLocations.cbegin(), m_out.userLocations.cend());

        const auto lineValues
            = [&](const QString &number, int item, int supply, int target, const QDateTime &date,
                  const QString &user, const QString &remark) -> QString {
            const double cost = 0.5 + (item % 997) * 1.25;
            return q(number) % QLatin1Char(',') % q(itemId(item)) % QLatin1Char(',')
                % num(uniform(1, 200)) % QLatin1Char(',') % money(cost) % QLatin1Char(',')
                % (item % 2 ? QStringLiteral("'Y'") : QStringLiteral("'N'")) % QStringLiteral(",0,")
                % q(locationId(supply)) % QLatin1Char(',') % q(locationId(target))
                % QLatin1Char(',') % when(date) % QLatin1Char(',') % q(user) % QLatin1Char(',')
                % q(remark);
        };

        qint64 lines = 0;
        std::vector<int> picked;
        for (int d = 0; d < kDocuments; ++d) {
            const QString number = num(kFirstDocument + d);
            const QDateTime date = first.addSecs(span * d / kDocuments + uniform(0, 300));
            const int supply = uniform(0, kSupplyLocations - 1);
            const int target = kSupplyLocations + uniform(0, wardCount() - 1);
            const bool mine = userLocations.contains(locationId(target));
            // The ward's own staff request; the benchmark user writes a share of its wards'.
            const int staff = (target - kSupplyLocations)
                + wardCount() * uniform(0, kEmployees / wardCount() - 1);
            const QString user
                = (mine && chance() < 0.3) ? m_out.userId : employeeId(staff % kEmployees);
            const QString remark = QString::fromLatin1(remarks[static_cast<size_t>(d % 8)]);
            const DocumentKind kind = kindOf();
            const QString verifier = employeeId(uniform(0, kEmployees - 1));
            const QDateTime verifiedAt = date.addSecs(uniform(600, 7200));
            const QDateTime processedAt = verifiedAt.addSecs(uniform(3600, 86400));

            const int count = uniform(1, 20);
            picked.clear();
            while (static_cast<int>(picked.size()) < count) {
                const int item = stockedItem(supply, uniform(0, kItems / 2 - 1));
                if (std::find(picked.begin(), picked.end(), item) == picked.end())
                    picked.push_back(item);
            }
            for (int item : picked) {
                const QString line = lineValues(number, item, supply, target, date, user, remark);
                if (kind.status.isEmpty() && !kind.verified)
                    pending.add(line);
                else if (kind.status.isEmpty())
                    verified.add(line % QLatin1Char(',') % q(verifier) % QLatin1Char(',')
                                 % when(verifiedAt));
                else if (kind.verified)
                    processed.add(line % QLatin1Char(',') % q(verifier) % QLatin1Char(',')
                                  % when(verifiedAt) % QLatin1Char(',') % q(kind.status)
                                  % QLatin1Char(',') % when(processedAt) % QLatin1Char(',')
                                  % q(verifier));
                else
                    unverifiedDeleted.add(line % QLatin1Char(',') % q(kind.status)
                                          % QLatin1Char(',') % when(processedAt) % QLatin1Char(',')
                                          % q(verifier));
            }
            lines += count;
            if (mine) {
                ++m_out.userDocuments;
                if (kind.status.isEmpty() && !kind.verified) {
                    ++m_out.userPendingUnverified;
                    if (m_out.sampleDocument.isEmpty() && count >= 5)
                        m_out.sampleDocument = number;
                }
            }
            if (d % 20000 == 19999)
                progress("request lines");
        }

        // The big document: the newest, pending and unverified, at the user's first ward.
        const QString big = num(kFirstDocument + kDocuments);
        const int target = m_out.userLocations.first().toInt() - kFirstLocation;
        for (int k = 0; k < kBigDocumentLines; ++k)
            pending.add(lineValues(big, stockedItem(0, k * 13), 0, target, now.addSecs(-600),
                                   m_out.userId, QStringLiteral("Annual stock-up of the ward")));
        lines += kBigDocumentLines;
        ++m_out.userDocuments;
        ++m_out.userPendingUnverified;
        pending.flush();
        verified.flush();
        processed.flush();
        unverifiedDeleted.flush();
        m_out.bigDocument = big;
        m_out.documents = kDocuments + 1;
        m_out.requestLines = lines;
        progress("request lines");
    }

    void requestOrders()
    {
        Batch pending(m_filler,
                      QStringLiteral("INSERT INTO INVENTORY..tbinvRequestOrder "
                                     "(Documentnumber, locationid, targetlocationid, "
                                     "itemid, qty, unitcost, totalcost, userid, "
                                     "transdate, Remarks)"));
        Batch done(m_filler,
                   QStringLiteral("INSERT INTO INVENTORY..tbinvRequestOrder "
                                  "(Documentnumber, locationid, targetlocationid, "
                                  "itemid, qty, unitcost, totalcost, userid, "
                                  "transdate, Remarks, Verifiedby, verifiedDate, "
                                  "Status, ProcessDate, ProcessBy)"));
        const QDateTime start(QDate(2026, 1, 5), QTime(9, 0, 0));
        for (int i = 0; i < kRequestOrderLines; ++i) {
            const int document = i / 5 + 1;
            const int supply = document % kSupplyLocations;
            const int target = kSupplyLocations + (document * 7) % wardCount();
            const int item = stockedItem(supply, (i * 17) % (kItems / 2));
            const int qty = uniform(1, 50);
            const double cost = 0.5 + (item % 997) * 1.25;
            const QDateTime date = start.addSecs(qint64(document) * 6000);
            const QString values = q(QStringLiteral("RO-2026-%1").arg(document)) % QLatin1Char(',')
                % q(locationId(supply)) % QLatin1Char(',') % q(locationId(target))
                % QLatin1Char(',') % q(itemId(item)) % QLatin1Char(',') % num(qty)
                % QLatin1Char(',') % money(cost) % QLatin1Char(',') % money(cost * qty)
                % QLatin1Char(',') % q(employeeId(target)) % QLatin1Char(',') % when(date)
                % QStringLiteral(",'Not in stock'");
            if (document % 10 < 8)
                done.add(values % QLatin1Char(',') % q(employeeId(5)) % QLatin1Char(',')
                         % when(date.addSecs(900)) % QStringLiteral(",'P',") % when(date.addDays(2))
                         % QLatin1Char(',') % q(employeeId(6)));
            else
                pending.add(values);
        }
        pending.flush();
        done.flush();
        progress("request orders");
    }

    void issues()
    {
        Batch batch(m_filler,
                    QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawHeader "
                                   "(TransNum, TransDate, LocationID, "
                                   "TargetLocationID, DocumentNumber, Remarks, "
                                   "ReleasedBy, UserID, Status)"));
        const QDateTime start(QDate(2025, 1, 2), QTime(8, 0, 0));
        for (int i = 0; i < kIssueHeaders; ++i) {
            const int target = kSupplyLocations + (i * 13) % wardCount();
            // The last few are issued and wait for their wards' acknowledgement.
            const bool waiting = i >= kIssueHeaders - 40;
            batch.add(q(QStringLiteral("WD-%1").arg(i + 1)) % QLatin1Char(',')
                      % when(start.addSecs(qint64(i) * 2700)) % QLatin1Char(',')
                      % q(locationId(i % kSupplyLocations)) % QLatin1Char(',')
                      % q(locationId(target)) % QLatin1Char(',') % q(num(kFirstDocument + i * 5))
                      % QStringLiteral(",'Issued',") % q(employeeId(i % kEmployees))
                      % QLatin1Char(',') % q(employeeId((i + 1) % kEmployees)) % QLatin1Char(',')
                      % (waiting ? QStringLiteral("'F'") : QStringLiteral("'P'")));
        }
        batch.flush();
        progress("issue documents");
    }

    Filler m_filler;
    HospitalScale &m_out;
    std::mt19937 m_random;
    QElapsedTimer m_clock;
};

} // namespace

void fillHospitalScale(db::EmbeddedConnection &connection, HospitalScale &out)
{
    Generator generator(connection, out);
    generator.run();
    out.fillMethod = QStringLiteral("engine: multi-row INSERT ... VALUES of %1 rows, "
                                    "a transaction per %2 rows")
                         .arg(kRowsPerBatch)
                         .arg(kRowsPerTransaction);
}

} // namespace bench
