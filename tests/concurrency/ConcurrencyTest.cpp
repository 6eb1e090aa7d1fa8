// Workstations at once on one embedded database folder, each a process of its own: new saves
// never share a number, and one issue document is posted once however many acknowledge it.
#include "platform/db/EmbeddedConnection.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <vector>

namespace {

class ConcurrencyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        folder = m_dir.filePath(QStringLiteral("shared"));
        db::EmbeddedConnection::open(folder); // built once, before the workstations start
    }

    // Starts the workstations, lets them go at one moment, and answers each one's output.
    std::vector<QStringList> run(const std::vector<QStringList> &arguments)
    {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (const QStringList &args : arguments) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QStringLiteral(SR_CONCURRENCY_HELPER), args);
            EXPECT_TRUE(p->waitForStarted(30000));
            processes.push_back(std::move(p));
        }
        // Every workstation has loaded what it shows before any of them goes on.
        const QDir dir(folder);
        QDeadlineTimer loaded(120000);
        while (dir.entryList({QStringLiteral("READY.*")}, QDir::Files).size()
                   < static_cast<qsizetype>(processes.size())
               && !loaded.hasExpired())
            QThread::msleep(5);
        QFile go(QDir(folder).filePath(QStringLiteral("GO")));
        EXPECT_TRUE(go.open(QIODevice::WriteOnly));
        go.close();
        std::vector<QStringList> outputs;
        for (auto &p : processes) {
            EXPECT_TRUE(p->waitForFinished(120000));
            outputs.push_back(QString::fromUtf8(p->readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts));
        }
        QFile::remove(QDir(folder).filePath(QStringLiteral("GO")));
        for (const QString &name : dir.entryList({QStringLiteral("READY.*")}, QDir::Files))
            QFile::remove(dir.filePath(name));
        return outputs;
    }

    QVariant value(const QString &statement)
    {
        auto connection = db::EmbeddedConnection::open(folder);
        db::Recordset rs = connection->query(statement);
        return rs.eof() ? QVariant() : rs.value(0);
    }

    QTemporaryDir m_dir;
    QString folder;
};

TEST_F(ConcurrencyTest, SimultaneousNewSavesNeverShareANumber)
{
    constexpr int workstations = 4;
    constexpr int each = 50;
    std::vector<QStringList> arguments(workstations,
                                       {QStringLiteral("save"), folder, QString::number(each)});
    const std::vector<QStringList> outputs = run(arguments);

    QStringList numbers;
    QStringList refusals;
    for (const QStringList &lines : outputs) {
        for (const QString &line : lines) {
            if (line.startsWith(QLatin1String("N ")))
                numbers << line.mid(2);
            else
                refusals << line;
        }
    }
    std::cout << "[ figures  ] " << workstations * each << " simultaneous saves: " << numbers.size()
              << " saved, " << QSet<QString>(numbers.begin(), numbers.end()).size()
              << " distinct numbers, " << refusals.size() << " refused\n";
    EXPECT_TRUE(refusals.isEmpty()) << refusals.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(numbers.size(), workstations * each);
    EXPECT_EQ(QSet<QString>(numbers.begin(), numbers.end()).size(), numbers.size());
    // Every saved document is stored whole under its own number, in one of the two tables.
    EXPECT_EQ(value(QStringLiteral("select count(*) from (select DocumentNumber from "
                                   "INVENTORY..tbInvWithdrawRequest where UserID = 'DEMO' and "
                                   "ItemID = '1001' and Quantity = 1 union all select "
                                   "DocumentNumber from "
                                   "INVENTORY..tbInvWithdrawRequestConsolidation) A "
                                   "where DocumentNumber in ('%1')")
                        .arg(numbers.join(QStringLiteral("','"))))
                  .toInt(),
              workstations * each);
}

TEST_F(ConcurrencyTest, OneDocumentAcknowledgedAtOnceIsPostedOnce)
{
    const QString record
        = value(QStringLiteral("select RecordNumber from INVENTORY..tbInvWithdrawHeader where "
                               "TransNum = '21-1'"))
              .toString();
    ASSERT_FALSE(record.isEmpty());
    const int ledgerBefore
        = value(QStringLiteral("select count(*) from INVENTORY..tbInvStockLedger")).toInt();
    constexpr int workstations = 3;
    std::vector<QStringList> arguments(workstations, {QStringLiteral("ack"), folder, record});
    const std::vector<QStringList> outputs = run(arguments);

    int posted = 0;
    int toldTaken = 0;
    for (const QStringList &lines : outputs) {
        if (lines.contains(QStringLiteral("M Print MRIS report?")))
            ++posted;
        for (const QString &line : lines)
            toldTaken += line.startsWith(QLatin1String("M MRIS number already Acknowledged by"));
    }
    const int rt = value(QStringLiteral("select count(*) from INVENTORY..tbInvStockLedger where "
                                        "MovementType = 'RT' and RecordNumber = ")
                         + record)
                       .toInt();
    const int ledgerAfter
        = value(QStringLiteral("select count(*) from INVENTORY..tbInvStockLedger")).toInt();
    std::cout << "[ figures  ] " << workstations << " simultaneous acknowledgements: " << posted
              << " posted, " << toldTaken << " told already acknowledged, " << rt
              << " receipt rows\n";
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(toldTaken, workstations - 1) << outputs[0].join(QLatin1Char('\n')).toStdString()
                                           << outputs[1].join(QLatin1Char('\n')).toStdString()
                                           << outputs[2].join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(value(QStringLiteral("select Status from INVENTORY..tbInvWithdrawHeader where "
                                   "RecordNumber = ")
                    + record)
                  .toString(),
              QStringLiteral("P"));
    // The five lines received once, with the pieces converted once.
    EXPECT_EQ(rt, 5);
    const int converted
        = value(QStringLiteral("select count(*) from INVENTORY..tbInvStockLedger where "
                               "MovementType = 'TI' and RecordNumber = ")
                + record)
              .toInt();
    EXPECT_EQ(ledgerAfter - ledgerBefore, 10 + 2 * converted);
    EXPECT_GT(converted, 0);
}

} // namespace
