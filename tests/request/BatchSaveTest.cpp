// Saves sent as batches: what each kind of document stores is the same whether its commands go
// one by one or as the one text a SQL Server receives; a refused command in the middle of the
// batch leaves nothing written; the round trips of a save do not grow with its lines; and the
// listing is reloaded only when the user asks for it.
#include "platform/db/LatencyConnection.h"
#include "platform/db/OdbcConnection.h"
#include "platform/format/Decimal.h"
#include "platform/format/Format.h"
#include "request/LinesGrid.h"
#include "request/MainFormTest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <vector>

using testing_support::MainFormTest;

namespace {

// How a batch reaches the embedded database: each command on its own, or all of them as the
// single text sent to a SQL Server, run by the engine as one batch.
enum class Wire { OneByOne, OneText };

class WireConnection final : public db::Connection
{
public:
    WireConnection(std::unique_ptr<db::Connection> inner, Wire wire)
        : m_inner(std::move(inner))
        , m_wire(wire)
    { }
    QString serverName() const override { return m_inner->serverName(); }
    void beginTransaction() override { m_inner->beginTransaction(); }
    void commitTransaction() override { m_inner->commitTransaction(); }
    void rollbackTransaction() override { m_inner->rollbackTransaction(); }
    bool inTransaction() const override { return m_inner->inTransaction(); }

protected:
    db::Recordset doQuery(const QString &sql) override { return m_inner->query(sql); }
    void doExecute(const QString &sql) override { m_inner->execute(sql); }
    void doExecuteBatch(const QStringList &statements) override
    {
        if (m_wire == Wire::OneText) {
            m_inner->execute(db::OdbcConnection::batchText(statements, true));
        } else {
            for (const QString &sql : statements)
                m_inner->execute(sql);
        }
    }

private:
    std::unique_ptr<db::Connection> m_inner;
    Wire m_wire;
};

enum class Kind { Ordinary, Return, LotNumbers, RequestOrders, ConsolidationVerified };

struct Line
{
    const char *code;
    const char *quantity;
    const char *unitCost;
};

class BatchSaveTest : public MainFormTest
{
protected:
    void SetUp() override { DatabaseTest::SetUp(); }

    // Logs DEMO in through a connection that sends batches the given way.
    void start(std::unique_ptr<db::Connection> connection)
    {
        resetSession();
        currentUser = std::make_unique<user::CurrentUser>();
        connection->setObserver([this](const QString &sql) { statements << sql; });
        currentUser->logIn(std::move(connection), QStringLiteral("DEMO"));
        Session.CurrentUser = currentUser.get();
        Session.Connection = &currentUser->sqlconnection();
        Session.InventoryAccess = QStringLiteral("A");
        Session.Shell = &shell;
        LoadHospitalInfo();
    }

    void startOn(Wire wire)
    {
        database = m_db.get();
        start(std::make_unique<WireConnection>(std::move(m_db), wire));
    }

    // A second, fresh database for the next run of the same steps.
    void restart(Wire wire)
    {
        form.reset();
        resetSession();
        currentUser.reset();
        statements.clear();
        prompt.clear();
        m_db = db::EmbeddedConnection::openInMemory();
        m_db->setClock([] { return fixedNow(); });
        startOn(wire);
    }

    void newDocument(const std::vector<Line> &lineList, bool isRequest = true)
    {
        if (!form)
            open();
        form->cmdNew_Click();
        if (!isRequest)
            form->document().startNew(false, false);
        child<ui::DataCombo>("cboLocation")->setText(QStringLiteral("Central Warehouse"));
        child<ui::DataCombo>("cboTargetLocation")->setText(QStringLiteral("Medical Ward"));
        child<QPlainTextEdit>("txtRemarks")->setPlainText(QStringLiteral("Ward's stock"));
        setLines(lineList);
    }

    // The lines go into the document as the entry puts them.
    void setLines(const std::vector<Line> &lineList)
    {
        while (form->document().lineCount() > 0) {
            lines().setRow(1);
            form->cmdDelete_Click();
        }
        int row = 1;
        for (const Line &l : lineList) {
            RequestLine line;
            line.itemId = QLatin1String(l.code);
            line.description = QStringLiteral("ITEM");
            line.quantity = format::typedNumber(QLatin1String(l.quantity));
            line.unitCost
                = format::Currency::fromDouble(format::typedNumber(QLatin1String(l.unitCost)));
            line.retail = QStringLiteral("N");
            line.ads = row % 2 != 0;
            line.lotNumber = QStringLiteral("LOT-%1").arg(row);
            form->linesGrid().PutLine(form->document().lineCount() + 1, line);
            ++row;
        }
    }

