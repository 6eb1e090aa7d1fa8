// The main form at hospital scale: the listing of the benchmark user's documents (five
// locations) and the opening of the 1,231-line document from the listing, on a real frmMain on
// the offscreen platform. Each figure includes the event processing that lays out and paints the
// grid. The peak resident memory (VmHWM) is reported as a counter.
#include "common/HospitalScale.h"

#include "platform/db/EmbeddedConnection.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "platform/ui/Shell.h"
#include "platform/user/CurrentUser.h"
#include "request/Listing.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Message boxes are answered at once (Yes / OK) and counted: a benchmark must not block on
// one, and any message during a measured step is an error the run reports.
class AnsweringPrompt final : public ui::Prompt
{
public:
    ui::Answer show(const ui::PromptRequest &request) override
    {
        ++count;
        last = request.text;
        switch (request.buttons) {
        case ui::Buttons::YesNo:
        case ui::Buttons::YesNoCancel:
            return ui::Answer::Yes;
        default:
            return ui::Answer::Ok;
        }
    }
    int count = 0;
    QString last;
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

// The benchmark user logged in on the hospital-scale database, and the main form.
class Hospital
{
public:
    // Created on first use; main() ends it while the application still exists.
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
    qint64 formLoadMs() const { return m_formLoadMs; }

    ~Hospital()
    {
        m_form.reset();
        resetSession();
        m_user.reset();
        ui::Prompt::install(nullptr);
        ui::Modal::install(nullptr);
    }

private:
    Hospital()
        : m_scale(bench::hospitalScale())
    {
        ui::Prompt::install(&m_prompt);
        ui::Modal::install(&m_modal);
        resetSession();
        auto connection = db::EmbeddedConnection::open(m_scale.folder);
        m_user = std::make_unique<user::CurrentUser>();
        m_user->logIn(std::move(connection), m_scale.userId);
        Session.CurrentUser = m_user.get();
        Session.Connection = &m_user->sqlconnection();
        Session.Shell = &m_shell;
        Session.InventoryAccess = QStringLiteral("A");
        LoadHospitalInfo();

        QElapsedTimer clock;
        clock.start();
        m_form = std::make_unique<frmMain>();
        m_form->show();
        QApplication::processEvents();
        m_formLoadMs = clock.elapsed();
    }

    bench::HospitalScale m_scale;
    AnsweringPrompt m_prompt;
    RejectingModal m_modal;
    ui::Shell m_shell;
    std::unique_ptr<user::CurrentUser> m_user;
    std::unique_ptr<frmMain> m_form;
    qint64 m_formLoadMs = 0;
    static std::unique_ptr<Hospital> s_instance;
};

std::unique_ptr<Hospital> Hospital::s_instance;

// The form's controls, found by their names.
struct Controls
{
    explicit Controls(frmMain &form)
        : SSTab1(find<QTabWidget>(form, "SSTab1"))
        , chkverified(find<QCheckBox>(form, "chkverified"))
        , grdListing(find<ui::FlexGrid>(form, "grdListing"))
        , grdDetails(find<ui::FlexGrid>(form, "grdDetails"))
        , txtDocNum(find<QLineEdit>(form, "txtDocNum"))
    { }

    template<class T>
    static T *find(frmMain &form, const char *name)
    {
        T *found = form.findChild<T *>(QLatin1String(name));
        if (!found)
            throw std::runtime_error(std::string("frmMain has no ") + name);
        return found;
    }

