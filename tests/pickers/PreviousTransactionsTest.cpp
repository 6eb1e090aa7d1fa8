// The previous transactions picker against the demo documents from the Central Warehouse (21) to
// the Medical Ward (18): requests 1012, 1001 and 1003, consolidation request 900.
#include "session/LoggedInTest.h"

#include "pickers/frmPreviousTransactions.h"
#include "platform/ui/FlexGrid.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testing_support::LoggedInTest;

namespace {

class PreviousTransactionsTest : public LoggedInTest
{
protected:
    void pick(const QString &supplying, const QString &requesting,
              const std::function<void(frmPreviousTransactions &)> &action)
    {
        form.SupplyingLocationID = supplying;
        form.RequestingLocationID = requesting;
        modal.expect([&](QDialog &) { action(form); });
        ui::showModal(form);
    }

    // Column c of every data row of a grid.
    static QStringList column(const ui::FlexGrid &grid, int c)
    {
        QStringList texts;
        for (int row = 1; row < grid.Rows(); ++row)
            texts << grid.TextMatrix(row, c);
        return texts;
    }

    void doubleClickRow(int row)
    {
        ui::FlexGrid &grid = *form.grdDetails;
        const QRect cell = grid.cellGeometry(row, 2);
        ASSERT_FALSE(cell.isEmpty());
        const QPoint at = cell.center() - grid.viewport()->geometry().topLeft();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    }

    frmPreviousTransactions form;
};

// The list as the server receives it for a search text already stripped of quotes.
QString listStatement(const QString &search)
{
    const auto half = [&](const char *stat, const char *table) {
        return QStringLiteral("select a.Documentnumber,max(a.transdate) as Transdate, "
                              " max(source.location) as SourceLocation, "
                              " Max(target.location) as TargetLocation  ,Stat = '")
            + QLatin1String(stat) + QStringLiteral("'  from inventory..") + QLatin1String(table)
            + QStringLiteral(" a  left join inventory..tbinvlocation as source on a.locationid = "
                             "source.locationid   left join inventory..tbinvlocation as target on "
                             "a.targetlocationid = target.locationid  where a.locationid = '21' "
                             "and  a.targetlocationid = '18'  and a.Documentnumber like '%")
            + search + QStringLiteral("%'  group by a.documentnumber ");
    };
    return half("0", "tbinvwithdrawrequest") + QStringLiteral(" UNION ALL ")
        + half("1", "tbinvwithdrawrequestConsolidation")
        + QStringLiteral(" order by transdate desc");
}

TEST_F(PreviousTransactionsTest, ListsBothTablesNewestFirstAndShowsTheFirst)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmPreviousTransactions &f) {
        EXPECT_EQ(column(*f.grdMRIS, 1), (QStringList {"1012", "1001", "1003", "900"}));
        EXPECT_EQ(column(*f.grdMRIS, 5), (QStringList {"0", "0", "0", "1"}));
        EXPECT_EQ(f.grdMRIS->ColWidth(5), 0);
        EXPECT_EQ(f.grdMRIS->TextMatrix(1, 3), QStringLiteral("Central Warehouse"));
        EXPECT_EQ(f.grdMRIS->Row(), 1);
        EXPECT_EQ(column(*f.grdDetails, 1), QStringList {"1022"});
        EXPECT_EQ(f.grdDetails->TextMatrix(0, 7), QStringLiteral("Req Quantity"));
    });
    // The list, then the first document's items, once each.
    ASSERT_EQ(statements.size(), 2);
    EXPECT_EQ(statements[0], listStatement(QString()));
    EXPECT_TRUE(statements[1].endsWith(QStringLiteral("   G.documentnumber = '1012' ")));
    EXPECT_TRUE(statements[1].contains(QStringLiteral("From inventory..tbinvwithdrawrequest G ")));
}

TEST_F(PreviousTransactionsTest, SearchMatchesAnywhereWithoutQuotes)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmPreviousTransactions &f) {
        statements.clear();
        f.txtSearch->setText(QStringLiteral(" 0'0 "));
        EXPECT_EQ(column(*f.grdMRIS, 1), (QStringList {"1001", "1003", "900"}));
        f.txtSearch->setText(QStringLiteral("777"));
        EXPECT_EQ(column(*f.grdMRIS, 1), QStringList {""});
        // The items of a document no longer listed go with it.
        EXPECT_EQ(column(*f.grdDetails, 1), QStringList {""});
        f.cmdOK->click();
    });
    ASSERT_FALSE(statements.isEmpty());
    EXPECT_EQ(statements[0], listStatement(QStringLiteral("00")));
    EXPECT_TRUE(form.ChosenItems.empty());
}