    void chooseType(int button)
    {
        modal.expect([button](QDialog &dialog) {
            dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_%1").arg(button))
                ->click();
        });
    }

    // A document of the kind saved new, then opened again from the listing, changed and saved
    // again: the steps a user takes.
    void saveTwice(Kind kind)
    {
        switch (kind) {
        case Kind::Ordinary:
        case Kind::Return:
            break;
        case Kind::LotNumbers:
            setSwitch(QStringLiteral("91"), true);
            break;
        case Kind::RequestOrders:
            setSite(QStringLiteral("Q4VH"));
            break;
        case Kind::ConsolidationVerified:
            setSite(QStringLiteral("ZRWB"));
            break;
        }
        open();
        if (kind == Kind::LotNumbers)
            chooseType(0);
        if (kind == Kind::ConsolidationVerified)
            chooseType(1);
        newDocument({{"1001", "10", "2.5"}, {"1012", "3", "42"}, {"1019", "1,250", "0.5"}},
                    kind != Kind::Return);
        if (kind == Kind::Return)
            child<ui::DataCombo>("cboLocation")->setText(QStringLiteral("Nursing Store Room"));
        if (kind == Kind::RequestOrders) {
            ui::FlexGrid &ro = *child<ui::FlexGrid>("fgRO");
            ro.setTextMatrix(1, 0, QStringLiteral("1008"));
            ro.setTextMatrix(1, 1, QStringLiteral("ITEM"));
            ro.setTextMatrix(1, 3, QStringLiteral("1,000"));
            ro.setTextMatrix(1, 4, QStringLiteral("5.25"));
            ro.setTextMatrix(1, 5, QStringLiteral("5,250"));
            form->linesGrid().TakeRequestOrders();
        }
        if (kind == Kind::ConsolidationVerified) {
            child<QLineEdit>("txtOfficer")->setText(QStringLiteral("10023"));
            form->cmdVerify_Click();
        } else {
            form->cmdSave_Click();
        }
        const QString number = child<QLineEdit>("txtDocNum")->text();
        ASSERT_NE(number, QStringLiteral("NEW"));

        // Opened again (the listing of the kind's table), one line fewer and a changed purpose.
        if (kind == Kind::ConsolidationVerified)
            return;
        selectListed(number);
        form->cmdEdit_Click();
        ASSERT_EQ(child<QLineEdit>("txtDocNum")->text(), number);
        setLines({{"1012", "4", "42"}, {"1001", "11", "2.5"}});
        child<QPlainTextEdit>("txtRemarks")->setPlainText(QStringLiteral("Weekly; again"));
        form->cmdSave_Click();
    }

    // Every row of the tables a save writes, in a fixed order.
    QStringList stored() const
    {
        QStringList out;
        const char *tables[][2] = {
            {"INVENTORY..tbInvWithdrawRequest", "LineID"},
            {"INVENTORY..tbInvWithdrawRequestConsolidation", "LineID"},
            {"INVENTORY..tbinvRequestOrder", "Documentnumber, itemid"},
            {"INVENTORY..tbinvCANumber", "RONumber"},
            {"INVENTORY..tbInvMRISDocnum", "SequenceNumber"},
        };
        for (const auto &t : tables) {
            db::Recordset rs = database->query(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                                   .arg(QLatin1String(t[0]), QLatin1String(t[1])));
            for (; !rs.eof(); rs.moveNext()) {
                QStringList cols;
                for (int i = 0; i < rs.fieldCount(); ++i)
                    cols << rs.text(i);
                out << QLatin1String(t[0]) + QLatin1Char(':') + cols.join(QLatin1Char('|'));
            }
        }
        return out;
    }

