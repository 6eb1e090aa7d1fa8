// The writes at hospital scale, on a real frmMain and frmAcknowledgement on the offscreen
// platform: saving a new document of 100 and 1,000 lines, saving an edited 1,000-line document
// again, acknowledging a 100-line MRIS, and the statements alone that a new save reads (the next
// document number) and an opened document loads. Each write is measured on the embedded database
// as it is and behind a connection that waits 20 ms per round trip, as a clinic far from the
// server sees it. Counters: statements sent and round trips per operation.
//
// The writes go to a scratch copy of the cached hospital database, so the cache stays as built.
// With SR_BENCH_DOUBLE=1 the copy's request table holds every line twice over (under new
// numbers), to show how the number draw, a save and an open grow with the table.
#include "common/HospitalScale.h"

#include "acknowledge/frmAcknowledgement.h"
#include "platform/db/EmbeddedConnection.h"
#include "platform/db/LatencyConnection.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "platform/ui/Shell.h"
#include "platform/user/CurrentUser.h"
#include "request/Numbering.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using namespace std::chrono_literals;

// Questions are answered Yes except the print question; other messages OK. Messages that are
// not part of the operation are kept so that the benchmark can report them.
class AnsweringPrompt final : public ui::Prompt
{
public:
    ui::Answer show(const ui::PromptRequest &request) override
    {
        texts << request.text;
        switch (request.buttons) {
        case ui::Buttons::YesNo:
        case ui::Buttons::YesNoCancel:
            return request.text.startsWith(QLatin1String("Print")) ? ui::Answer::No
                                                                   : ui::Answer::Yes;
        default:
            return ui::Answer::Ok;
        }
    }
    QStringList texts;
};

class RejectingModal final : public ui::Modal
{
public:
    int exec(QDialog &dialog) override
    {
        dialog.reject();
        return QDialog::Rejected;
    }
};

bool doubled()
{
    return QProcessEnvironment::systemEnvironment().value(QStringLiteral("SR_BENCH_DOUBLE"))
        == QLatin1String("1");
}

// A scratch copy of the cached database folder, removed at the end.
QString copyDatabase(const QString &from)
{
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
        ? QStringLiteral("/dev/shm")
        : QDir::tempPath();
    const QString to = QDir(base).filePath(
        QStringLiteral("sr-write-bench-%1").arg(QCoreApplication::applicationPid()));
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QFileInfo &entry : QDir(from).entryInfoList(QDir::Files)) {
        if (!QFile::copy(entry.filePath(), QDir(to).filePath(entry.fileName())))
            throw std::runtime_error("cannot copy " + entry.filePath().toStdString());
    }
    return to;
}

// Every request line again under a number 1,000,000 above its own, as another year's history:
// processed, so that the pending listing holds what it held.
void doubleRequestTable(db::Connection &connection)
{
    const char *columns = "ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, "
                          "TargetLocationID, TransDate, UserID, Remarks, isRequest, lotnumber, "
                          "Verifiedby, verifiedDate, ProcessDate, ProcessBy";
    QElapsedTimer clock;
    clock.start();
    db::Transaction transaction = connection.begin();
    connection.execute(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest "
                                      "(DocumentNumber, Status, %1) SELECT "
                                      "CAST(CAST(DocumentNumber AS int) + 1000000 AS varchar(20)), "
                                      "'P', %1 FROM "
                                      "INVENTORY..tbInvWithdrawRequest WHERE "
                                      "isnumeric(DocumentNumber) = 1")
                           .arg(QLatin1String(columns)));
    transaction.commit();
    std::fprintf(stderr, "Request table doubled in %.1f s\n", clock.elapsed() / 1000.0);
}

// The benchmark user logged in on a scratch copy of the hospital-scale database, the main form,
// and a 1,000-line document of its own saved through the form.
class Hospital
{
public:
    static Hospital &instance()
    {
        if (!s_instance)
            s_instance.reset(new Hospital);
        return *s_instance;
    }
    static void end() { s_instance.reset(); }

    frmMain &form() { return *m_form; }
    AnsweringPrompt &prompt() { return m_prompt; }
    const bench::HospitalScale &scale() const { return m_scale; }
    db::LatencyConnection &wire() { return *m_wire; }
    long long statements() const { return m_statements; }
    const QString &targetName() const { return m_targetName; }
    const QStringList &items() const { return m_items; }
    QString edited; // the 1,000-line document saved again by the re-save benchmark