    QTabWidget *SSTab1;
    QCheckBox *chkverified;
    ui::FlexGrid *grdListing;
    ui::FlexGrid *grdDetails;
    QLineEdit *txtDocNum;
};

void memoryCounters(benchmark::State &state)
{
    state.counters["peak_MiB"] = double(bench::peakResidentKiB()) / 1024.0;
    state.counters["rss_MiB"] = double(bench::residentKiB()) / 1024.0;
}

// Puts the listing on a status option and the "Verified" box as a user would, then measures
// LoadListing as the refresh, the options and the search box run it.
void listing(benchmark::State &state, int option, bool verified)
{
    Hospital &h = Hospital::instance();
    frmMain &form = h.form();
    Controls ui(form);
    if (ui.SSTab1->currentIndex() != 0)
        form.cmdCancel_Click();
    form.controls().optOptions[static_cast<size_t>(option)]->setChecked(true);
    ui.chkverified->setChecked(verified);
    QApplication::processEvents();
    const int before = h.prompt().count;

    for (auto _ : state) {
        form.LoadListing();
        QApplication::processEvents();
    }
    if (h.prompt().count != before)
        state.SkipWithError(qPrintable(QStringLiteral("message box: ") + h.prompt().last));
    state.counters["rows"] = ui.grdListing->Rows() - 1;
    memoryCounters(state);
}

void BM_LoadListing_Pendings(benchmark::State &state)
{
    listing(state, 0, false);
}
BENCHMARK(BM_LoadListing_Pendings)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadListing_ProcessingVerified(benchmark::State &state)
{
    listing(state, 1, true);
}
BENCHMARK(BM_LoadListing_ProcessingVerified)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The listing's row of a document, or -1.
int listedRow(const ui::FlexGrid &grid, const QString &number)
{
    for (int row = 1; row < grid.Rows(); ++row)
        if (grid.TextMatrix(row, 1) == number)
            return row;
    return -1;
}

// A double click on the document's listing row: the rights check, then the Edit command with
// LoadRequest, the grand total and the switch to the "Details" tab. Going back to the listing
// between iterations is not measured.
void openDocument(benchmark::State &state, const QString &number)
{
    Hospital &h = Hospital::instance();
    frmMain &form = h.form();
    Controls ui(form);
    if (ui.SSTab1->currentIndex() != 0)
        form.cmdCancel_Click();
    form.controls().optOptions[0]->setChecked(true);
    ui.chkverified->setChecked(false);
    form.LoadListing();
    QApplication::processEvents();
    const int row = listedRow(*ui.grdListing, number);
    if (row < 0) {
        state.SkipWithError("the document is not in the listing");
        return;
    }
    const int before = h.prompt().count;

    for (auto _ : state) {
        ui.grdListing->setRow(row);
        form.grdListing_DblClick();
        QApplication::processEvents();

        state.PauseTiming();
        if (ui.SSTab1->currentIndex() != 1 || ui.txtDocNum->text() != number) {
            state.ResumeTiming();
            state.SkipWithError("the document was not opened");
            break;
        }
        state.counters["lines"] = ui.grdDetails->Rows() - 2;
        form.cmdCancel_Click(); // "Do you want to leave without saving?" answered Yes
        QApplication::processEvents();
        state.ResumeTiming();
    }
    // The leave-without-saving question is expected once per iteration.
    if (h.prompt().count - before != static_cast<int>(state.iterations()))
        state.SkipWithError(qPrintable(QStringLiteral("message box: ") + h.prompt().last));
    memoryCounters(state);
}

void BM_OpenDocument_1231Lines(benchmark::State &state)
{
    openDocument(state, Hospital::instance().scale().bigDocument);
}
BENCHMARK(BM_OpenDocument_1231Lines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_OpenDocument_Ordinary(benchmark::State &state)
{
    openDocument(state, Hospital::instance().scale().sampleDocument);
}
BENCHMARK(BM_OpenDocument_Ordinary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Saving the opened document unchanged: the numbering look-ups, the delete and the insert of
// every line (and what else the save checks inside its transaction). The document is opened
// again between iterations, unmeasured. The save writes to the benchmark database: run it on a
// copy (SR_BENCH_DB_ROOT) when others share the cached one.
void saveDocument(benchmark::State &state, const QString &number)
{
    Hospital &h = Hospital::instance();
    frmMain &form = h.form();
    Controls ui(form);
    if (ui.SSTab1->currentIndex() != 0)
        form.cmdCancel_Click();
    form.controls().optOptions[0]->setChecked(true);
    ui.chkverified->setChecked(false);
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadListing();
        QApplication::processEvents();
        const int row = listedRow(*ui.grdListing, number);
        if (row < 0) {
            state.ResumeTiming();
            state.SkipWithError("the document is not in the listing");
            break;
        }
        ui.grdListing->setRow(row);
        form.grdListing_DblClick();
        QApplication::processEvents();
        state.counters["lines"] = ui.grdDetails->Rows() - 2;
        const int before = h.prompt().count;
        state.ResumeTiming();

        const bool saved = form.SaveRequest();

        state.PauseTiming();
        // "still needs to be verified" is the one message a save shows.
        if (!saved || h.prompt().count - before != 1) {
            state.ResumeTiming();
            state.SkipWithError(qPrintable(QStringLiteral("not saved: ") + h.prompt().last));
            break;
        }
        form.cmdCancel_Click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    memoryCounters(state);
}

void BM_SaveDocument_1231Lines(benchmark::State &state)
{
    saveDocument(state, Hospital::instance().scale().bigDocument);
}
BENCHMARK(BM_SaveDocument_1231Lines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The main form's start at hospital scale: Form_Load (rights, location lists, the first
// listing) and the first paint.
void BM_FormLoad(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    const int before = h.prompt().count;
    for (auto _ : state) {
        auto form = std::make_unique<frmMain>();
        form->show();
        QApplication::processEvents();
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (h.prompt().count != before)
        state.SkipWithError(qPrintable(QStringLiteral("message box: ") + h.prompt().last));
    memoryCounters(state);
}
BENCHMARK(BM_FormLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The database's share of the two steps: the statements alone, fetched into a Recordset.
void BM_Statement_Listing_Pendings(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    ListingFilter filter;
    filter.employeeCode = h.scale().userId;
    filter.option = 0;
    const QString sql = ListingStatement(filter);
    for (auto _ : state) {
        db::Recordset rs = sqlconnection().query(sql);
        benchmark::DoNotOptimize(rs.recordCount());
    }
    memoryCounters(state);
}
BENCHMARK(BM_Statement_Listing_Pendings)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Statement_LoadWithdrawalRequest_1231Lines(benchmark::State &state)
{
    Hospital &h = Hospital::instance();
    const QString sql = QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '")
        + db::quoteInner(h.scale().bigDocument) + QLatin1Char('\'');
    for (auto _ : state) {
        db::Recordset rs = sqlconnection().query(sql);
        benchmark::DoNotOptimize(rs.recordCount());
    }
    memoryCounters(state);
}
BENCHMARK(BM_Statement_LoadWithdrawalRequest_1231Lines)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    // The arguments as given, for a restart (Qt and the benchmark library take theirs out).
    std::vector<char *> original(argv, argv + argc);
    original.push_back(nullptr);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stock Request"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const bench::HospitalScale &scale = bench::hospitalScale();
    if (scale.buildSeconds > 0) {
        // The build's memory would count in the peak: start afresh on the database just built.
        std::fflush(nullptr);
        execv("/proc/self/exe", original.data());
        std::perror("execv");
        return 1;
    }
    const qint64 before = bench::peakResidentKiB();
    Hospital &h = Hospital::instance();
    benchmark::AddCustomContext("database", scale.folder.toStdString());
    benchmark::AddCustomContext(
        "hospital",
        QStringLiteral("%1 documents, %2 request lines, %3 items, %4 locations; user "
                       "%5 with locations %6: %7 documents, %8 pending unverified")
            .arg(scale.documents)
            .arg(scale.requestLines)
            .arg(scale.items)
            .arg(scale.locations)
            .arg(scale.userId, scale.userLocations.join(QLatin1Char(' ')))
            .arg(scale.userDocuments)
            .arg(scale.userPendingUnverified)
            .toStdString());
    benchmark::AddCustomContext("frmMain construction incl. Form_Load and first listing",
                                std::to_string(h.formLoadMs()) + " ms");
    benchmark::AddCustomContext("peak memory before the form (KiB)", std::to_string(before));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Hospital::end();
    std::fprintf(stderr, "Peak resident memory (VmHWM): %.1f MiB\n",
                 double(bench::peakResidentKiB()) / 1024.0);
    return 0;
}