TEST_F(PreviousTransactionsTest, DocumentInBothTablesListedTwiceReadFromItsOwnTable)
{
    sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequestConsolidation (DocumentNumber, "
                       "ItemID, Quantity, LocationID, TargetLocationID, TransDate) VALUES ('1001', "
                       "'1028', 7, '21', '18', '12/09/2026 08:00:00 AM')"));
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmPreviousTransactions &f) {
        EXPECT_EQ(column(*f.grdMRIS, 1), (QStringList {"1001", "1012", "1001", "1003", "900"}));
        EXPECT_EQ(column(*f.grdMRIS, 5), (QStringList {"1", "0", "0", "0", "1"}));
        EXPECT_EQ(column(*f.grdDetails, 1), QStringList {"1028"});
        EXPECT_EQ(f.grdDetails->TextMatrix(1, 7), QStringLiteral("7"));
        f.grdMRIS->setRow(3);
        QStringList codes = column(*f.grdDetails, 1);
        codes.sort();
        EXPECT_EQ(codes, (QStringList {"1019", "1024", "1025"}));
    });
    EXPECT_TRUE(
        statements.last().contains(QStringLiteral("From inventory..tbinvwithdrawrequest G ")));
}

TEST_F(PreviousTransactionsTest, AnotherDocumentLosesTheTicks)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmPreviousTransactions &f) {
        f.grdMRIS->setRow(3); // 1003, five items
        doubleClickRow(2);
        EXPECT_EQ(f.grdDetails->TextMatrix(2, 0), QStringLiteral("."));
        doubleClickRow(2);
        EXPECT_EQ(f.grdDetails->TextMatrix(2, 0), QString());
        f.chkAll->click();
        EXPECT_EQ(column(*f.grdDetails, 0), QStringList(5, QStringLiteral(".")));

        f.grdMRIS->setRow(2); // 1001
        EXPECT_FALSE(f.chkAll->isChecked());
        EXPECT_EQ(column(*f.grdDetails, 0), QStringList(3, QString()));
        doubleClickRow(1);
        f.cmdOK->click();
    });
    ASSERT_EQ(form.ChosenItems.size(), 1u);
    const clstemCollection &item = form.ChosenItems[0];
    EXPECT_EQ(item.ItemCode, form.grdDetails->TextMatrix(1, 1));
    EXPECT_EQ(item.Quantity, form.grdDetails->TextMatrix(1, 7));
    EXPECT_EQ(item.UOM, form.grdDetails->TextMatrix(1, 3));
    EXPECT_EQ(item.OnHand, form.grdDetails->TextMatrix(1, 8));
    EXPECT_EQ(item.Retail, QStringLiteral("N"));
}

// The tick box is a fixed cell: a double click on it ticks its own row, as on the row's text.
TEST_F(PreviousTransactionsTest, DoubleClickOnTheTickBoxTicksItsRow)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmPreviousTransactions &f) {
        f.grdMRIS->setRow(3); // 1003, five items
        ui::FlexGrid &grid = *f.grdDetails;
        const auto tickBox = [&](int row) {
            const QRect cell = grid.cellGeometry(row, 0);
            EXPECT_FALSE(cell.isEmpty());
            return cell.center() - grid.viewport()->geometry().topLeft();
        };
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, tickBox(4));
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, tickBox(2));
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, tickBox(4));
        EXPECT_EQ(column(grid, 0),
                  (QStringList {QString(), QStringLiteral("."), QString(), QString(), QString()}));
        EXPECT_EQ(grid.Row(), 4);
        f.cmdOK->click();
    });
    ASSERT_EQ(form.ChosenItems.size(), 1u);
    EXPECT_EQ(form.ChosenItems[0].ItemCode, form.grdDetails->TextMatrix(2, 1));
}

TEST_F(PreviousTransactionsTest, NoEarlierDocumentReturnsNothing)
{
    pick(QStringLiteral("20"), QStringLiteral("30"), [&](frmPreviousTransactions &f) {
        EXPECT_EQ(column(*f.grdMRIS, 1), QStringList {""});
        EXPECT_EQ(column(*f.grdDetails, 1), QStringList {""});
        f.chkAll->click();
        doubleClickRow(1); // an empty row cannot be ticked
        EXPECT_EQ(f.grdDetails->TextMatrix(1, 0), QString());
        f.cmdOK->click();
    });
    EXPECT_EQ(statements.size(), 1);
    EXPECT_TRUE(form.ChosenItems.empty());
}

} // namespace
