// Acknowledging issued stock on the demo hospital: the stock moves and the ledger is written,
// an unnumbered document is numbered, a second acknowledgement is refused, and a posting that
// fails leaves the document and the stock as they were.
#include "acknowledge/frmAcknowledgement.h"
#include "platform/ui/FlexGrid.h"
#include "request/MainFormTest.h"
#include "session/Reports.h"

#include <QPushButton>

namespace {

using testing_support::MainFormTest;
using ui::Answer;

class AcknowledgementTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        setProgramFolder(QStringLiteral(SR_SOURCE_DIR "/reports"));
        ack = std::make_unique<frmAcknowledgement>();
        ack->Form_Load();
    }

    void TearDown() override
    {
        ack.reset();
        setProgramFolder(QString());
        MainFormTest::TearDown();
    }

    QVariant value(const QString &statement)
    {
        db::Recordset rs = database->query(statement);
        return rs.eof() ? QVariant() : rs.value(0);
    }
    double onHand(const char *item, const char *location)
    {
        return value(QStringLiteral("SELECT OnHand FROM INVENTORY..tbInvent WHERE ItemID = '%1' "
                                    "AND LocationID = '%2'")
                         .arg(QLatin1String(item), QLatin1String(location)))
            .toDouble();
    }
    int ledgerRows(const char *movement)
    {
        return value(QStringLiteral("SELECT COUNT(*) FROM INVENTORY..tbInvStockLedger WHERE "
                                    "MovementType = '%1'")
                         .arg(QLatin1String(movement)))
            .toInt();
    }
    QString header(const QString &column, const QString &record)
    {
        return value(QStringLiteral("SELECT %1 FROM INVENTORY..tbInvWithdrawHeader WHERE "
                                    "RecordNumber = %2")
                         .arg(column, record))
            .toString();
    }
    // Makes the listed MRIS current and answers its record number.
    QString select(const QString &transNum)
    {
        ui::FlexGrid &grid = *ack->grdMRIS;
        for (int row = 1; row < grid.Rows(); ++row)
            if (grid.TextMatrix(row, 1) == transNum) {
                grid.setRow(row);
                return grid.TextMatrix(row, 5);
            }
        ADD_FAILURE() << "not listed: " << transNum.toStdString();
        return QString();
    }
    QStringList listed() const
    {
        QStringList numbers;
        for (int row = 1; row < ack->grdMRIS->Rows(); ++row)
            numbers << ack->grdMRIS->TextMatrix(row, 1);
        return numbers;
    }

    std::unique_ptr<frmAcknowledgement> ack;
};

TEST_F(AcknowledgementTest, AcknowledgingPostsTheStockAndTheLedger)
{
    ASSERT_EQ(listed(), (QStringList {QStringLiteral("21-1"), QStringLiteral("NEW")}));
    const QString record = select(QStringLiteral("21-1"));
    EXPECT_EQ(ack->grdDetails->Rows(), 6); // five lines
    for (Answer a : {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Ok, Answer::Ok, Answer::No})
        prompt.answer(a);
    statements.clear();

    ack->cmdAcknowledge->click();

    EXPECT_EQ(prompt.texts(),
              (QStringList {QStringLiteral("Acknowledge transfer?"),
                            QStringLiteral("Do you want to directly transfer the tagged item "
                                           "into pieces?"),
                            QStringLiteral("Do you want to directly transfer the tagged kit "
                                           "into pieces?"),
                            // told once the whole acknowledgement is stored
                            QStringLiteral("Items transferred successfully!"),
                            QStringLiteral("Items transferred successfully!"),
                            QStringLiteral("Print MRIS report?")}));
    EXPECT_EQ(ack->result(), QDialog::Accepted);
    EXPECT_EQ(header(QStringLiteral("Status"), record), QStringLiteral("P"));
    EXPECT_DOUBLE_EQ(onHand("1019", "21"), 470);
    EXPECT_DOUBLE_EQ(onHand("1019", "18"), 50);
    EXPECT_DOUBLE_EQ(onHand("P1024", "18"), 220);
    EXPECT_EQ(ledgerRows("WD"), 5);
    EXPECT_EQ(ledgerRows("RT"), 5);
    const QStringList wd = sentLike(QStringLiteral("sp_Inv_Insert_Withdrawal_WD"));
    ASSERT_EQ(wd.size(), 1);
    EXPECT_EQ(wd[0],
              QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_WD '21', '18', '12/07/2026 "
                             "02:30:00 PM', '21-1','CLERK1', %1, '0'")
                  .arg(record));
}

