// The document type dialogs and the kit entry.
#include "session/LoggedInTest.h"

#include "pickers/frmConsolidationType.h"
#include "pickers/frmKitEntry.h"
#include "pickers/frmRequestType.h"
#include "platform/ui/FlexGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using testing_support::LoggedInTest;
using testing_support::TestEnvironment;

namespace {

enum class Choice { First, Second, CloseButton, WindowClose, Escape };

void choose(QDialog &dialog, QPushButton *(&buttons)[2], QPushButton *cmdX, Choice choice)
{
    switch (choice) {
    case Choice::First:
        buttons[0]->click();
        break;
    case Choice::Second:
        buttons[1]->click();
        break;
    case Choice::CloseButton:
        cmdX->click();
        break;
    case Choice::WindowClose:
        dialog.close();
        break;
    case Choice::Escape:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    }
}

struct TypeCase
{
    const char *name;
    Choice choice;
    bool kind; // IsRequest / IsConsolidation after the choice
    bool cancelled;
};

class RequestTypeTest : public TestEnvironment, public ::testing::WithParamInterface<TypeCase>
{
};

TEST_P(RequestTypeTest, AnswersThroughItsFields)
{
    frmRequestType form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Request Type"));
    EXPECT_EQ(form.cmdInvRequest[0]->objectName(), QStringLiteral("cmdInvRequest_0"));
    EXPECT_EQ(form.cmdInvRequest[0]->text(), QStringLiteral("Request"));
    EXPECT_EQ(form.cmdInvRequest[1]->text(), QStringLiteral("Return"));
    EXPECT_NE(form.findChild<QLabel *>()->text().indexOf(QStringLiteral("Select Request Type:")),
              -1);
    // The kind field keeps its value when the dialog is closed.
    form.IsRequest = true;
    modal.expect([&](QDialog &d) { choose(d, form.cmdInvRequest, form.cmdX, GetParam().choice); });
    ui::showModal(form);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.IsRequest, GetParam().kind);
    EXPECT_EQ(form.Cancelled, GetParam().cancelled);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, RequestTypeTest,
    ::testing::Values(TypeCase {"Request", Choice::First, true, false},
                      TypeCase {"Return", Choice::Second, false, false},
                      TypeCase {"CloseButton", Choice::CloseButton, true, true},
                      TypeCase {"WindowClose", Choice::WindowClose, true, true},
                      TypeCase {"Escape", Choice::Escape, true, true}),
    [](const auto &info) { return std::string(info.param.name); });

class ConsolidationTypeTest : public TestEnvironment, public ::testing::WithParamInterface<TypeCase>
{
protected:
    void SetUp() override
    {
        TestEnvironment::SetUp();
        resetSession();
        Session.ConsolidateIR = true;
    }
    void TearDown() override
    {
        resetSession();
        TestEnvironment::TearDown();
    }
};

TEST_P(ConsolidationTypeTest, AnswersThroughItsFields)
{
    frmConsolidationType form;
    EXPECT_EQ(form.cmdInvRequest[0]->text(), QStringLiteral("Inventory Request"));
    EXPECT_EQ(form.cmdInvRequest[1]->text(), QStringLiteral("Consolidation Request"));
    EXPECT_TRUE(form.cmdInvRequest[1]->isEnabled());
    form.IsConsolidation = true;
    modal.expect([&](QDialog &d) { choose(d, form.cmdInvRequest, form.cmdX, GetParam().choice); });
    ui::showModal(form);
    EXPECT_EQ(form.IsConsolidation, !GetParam().kind || GetParam().cancelled);
    EXPECT_EQ(form.Cancelled, GetParam().cancelled);
}