    int linesStored(const QString &number) const
    {
        db::Recordset rs = database->query(
            QStringLiteral("SELECT COUNT(*) AS N FROM INVENTORY..tbInvWithdrawRequest WHERE "
                           "DocumentNumber = ")
            + db::quote(number));
        return rs.field(QStringLiteral("N")).toInt();
    }
};

class BatchKindTest : public BatchSaveTest, public ::testing::WithParamInterface<Kind>
{
};

TEST_P(BatchKindTest, OneTextStoresWhatOneByOneStored)
{
    startOn(Wire::OneByOne);
    saveTwice(GetParam());
    const QStringList oneByOne = stored();
    const QStringList messages = prompt.texts();

    restart(Wire::OneText);
    saveTwice(GetParam());
    EXPECT_EQ(stored(), oneByOne);
    EXPECT_EQ(prompt.texts(), messages);
    EXPECT_FALSE(oneByOne.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BatchKindTest,
                         ::testing::Values(Kind::Ordinary, Kind::Return, Kind::LotNumbers,
                                           Kind::RequestOrders, Kind::ConsolidationVerified));

class RefusedInBatchTest : public BatchSaveTest, public ::testing::WithParamInterface<Wire>
{
};

// The item code of the middle line is too long for its column: the database refuses that
// insert after the first one has run.
TEST_P(RefusedInBatchTest, RefusedCommandInTheMiddleLeavesNothingWritten)
{
    startOn(GetParam());
    open();
    selectListed(QStringLiteral("1001"));
    form->cmdEdit_Click();
    const QStringList before = stored();
    setLines(
        {{"1012", "4", "42"}, {"X123456789012345678901234567890", "1", "1"}, {"1001", "1", "2"}});
    form->cmdSave_Click();

    EXPECT_EQ(prompt.shown().back().icon, ui::Icon::Critical);
    EXPECT_FALSE(prompt.lastText().isEmpty());
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 1);

    // Put right, the same document saves.
    setLines({{"1012", "4", "42"}, {"1001", "1", "2"}});
    form->cmdSave_Click();
    EXPECT_EQ(linesStored(QStringLiteral("1001")), 2);
}

INSTANTIATE_TEST_SUITE_P(Wires, RefusedInBatchTest,
                         ::testing::Values(Wire::OneByOne, Wire::OneText));

// A far connection counts its round trips: a save of many lines makes as many as one of few.
TEST_F(BatchSaveTest, RoundTripsOfASaveDoNotGrowWithItsLines)
{
    database = m_db.get();
    auto wire
        = std::make_unique<db::LatencyConnection>(std::move(m_db), std::chrono::microseconds(0));
    db::LatencyConnection *far = wire.get();
    start(std::move(wire));
    const char *codes[] = {"1001", "1012", "1019", "1024", "1025", "1008"};
    // The first save of the session also reads what later ones find already loaded.
    const int counts[] = {1, 2, 60};
    long long trips[3] = {0, 0, 0};
    for (int run = 0; run < 3; ++run) {
        std::vector<Line> many;
        for (int i = 0; i < counts[run]; ++i)
            many.push_back({codes[i % 6], "2", "1.5"});
        newDocument(many);
        far->resetRoundTrips();
        form->cmdSave_Click();
        trips[run] = far->roundTrips();
        EXPECT_EQ(linesStored(child<QLineEdit>("txtDocNum")->text()), counts[run]);
    }
    EXPECT_EQ(trips[2], trips[1]);
    EXPECT_GT(trips[1], 0);
}

// Marks the listing so that a reload shows.
void markListing(ui::FlexGrid &grid)
{
    grid.setTextMatrix(1, 1, QStringLiteral("MARK"));
}

TEST_F(BatchSaveTest, OnlyTheUsersRetailChoiceReloadsTheListing)
{
    startOn(Wire::OneByOne);
    open();
    // A document whose line is for retail while the option shows "No".
    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawRequest SET ForRetail = 'Y' WHERE "
                       "DocumentNumber = '1001'"));
    QRadioButton *yes = form->controls().optConsumed[0];
    QRadioButton *no = form->controls().optConsumed[1];
    selectListed(QStringLiteral("1001"));
    no->setChecked(true);
    markListing(listing());
    form->cmdEdit_Click(); // shows the first line, ticking "Yes"
    form->cboTargetLocation_Validate(); // the save's validation ticks it again
    no->setChecked(true);
    form->cboTargetLocation_Validate();
    EXPECT_TRUE(yes->isChecked());
    EXPECT_EQ(listing().TextMatrix(1, 1), QStringLiteral("MARK"));

    // A save reloads the listing once, after writing; the user's own click does too.
    form->cmdSave_Click();
    EXPECT_NE(listing().TextMatrix(1, 1), QStringLiteral("MARK"));
    markListing(listing());
    no->setChecked(true);
    yes->click();
    EXPECT_NE(listing().TextMatrix(1, 1), QStringLiteral("MARK"));
}

} // namespace