TEST_F(AcknowledgementTest, UnnumberedDocumentIsNumberedAndNoPiecesAsked)
{
    const QString record = select(QStringLiteral("NEW"));
    prompt.answer(Answer::Yes);
    prompt.answer(Answer::No);
    statements.clear();

    ack->cmdAcknowledge_Click();

    EXPECT_EQ(prompt.texts(),
              (QStringList {QStringLiteral("Acknowledge transfer?"),
                            QStringLiteral("Print MRIS report?")}));
    const QString number = QStringLiteral("119-") + record;
    EXPECT_EQ(header(QStringLiteral("TransNum"), record), number);
    EXPECT_EQ(header(QStringLiteral("Status"), record), QStringLiteral("P"));
    EXPECT_DOUBLE_EQ(onHand("1014", "119"), 980);
    EXPECT_DOUBLE_EQ(onHand("1014", "23"), 50);
    const QStringList rt = sentLike(QStringLiteral("sp_Inv_Insert_Withdrawal_RT"));
    ASSERT_EQ(rt.size(), 1);
    EXPECT_TRUE(rt[0].endsWith(QStringLiteral("'DEMO', '%1', %2, ''").arg(number, record)))
        << rt[0].toStdString();
}

TEST_F(AcknowledgementTest, SecondAcknowledgementIsRefused)
{
    const QString record = select(QStringLiteral("21-1"));
    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawHeader SET Status = 'P' WHERE "
                       "RecordNumber = ")
        + record); // another user was quicker

    ack->cmdAcknowledge_Click();

    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("MRIS number already Acknowledged by another user. Refreshing "
                             "list..."));
    EXPECT_EQ(prompt.shown()[0].icon, ui::Icon::Information);
    EXPECT_EQ(listed(), QStringList {QStringLiteral("NEW")});
    EXPECT_NE(ack->result(), QDialog::Accepted);
    EXPECT_EQ(ledgerRows("WD"), 0);
}

TEST_F(AcknowledgementTest, DecliningStillOffersThePrint)
{
    const QString record = select(QStringLiteral("21-1"));
    prompt.answer(Answer::No);
    prompt.answer(Answer::Yes);
    QString title;
    QStringList values;
    modal.expect([&](QDialog &viewer) {
        title = viewer.windowTitle();
        for (const report::ParameterField &field : Session.Report->ParameterFields())
            values << field.value();
        viewer.reject();
    });

    ack->cmdAcknowledge_Click();

    EXPECT_EQ(title, QStringLiteral("MRIS Report"));
    EXPECT_EQ(values, (QStringList {QStringLiteral("18"), QString(), record}));
    EXPECT_EQ(header(QStringLiteral("Status"), record), QStringLiteral("F"));
    EXPECT_EQ(ack->result(), QDialog::Accepted);
}

TEST_F(AcknowledgementTest, FailingPostingLeavesDocumentAndStockUntouched)
{
    const QString record = select(QStringLiteral("NEW"));
    sql(QStringLiteral("DROP PROCEDURE dbo.sp_Inv_Insert_Withdrawal_RT"));
    prompt.answer(Answer::Yes);

    ack->cmdAcknowledge_Click();

    ASSERT_EQ(prompt.shown().size(), 2u) << prompt.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompt.shown()[1].icon, ui::Icon::Critical);
    EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("nothing was posted")));
    EXPECT_FALSE(sentLike(QStringLiteral("sp_Inv_Insert_Withdrawal_WD")).isEmpty());
    EXPECT_EQ(header(QStringLiteral("TransNum"), record), QStringLiteral("NEW"));
    EXPECT_EQ(header(QStringLiteral("Status"), record), QStringLiteral("F"));
    EXPECT_DOUBLE_EQ(onHand("1014", "119"), 1000);
    EXPECT_EQ(ledgerRows("WD"), 0);
    EXPECT_NE(ack->result(), QDialog::Accepted); // still on screen for another try
}

TEST_F(AcknowledgementTest, MainFormButtonOpensTheFormAndPollsAgain)
{
    setSwitch(QStringLiteral("93"), true);
    open();
    ASSERT_TRUE(child<QPushButton>("cmdAcknowledge")->isVisible());
    // Everything waiting is acknowledged while the form is open.
    modal.expect([this](QDialog &dialog) {
        sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawHeader SET Status = 'P'"));
        dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
    });
    child<QPushButton>("cmdAcknowledge")->click();
    EXPECT_EQ(modal.shown(), QStringList {QStringLiteral("frmAcknowledgement")});
    EXPECT_FALSE(child<QPushButton>("cmdAcknowledge")->isVisible());
}

} // namespace