// kind here: the first button was the answer (an inventory request).
INSTANTIATE_TEST_SUITE_P(
    Choices, ConsolidationTypeTest,
    ::testing::Values(TypeCase {"Inventory", Choice::First, true, false},
                      TypeCase {"Consolidation", Choice::Second, false, false},
                      TypeCase {"CloseButton", Choice::CloseButton, true, true},
                      TypeCase {"WindowClose", Choice::WindowClose, true, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TestEnvironment, ConsolidationNeedsTheRight)
{
    resetSession();
    frmConsolidationType form;
    EXPECT_FALSE(form.cmdInvRequest[1]->isEnabled());
    EXPECT_TRUE(form.cmdInvRequest[0]->isEnabled());
}

class KitEntryTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        sql(QStringLiteral("DELETE INVENTORY..tbInvKit"));
        for (const char *row : {"'KIT01', 'SUTURE KIT', 1", "'CMP01', 'NEEDLE', 10",
                                "'CMP02', 'ALCOHOL SWAB', 2", "'KIT02', 'EMPTY KIT', 1"})
            sql(QStringLiteral("INSERT INTO INVENTORY..tbInvMaster (ItemID, ItemName, ListCost) "
                               "VALUES (%1)")
                    .arg(QLatin1String(row)));
        sql(QStringLiteral("INSERT INTO INVENTORY..tbInvKit (KitItemID, ItemID, Qty) VALUES "
                           "('KIT01', 'CMP01', 2)"));
        sql(QStringLiteral("INSERT INTO INVENTORY..tbInvKit (KitItemID, ItemID, Qty) VALUES "
                           "('KIT01', 'CMP02', 4)"));
        statements.clear();
    }

    // Shows the kit dialog for a kit code and lets the test act on it.
    void show(frmKitEntry &form, const QString &kit, const std::function<void(frmKitEntry &)> &act)
    {
        form.ItemID = kit;
        modal.expect([&form, act](QDialog &) { act(form); });
        ui::showModal(form);
    }
};

TEST_F(KitEntryTest, ShowsTheComponentsAndPicksOne)
{
    frmKitEntry form;
    show(form, QStringLiteral("KIT01"), [](frmKitEntry &f) {
        ui::FlexGrid &grid = *f.flexMSHDetails;
        EXPECT_TRUE(grid.isEnabled());
        EXPECT_EQ(grid.Rows(), 3);
        EXPECT_EQ(grid.Cols(), 7);
        EXPECT_EQ(grid.FixedRows(), 1);
        EXPECT_EQ(grid.FixedCols(), 0);
        EXPECT_EQ(grid.TextMatrix(0, 0).trimmed(), QStringLiteral("Code"));
        EXPECT_EQ(grid.TextMatrix(0, 1).trimmed(), QStringLiteral("Product Name"));
        EXPECT_EQ(grid.TextMatrix(0, 5).trimmed(), QStringLiteral("For Retail"));
        EXPECT_EQ(grid.ColWidth(5), 1000);
        EXPECT_EQ(grid.ColWidth(6), 1000);
        EXPECT_EQ(grid.ColWidth(2), grid.ColWidth(0));
        EXPECT_EQ(grid.ColWidth(4), grid.ColWidth(0));
        EXPECT_EQ(grid.ColWidth(0), ui::pixelsToTwips(grid.width()) / 7);
        // Ordered by name: the swab first.
        EXPECT_EQ(grid.TextMatrix(1, 0), QStringLiteral("CMP02"));
        EXPECT_EQ(grid.TextMatrix(2, 0), QStringLiteral("CMP01"));
        grid.setRow(2);
        f.cmdSelect->click();
    });
    EXPECT_EQ(statements.value(0), QStringLiteral("Inventory..sp_Inv_KitofItems 'KIT01'"));
    EXPECT_EQ(form.ItemID, QStringLiteral("CMP01"));
    EXPECT_FALSE(form.AllItems);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(KitEntryTest, AllItemsThenCloseKeepsTheKitCode)
{
    frmKitEntry form;
    show(form, QStringLiteral("KIT01"), [](frmKitEntry &f) {
        f.chkAddAllItems->click();
        EXPECT_TRUE(f.AllItems);
        f.cmdClose->click();
    });
    EXPECT_TRUE(form.AllItems);
    EXPECT_EQ(form.ItemID, QStringLiteral("KIT01"));
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(KitEntryTest, KitWithoutComponentsShowsADisabledEmptyGrid)
{
    frmKitEntry form;
    show(form, QStringLiteral("KIT02"), [](frmKitEntry &f) {
        EXPECT_FALSE(f.flexMSHDetails->isEnabled());
        EXPECT_EQ(f.flexMSHDetails->Rows(), 1);
        EXPECT_EQ(f.flexMSHDetails->TextMatrix(0, 2).trimmed(), QStringLiteral("Qty."));
        f.cmdSelect->click();
    });
    EXPECT_EQ(form.ItemID, QStringLiteral("KIT02"));
}

} // namespace
