// An acknowledgement with piece and kit conversions under refusals: whichever statement the
// database refuses (the COMMIT included), every table is afterwards exactly as before, the user
// is told that nothing was posted, and the next try on the same connection posts the document.
#include "acknowledge/frmAcknowledgement.h"
#include "platform/db/EmbeddedConnection.h"
#include "platform/ui/FlexGrid.h"
#include "session/Inventory.h"
#include "session/Reports.h"
#include "session/Session.h"
#include "support/FaultyConnection.h"
#include "support/TableSnapshot.h"
#include "support/TestEnvironment.h"

#include <QPushButton>
#include <iostream>

namespace {

using testing_support::TableSnapshot;
using ui::Answer;

class AcknowledgementAtomicityTest : public testing_support::LoggedInDatabaseTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        logInWithFaults(QStringLiteral("DEMO"));
        LoadHospitalInfo();
        // Every question is answered Yes, the print is declined.
        prompt.setHook([](const ui::PromptRequest &request) -> std::optional<Answer> {
            if (request.text == QLatin1String("Print MRIS report?"))
                return Answer::No;
            return std::nullopt;
        });
    }

    QVariant value(const QString &statement)
    {
        db::Recordset rs = database->query(statement);
        return rs.eof() ? QVariant() : rs.value(0);
    }

    // One press of Acknowledge on the document, with the k-th statement from the press on
    // refused (0: none).
    void acknowledge(const QString &transNum, int k)
    {
        faulty->arm(0);
        frmAcknowledgement form;
        form.Form_Load();
        ui::FlexGrid &grid = *form.grdMRIS;
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, 1) == transNum)
                grid.setRow(row);
        }
        ASSERT_EQ(grid.TextMatrix(grid.Row(), 1), transNum);
        prompt.clear();
        faulty->arm(k);
        form.cmdAcknowledge->click();
    }
};

TEST_F(AcknowledgementAtomicityTest, EveryRefusedStatementLeavesEveryTableAsItWas)
{
    const QString record
        = value(QStringLiteral("select RecordNumber from INVENTORY..tbInvWithdrawHeader where "
                               "TransNum = '21-1'"))
              .toString();
    const TableSnapshot before(*database);
    int refusals = 0;
    int torn = 0;
    int rowsLost = 0;
    int k = 1;
    for (;; ++k) {
        ASSERT_LT(k, 500) << "the acknowledgement never got through";
        acknowledge(QStringLiteral("21-1"), k);
        if (!faulty->refused())
            break; // every statement of the acknowledgement was sent: it went through
        ++refusals;
        const TableSnapshot after(*database);
        const int lost = before.rowsMissingFrom(after);
        rowsLost += lost;
        if (after != before)
            ++torn;
        EXPECT_EQ(after, before) << "statement " << k
                                 << " refused: " << before.difference(after).toStdString();
        EXPECT_FALSE(database->inTransaction()) << k;
        // The user is told that nothing was posted, and nothing else after it.
        EXPECT_TRUE(prompt.lastText().contains(QStringLiteral("nothing was posted")))
            << k << ": " << prompt.lastText().toStdString();
        EXPECT_EQ(prompt.shown().back().icon, ui::Icon::Critical) << k;
        EXPECT_FALSE(prompt.texts().contains(QStringLiteral("Items transferred successfully!")))
            << k;
    }
    std::cout << "[ figures  ] acknowledgement with conversions: " << k - 1
              << " statements refused in turn, " << torn << " documents torn, " << rowsLost
              << " rows lost\n";
    EXPECT_EQ(refusals, k - 1);
    EXPECT_GE(refusals, 12); // the posting, both conversions and the commit were reached
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(rowsLost, 0);

    // The try with nothing refused posted the whole document on the same connection.
    EXPECT_EQ(value(QStringLiteral("select Status from INVENTORY..tbInvWithdrawHeader where "
                                   "RecordNumber = ")
                    + record)
                  .toString(),
              QStringLiteral("P"));
    EXPECT_EQ(value(QStringLiteral("select count(*) from INVENTORY..tbInvStockLedger where "
                                   "MovementType = 'RT' and RecordNumber = ")
                    + record)
                  .toInt(),
              5);
    EXPECT_EQ(value(QStringLiteral("select count(*) from INVENTORY..tbinvWDItemTransfer where "
                                   "isnull(Status,'') <> 'P'"))
                      .toInt()
                  + value(QStringLiteral("select count(*) from INVENTORY..tbInvWDKitItemTransfer "
                                         "where isnull(Status,'') <> 'P' and RecordNumber = ")
                          + record)
                        .toInt(),
              0);
    EXPECT_TRUE(prompt.texts().contains(QStringLiteral("Items transferred successfully!")));
}

TEST_F(AcknowledgementAtomicityTest, WorkstationThatWasBeatenPostsNothingAndSaysByWhom)
{
    const QString record
        = value(QStringLiteral("select RecordNumber from INVENTORY..tbInvWithdrawHeader where "
                               "TransNum = '21-1'"))
              .toString();
    // While this user answers the question, the document is acknowledged at another
    // workstation by the store keeper (it is then no longer waiting).
    prompt.setHook([this, record](const ui::PromptRequest &request) -> std::optional<Answer> {
        if (request.text == QLatin1String("Acknowledge transfer?")) {
            sql(QStringLiteral("INSERT INTO Password..tbPasswordMain (EmployeeID, Password, "
                               "LastName, FirstName) VALUES ('KEEPER', '', 'STORE', 'KEEPER')"));
            sql(QStringLiteral("Inventory..sp_Inv_Insert_Withdrawal_RT '12/08/2026', '18', '21', "
                               "'KEEPER', '21-1', %1, ''")
                    .arg(record));
            sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawHeader SET Status = 'P' WHERE "
                               "RecordNumber = ")
                + record);
        }
        return request.text == QLatin1String("Print MRIS report?")
            ? std::optional<Answer>(Answer::No)
            : std::nullopt;
    });
    const int postedBefore
        = value(QStringLiteral("select count(*) from INVENTORY..tbinvWDItemTransfer where "
                               "Status = 'P'"))
              .toInt();
    acknowledge(QStringLiteral("21-1"), 0);

    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("MRIS number already Acknowledged by STORE, KEEPER (KEEPER). "
                             "Refreshing list..."));
    // Only the other workstation's receipt: no second posting, no conversion.
    EXPECT_EQ(value(QStringLiteral("select count(*) from INVENTORY..tbInvStockLedger where "
                                   "RecordNumber = ")
                    + record)
                  .toInt(),
              5);
    EXPECT_EQ(value(QStringLiteral("select count(*) from INVENTORY..tbinvWDItemTransfer where "
                                   "Status = 'P'"))
                  .toInt(),
              postedBefore);
}

} // namespace