    ~Hospital()
    {
        m_form.reset();
        resetSession();
        m_user.reset();
        ui::Prompt::install(nullptr);
        ui::Modal::install(nullptr);
        QDir(m_folder).removeRecursively();
    }

private:
    Hospital()
        : m_scale(bench::hospitalScale())
    {
        ui::Prompt::install(&m_prompt);
        ui::Modal::install(&m_modal);
        resetSession();
        m_folder = copyDatabase(m_scale.folder);
        auto embedded = db::EmbeddedConnection::open(m_folder);
        if (doubled())
            doubleRequestTable(*embedded);
        auto wire = std::make_unique<db::LatencyConnection>(std::move(embedded), 0us);
        m_wire = wire.get();
        m_wire->setObserver([this](const QString &) { ++m_statements; });
        m_user = std::make_unique<user::CurrentUser>();
        m_user->logIn(std::move(wire), m_scale.userId);
        Session.CurrentUser = m_user.get();
        Session.Connection = &m_user->sqlconnection();
        Session.Shell = &m_shell;
        Session.InventoryAccess = QStringLiteral("A");
        LoadHospitalInfo();

        db::Recordset target = sqlconnection().query(
            QStringLiteral("SELECT Location FROM INVENTORY..tbInvLocation WHERE LocationID = ")
            + db::quote(m_scale.userLocations.value(0)));
        m_targetName = target.text(QStringLiteral("Location"));
        for (db::Recordset rs = sqlconnection().query(
                 QStringLiteral("SELECT TOP 1000 ItemID FROM INVENTORY..tbInvent WHERE "
                                "LocationID = %1 ORDER BY ItemID")
                     .arg(db::quote(m_scale.supplyLocation)));
             !rs.eof(); rs.moveNext())
            m_items << rs.text(QStringLiteral("ItemID"));
        if (m_items.size() < 1000)
            throw std::runtime_error("the supplying location stocks fewer than 1,000 items");

        m_form = std::make_unique<frmMain>();
        m_form->show();
        QApplication::processEvents();
    }

    bench::HospitalScale m_scale;
    QString m_folder;
    AnsweringPrompt m_prompt;
    RejectingModal m_modal;
    ui::Shell m_shell;
    db::LatencyConnection *m_wire = nullptr;
    long long m_statements = 0;
    QString m_targetName;
    QStringList m_items;
    std::unique_ptr<user::CurrentUser> m_user;
    std::unique_ptr<frmMain> m_form;
    static std::unique_ptr<Hospital> s_instance;
};

std::unique_ptr<Hospital> Hospital::s_instance;

template<class T>
T &child(QWidget &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

// A new document from the supplying location to the user's first location, its lines put in the
// grid as the entry would leave them.
void newDocument(Hospital &h, int lines)
{
    frmMain &form = h.form();
    if (child<QTabWidget>(form, "SSTab1").currentIndex() != 0)
        form.cmdCancel_Click();
    form.cmdNew_Click();
    child<ui::DataCombo>(form, "cboLocation").setText(h.scale().supplyLocationName);
    child<ui::DataCombo>(form, "cboTargetLocation").setText(h.targetName());
    child<QPlainTextEdit>(form, "txtRemarks").setPlainText(QStringLiteral("Ward stock"));
    ui::FlexGrid &grid = child<ui::FlexGrid>(form, "grdDetails");
    grid.setRows(1);
    grid.setRows(lines + 2);
    for (int i = 0; i < lines; ++i) {
        const int row = i + 1;
        grid.setTextMatrix(row, DetailsCol::Code, h.items().at(i));
        grid.setTextMatrix(row, DetailsCol::Description, QStringLiteral("ITEM"));
        grid.setTextMatrix(row, DetailsCol::Quantity, QString::number(1 + i % 40));
        grid.setTextMatrix(row, DetailsCol::UnitCost, QStringLiteral("12.5000"));
        grid.setTextMatrix(row, DetailsCol::TotalCost, QString::number((1 + i % 40) * 12.5));
        grid.setTextMatrix(row, DetailsCol::Retail, QStringLiteral("N"));
        grid.setTextMatrix(row, DetailsCol::isADS, QStringLiteral("N"));
    }
    QApplication::processEvents();
}

int storedLines(const QString &number)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("SELECT COUNT(*) AS N FROM INVENTORY..tbInvWithdrawRequest WHERE "
                       "DocumentNumber = ")
        + db::quote(number));
    return rs.field(QStringLiteral("N")).toInt();
}

// The expected message after a save; anything else is an error of the run.
bool onlyVerifyNotice(const QStringList &texts)
{
    for (const QString &text : texts)
        if (!text.endsWith(QLatin1String(" still needs to be verified ")))
            return false;
    return true;
}

struct Tally
{
    long long statements = 0;
    long long roundTrips = 0;
    long long operations = 0;

    void report(benchmark::State &state) const
    {
        if (operations == 0)
            return;
        state.counters["statements"] = double(statements) / double(operations);
        state.counters["round_trips"] = double(roundTrips) / double(operations);
    }
};

