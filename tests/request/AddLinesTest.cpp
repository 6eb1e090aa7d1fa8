// Adding several lines at once: from the annual plan (switch 92) and from an earlier document.
#include "request/MainFormTest.h"

#include "pickers/frmAPPItems.h"
#include "pickers/frmPreviousTransactions.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using testing_support::MainFormTest;

namespace {

// A new request of the Medical Ward (18) to the Central Warehouse (21).
class AddLinesTest : public MainFormTest
{
protected:
    void newRequest(bool planSwitch)
    {
        setSwitch(QStringLiteral("92"), planSwitch);
        open();
        form->cmdNew_Click();
        auto &location = *child<ui::DataCombo>("cboLocation");
        auto &target = *child<ui::DataCombo>("cboTargetLocation");
        location.setText(QStringLiteral("Central Warehouse"));
        target.setText(QStringLiteral("Medical Ward"));
        form->cboLocation_Validate();
        form->cboTargetLocation_Validate();
        ASSERT_EQ(location.Tag, QStringLiteral("21"));
        ASSERT_EQ(target.Tag, QStringLiteral("18"));
        prompt.clear();
    }

    // Picks from an earlier document: the listing row to select and the item rows to tick
    // (none: every row).
    void addFromPrevious(int documentRow, QList<int> rows = {})
    {
        modal.expect([documentRow, rows](QDialog &dialog) {
            auto &picker = dynamic_cast<frmPreviousTransactions &>(dialog);
            EXPECT_EQ(picker.SupplyingLocationID, QStringLiteral("21"));
            EXPECT_EQ(picker.RequestingLocationID, QStringLiteral("18"));
            picker.grdMRIS->setRow(documentRow);
            if (rows.isEmpty())
                picker.chkAll->click();
            for (int row : rows)
                picker.grdDetails->setTextMatrix(row, 0, QStringLiteral("."));
            picker.cmdOK->click();
        });
        child<QPushButton>("cmdAddFromPrevious")->click();
    }

    QStringList codes() const
    {
        QStringList found;
        for (int row = 1; row < lines().Rows(); ++row)
            found << lines().TextMatrix(row, DetailsCol::Code);
        return found;
    }

    QString cell(int row, int col) const { return lines().TextMatrix(row, col); }
};

TEST_F(AddLinesTest, PlanItemsBecomeLinesInTickedOrder)
{
    newRequest(true);
    modal.expect([](QDialog &dialog) {
        auto &picker = dynamic_cast<frmAPPItems &>(dialog);
        EXPECT_EQ(picker.RequestingLocationID, QStringLiteral("18"));
        for (int row = 1; row < picker.flexMSHList->Rows(); ++row) {
            const QString code = picker.flexMSHList->TextMatrix(row, 1);
            if (code == QLatin1String("1017") || code == QLatin1String("1009"))
                picker.flexMSHList->setTextMatrix(row, 0, QStringLiteral("."));
        }
        picker.cmdOK->click();
    });
    child<QPushButton>("cmdAdd")->click();

    EXPECT_EQ(modal.shown(), QStringList {"frmAPPItems"});
    EXPECT_EQ(codes(), (QStringList {"1017", "1009", ""}));
    EXPECT_EQ(cell(1, DetailsCol::Description),
              QStringLiteral("INSULIN REGULAR 100IU/ML 10ML VIAL"));
    EXPECT_EQ(cell(1, DetailsCol::UOM), QStringLiteral("VIAL"));
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("240"));
    EXPECT_EQ(cell(1, DetailsCol::UnitCost), QStringLiteral("520"));
    EXPECT_EQ(cell(1, DetailsCol::TotalCost), QStringLiteral("124800"));
    EXPECT_EQ(cell(1, DetailsCol::Retail), QStringLiteral("Y"));
    EXPECT_EQ(cell(1, DetailsCol::isADS), QStringLiteral("N"));
    EXPECT_EQ(cell(1, DetailsCol::OnHand), QStringLiteral("8"));
    EXPECT_EQ(cell(2, DetailsCol::TotalCost), QStringLiteral("1740")); // 240 x 7.25
    EXPECT_EQ(lines().Row(), 3);
    EXPECT_EQ(child<QLineEdit>("txtTotalCounter")->text(), QStringLiteral("126,540.0000"));
    EXPECT_FALSE(child<ui::DataCombo>("cboLocation")->isEnabled());
    EXPECT_TRUE(prompt.texts().isEmpty()) << prompt.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(AddLinesTest, PreviousItemsAlreadyOnTheRequestAreSkipped)
{
    newRequest(false);
    addFromPrevious(3); // 1003: 1019, 1021, 1024, 1027, 1037
    QStringList first = codes();
    first.sort();
    EXPECT_EQ(first, (QStringList {"", "1019", "1021", "1024", "1027", "1037"}));

    addFromPrevious(2); // 1001: 1019 and 1024 are on the request already, 1025 is not
    const QStringList all = codes();
    EXPECT_EQ(all.size(), 7);
    EXPECT_EQ(all.count(QStringLiteral("1019")), 1);
    EXPECT_EQ(all.count(QStringLiteral("1024")), 1);
    EXPECT_EQ(all.at(5), QStringLiteral("1025"));
    EXPECT_EQ(all.last(), QString());
    EXPECT_EQ(cell(6, DetailsCol::Quantity), QStringLiteral("20"));
    EXPECT_EQ(cell(6, DetailsCol::TotalCost), QStringLiteral("240")); // 20 x 12
    EXPECT_EQ(cell(6, DetailsCol::Retail), QStringLiteral("N"));
    EXPECT_EQ(cell(6, DetailsCol::isADS), QStringLiteral("N"));
}

// Nothing chosen adds nothing: the picker closed, confirmed without a tick, or (switch 92 off)
// no picker at all.
TEST_F(AddLinesTest, NothingChosenAddsNothing)
{
    newRequest(true);
    child<QPushButton>("cmdAdd")->click(); // closed at once
    modal.expect([](QDialog &dialog) { dynamic_cast<frmAPPItems &>(dialog).cmdOK->click(); });
    child<QPushButton>("cmdAdd")->click();
    modal.expect(
        [](QDialog &dialog) { dynamic_cast<frmPreviousTransactions &>(dialog).cmdOK->click(); });
    child<QPushButton>("cmdAddFromPrevious")->click();
    EXPECT_EQ(modal.shown(),
              (QStringList {"frmAPPItems", "frmAPPItems", "frmPreviousTransactions"}));
    EXPECT_EQ(lines().Rows(), 2);
    EXPECT_EQ(cell(1, DetailsCol::Code), QString());
    EXPECT_TRUE(child<ui::DataCombo>("cboLocation")->isEnabled());

    setSwitch(QStringLiteral("92"), false);
    form->cmdAdd_Click();
    EXPECT_EQ(modal.shown().size(), 3);
    EXPECT_EQ(lines().Rows(), 2);
}

} // namespace