// Runs one measured operation and adds what it sent to the tally.
template<class F>
void measured(Hospital &h, Tally &tally, F operation)
{
    const long long statements = h.statements();
    const long long trips = h.wire().roundTrips();
    operation();
    tally.statements += h.statements() - statements;
    tally.roundTrips += h.wire().roundTrips() - trips;
    ++tally.operations;
}

// Args: lines, milliseconds per round trip.
void BM_SaveNewDocument(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    const int lines = static_cast<int>(state.range(0));
    h.wire().setDelay(std::chrono::milliseconds(state.range(1)));
    QLineEdit &docNum = child<QLineEdit>(h.form(), "txtDocNum");
    Tally tally;
    for (auto _ : state) {
        state.PauseTiming();
        h.wire().setDelay(0us);
        newDocument(h, lines);
        h.prompt().texts.clear();
        h.wire().setDelay(std::chrono::milliseconds(state.range(1)));
        state.ResumeTiming();

        measured(h, tally, [&h] {
            h.form().cmdSave_Click();
            QApplication::processEvents();
        });

        state.PauseTiming();
        h.wire().setDelay(0us);
        const QString number = docNum.text();
        const bool ok = onlyVerifyNotice(h.prompt().texts) && storedLines(number) == lines;
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError(
                qPrintable(QStringLiteral("not saved: ") + h.prompt().texts.join(" / ")));
            break;
        }
    }
    h.wire().setDelay(0us);
    tally.report(state);
}
BENCHMARK(BM_SaveNewDocument)
    ->ArgNames({"lines", "ms_per_trip"})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({100, 20})
    ->Args({1000, 20})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

int listedRow(const ui::FlexGrid &grid, const QString &number)
{
    for (int row = 1; row < grid.Rows(); ++row)
        if (grid.TextMatrix(row, 1) == number)
            return row;
    return -1;
}

// Opens a document of the pending listing as a double click does.
bool openListed(Hospital &h, const QString &number)
{
    frmMain &form = h.form();
    if (child<QTabWidget>(form, "SSTab1").currentIndex() != 0)
        form.cmdCancel_Click();
    form.controls().optOptions[0]->setChecked(true);
    form.LoadListing();
    ui::FlexGrid &listing = child<ui::FlexGrid>(form, "grdListing");
    const int row = listedRow(listing, number);
    if (row < 0)
        return false;
    listing.setRow(row);
    form.grdListing_DblClick();
    QApplication::processEvents();
    return child<QLineEdit>(form, "txtDocNum").text() == number;
}

// The 1,000-line document that the re-save benchmark edits, saved once through the form.
QString editedDocument(Hospital &h)
{
    if (h.edited.isEmpty()) {
        newDocument(h, 1000);
        h.form().cmdSave_Click();
        h.edited = child<QLineEdit>(h.form(), "txtDocNum").text();
    }
    return h.edited;
}

// Args: milliseconds per round trip. One quantity is changed, then Save.
void BM_ResaveEditedDocument(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    const QString number = editedDocument(h);
    ui::FlexGrid &grid = child<ui::FlexGrid>(h.form(), "grdDetails");
    Tally tally;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        h.wire().setDelay(0us);
        if (!openListed(h, number) || grid.Rows() - 2 != 1000) {
            state.ResumeTiming();
            state.SkipWithError("the document was not opened");
            break;
        }
        grid.setTextMatrix(1 + (round++ * 37) % 1000, DetailsCol::Quantity,
                           QString::number(100 + round));
        h.prompt().texts.clear();
        h.wire().setDelay(std::chrono::milliseconds(state.range(0)));
        state.ResumeTiming();

        measured(h, tally, [&h] {
            h.form().cmdSave_Click();
            QApplication::processEvents();
        });

        state.PauseTiming();
        h.wire().setDelay(0us);
        const bool ok = onlyVerifyNotice(h.prompt().texts) && storedLines(number) == 1000;
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError(
                qPrintable(QStringLiteral("not saved: ") + h.prompt().texts.join(" / ")));
            break;
        }
    }
    h.wire().setDelay(0us);
    tally.report(state);
}
BENCHMARK(BM_ResaveEditedDocument)
    ->ArgNames({"ms_per_trip"})
    ->Arg(0)
    ->Arg(20)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// An issued document of 100 lines from the supplying location to the user's first location,
// waiting for acknowledgement; its record number.
QString issueDocument(Hospital &h, int serial)
{
    db::Connection &connection = sqlconnection();
    const QString location = db::quote(h.scale().supplyLocation);
    const QString target = db::quote(h.scale().userLocations.value(0));
    connection.execute(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawHeader (TransNum, "
                                      "TransDate, LocationID, TargetLocationID, DocumentNumber, "
                                      "Remarks, ReleasedBy, UserID, Status) VALUES ('NEW', "
                                      "'12/08/2026 09:00:00 AM', %1, %2, 'B-%3', 'Issued', %4, "
                                      "%4, 'F')")
                           .arg(location, target)
                           .arg(serial)
                           .arg(db::quote(h.scale().userId)));
    db::Recordset rs = connection.query(
        QStringLiteral("SELECT MAX(RecordNumber) AS N FROM INVENTORY..tbInvWithdrawHeader"));
    const QString record = rs.text(QStringLiteral("N"));
    QStringList values;
    for (int i = 0; i < 100; ++i)
        values << QStringLiteral("(%1, %2, %3, 12.5)")
                      .arg(record, db::quote(h.items().at(i)))
                      .arg(1 + i % 5);
    connection.execute(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawDetails (RecordNumber, "
                                      "ItemID, Quantity, UnitCost) VALUES ")
                       + values.join(QLatin1Char(',')));
    return record;
}

QString headerStatus(const QString &record)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("SELECT Status FROM INVENTORY..tbInvWithdrawHeader WHERE RecordNumber = ")
        + record);
    return rs.text(QStringLiteral("Status"));
}

// Args: milliseconds per round trip. The form is opened on the waiting documents and the new
// one selected before the clock runs; Acknowledge is then pressed and the posting answered Yes.
void BM_AcknowledgeMRIS(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    Tally tally;
    static int serial = 0;
    for (auto _ : state) {
        state.PauseTiming();
        h.wire().setDelay(0us);
        const QString record = issueDocument(h, ++serial);
        auto form = std::make_unique<frmAcknowledgement>();
        form->Form_Load();
        ui::FlexGrid &grid = *form->grdMRIS;
        int row = -1;
        for (int r = 1; r < grid.Rows(); ++r)
            if (grid.TextMatrix(r, grid.Cols() - 2) == record)
                row = r;
        if (row < 0) {
            state.ResumeTiming();
            state.SkipWithError("the issued document is not listed");
            break;
        }
        grid.setRow(row);
        h.prompt().texts.clear();
        h.wire().setDelay(std::chrono::milliseconds(state.range(0)));
        state.ResumeTiming();

        measured(h, tally, [&form] {
            form->cmdAcknowledge_Click();
            QApplication::processEvents();
        });

        state.PauseTiming();
        h.wire().setDelay(0us);
        const bool ok = headerStatus(record) == QLatin1String("P");
        form.reset();
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError(
                qPrintable(QStringLiteral("not acknowledged: ") + h.prompt().texts.join(" / ")));
            break;
        }
    }
    h.wire().setDelay(0us);
    tally.report(state);
}
BENCHMARK(BM_AcknowledgeMRIS)
    ->ArgNames({"ms_per_trip"})
    ->Arg(0)
    ->Arg(20)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The number draw of a new save: the statement as the save sends it, on the embedded database.
void BM_NumberDraw(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    Tally tally;
    QString number;
    for (auto _ : state)
        measured(h, tally, [&number] { number = GetNewDocNumber(); });
    tally.report(state);
    state.SetLabel(number.toStdString());
}
BENCHMARK(BM_NumberDraw)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Opening the 1,000-line document from the listing (after the re-save benchmark made it).
void BM_OpenDocument_1000Lines(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    const QString number = editedDocument(h);
    frmMain &form = h.form();
    form.cmdCancel_Click();
    form.controls().optOptions[0]->setChecked(true);
    form.LoadListing();
    ui::FlexGrid &listing = child<ui::FlexGrid>(form, "grdListing");
    const int row = listedRow(listing, number);
    if (row < 0) {
        state.SkipWithError("the document is not listed");
        return;
    }
    Tally tally;
    for (auto _ : state) {
        listing.setRow(row);
        measured(h, tally, [&form] {
            form.grdListing_DblClick();
            QApplication::processEvents();
        });
        state.PauseTiming();
        form.cmdCancel_Click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    tally.report(state);
}
BENCHMARK(BM_OpenDocument_1000Lines)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stock Request"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const bench::HospitalScale &scale = bench::hospitalScale();
    Hospital &h = Hospital::instance();
    benchmark::AddCustomContext(
        "hospital",
        QStringLiteral("%1 documents, %2 request lines%3")
            .arg(scale.documents)
            .arg(scale.requestLines)
            .arg(doubled() ? QStringLiteral(", request table doubled") : QString())
            .toStdString());
    benchmark::AddCustomContext("database copy", h.wire().serverName().toStdString());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Hospital::end();
    return 0;
}
