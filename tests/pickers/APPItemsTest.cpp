// The annual plan items picker against the demo plan of the Medical Ward (18) at the Central
// Warehouse (21).
#include "session/LoggedInTest.h"

#include "pickers/frmAPPItems.h"
#include "platform/ui/FlexGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testing_support::LoggedInTest;

namespace {

const QColor kMatch(255, 192, 192);

class APPItemsTest : public LoggedInTest
{
protected:
    // Shows the picker for the two locations; the action runs while it is open.
    void pick(const QString &supplying, const QString &requesting,
              const std::function<void(frmAPPItems &)> &action)
    {
        form.SupplyingLocationID = supplying;
        form.RequestingLocationID = requesting;
        modal.expect([&](QDialog &) { action(form); });
        ui::showModal(form);
    }

    int rowOf(const QString &code) const
    {
        for (int row = 1; row < form.flexMSHList->Rows(); ++row)
            if (form.flexMSHList->TextMatrix(row, 1) == code)
                return row;
        return -1;
    }

    void clickRow(int row)
    {
        ui::FlexGrid &grid = *form.flexMSHList;
        grid.setTopRow(row);
        const QRect cell = grid.cellGeometry(row, 2);
        ASSERT_FALSE(cell.isEmpty());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          cell.center() - grid.viewport()->geometry().topLeft());
    }

    frmAPPItems form;
};

QString planCall(const QString &category, const QString &listType)
{
    return QStringLiteral("inventory..sp_InvReq_LoadRequestList '21', '18',  '%', '") + category
        + QStringLiteral("',  '") + listType + QStringLiteral("' ");
}

// The category the list is asked for, whatever the combo shows.
struct CategoryCase
{
    const char *name;
    bool allCategories;
    int comboIndex; // 0 "None", 2 the second category (C02)
    const char *sent;
};

class CategoryTest : public APPItemsTest, public ::testing::WithParamInterface<CategoryCase>
{
};

TEST_P(CategoryTest, ListAskedForTheChosenCategory)
{
    const CategoryCase &c = GetParam();
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmAPPItems &f) {
        EXPECT_EQ(f.cboCategory->itemText(0), QStringLiteral("None"));
        EXPECT_EQ(f.cboCategory->count(), 5);
        f.chkAllCategory->setChecked(c.allCategories);
        f.cboCategory->setCurrentIndex(c.comboIndex);
        statements.clear();
        f.optList[1]->click(); // a change of list type fills the list again
    });
    EXPECT_EQ(statements,
              QStringList {planCall(QString::fromLatin1(c.sent), QStringLiteral("True"))});
}

INSTANTIATE_TEST_SUITE_P(Categories, CategoryTest,
                         ::testing::Values(CategoryCase {"AllWhateverTheCombo", true, 2, "%"},
                                           CategoryCase {"Chosen", false, 2, "C02"},
                                           CategoryCase {"NoneChosen", false, 0, "None"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(APPItemsTest, LoadsThePlanWithEveryRowUnticked)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmAPPItems &f) {
        EXPECT_FALSE(f.chkAll->isVisible()); // the caller did not ask for it
        EXPECT_TRUE(f.flexMSHList->isEnabled());
        EXPECT_TRUE(f.cmdOK->isEnabled());
        EXPECT_EQ(f.flexMSHList->Rows(), 37);
        EXPECT_EQ(f.flexMSHList->TextMatrix(0, 7), QStringLiteral("Qty"));
        EXPECT_EQ(f.flexMSHList->TextMatrix(1, 1), QStringLiteral("1027"));
        EXPECT_EQ(f.flexMSHList->TextMatrix(1, 0), QString());
    });
    EXPECT_EQ(statements.first(),
              QStringLiteral("Select  Category + space(100) + CategoryID [Category] FROM "
                             "inventory..tbInvCategory Where Active = 1  and "
                             "rtrim(isnull(categoryid,'')) <> '' Order by CategoryID"));
    EXPECT_EQ(statements.last(), planCall(QStringLiteral("%"), QStringLiteral("False")));
}

// Searching marks the first matching row: a number only an exact code, a text anywhere in the
// code or name, in any case.
struct SearchCase
{
    const char *name;
    const char *typed;
    const char *marked; // the marked row's code, "" when nothing is marked
};

class SearchTest : public APPItemsTest, public ::testing::WithParamInterface<SearchCase>
{
};

TEST_P(SearchTest, MarksTheFirstMatch)
{
    const SearchCase &c = GetParam();
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmAPPItems &f) {
        ui::FlexGrid &grid = *f.flexMSHList;
        f.txtSearch->setText(QStringLiteral("cotton")); // an earlier mark, to be cleared
        const int earlier = rowOf(QStringLiteral("1026"));
        ASSERT_EQ(grid.CellBackColor(earlier, 3), kMatch);

        f.txtSearch->setText(QString::fromLatin1(c.typed));
        int marked = -1;
        for (int row = 1; row < grid.Rows(); ++row)
            if (grid.CellBackColor(row, 3) == kMatch)
                marked = marked == -1 ? row : -2;
        if (*c.marked == '\0') {
            EXPECT_EQ(marked, earlier); // no match changes nothing
            return;
        }
        ASSERT_GT(marked, 0) << "exactly one row marked";
        EXPECT_EQ(grid.TextMatrix(marked, 1), QString::fromLatin1(c.marked));
        EXPECT_EQ(grid.Row(), marked);
        EXPECT_EQ(grid.CellBackColor(earlier, 3), grid.palette().color(QPalette::Base));
    });
}

INSTANTIATE_TEST_SUITE_P(Texts, SearchTest,
                         ::testing::Values(SearchCase {"NumberIsAnExactCode", "1024", "1024"},
                                           SearchCase {"NumberNeverInName", "500", ""},
                                           SearchCase {"TextInNameAnyCase", "para", "1016"},
                                           SearchCase {"TextInCodeAnyCase", " p1024 ", "P1024"},
                                           SearchCase {"NoMatch", "zzz", ""}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(APPItemsTest, TypedSearchIsUpperCased)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmAPPItems &f) {
        f.txtSearch->setFocus();
        QTest::keyClicks(f.txtSearch, QStringLiteral("amlo"));
        EXPECT_EQ(f.txtSearch->text(), QStringLiteral("AMLO"));
        EXPECT_EQ(f.flexMSHList->TextMatrix(f.flexMSHList->Row(), 1), QStringLiteral("1007"));
    });
}

TEST_F(APPItemsTest, EmptyPlanDisablesTheListAndOK)
{
    pick(QStringLiteral("20"), QStringLiteral("30"), [&](frmAPPItems &f) {
        const ui::FlexGrid &grid = *f.flexMSHList;
        EXPECT_FALSE(grid.isEnabled());
        EXPECT_FALSE(f.cmdOK->isEnabled());
        EXPECT_EQ(grid.Rows(), 2);
        EXPECT_EQ(grid.Cols(), 9);
        EXPECT_EQ(grid.FixedCols(), 1);
        EXPECT_EQ(grid.TextMatrix(0, 7), QStringLiteral("On Hand"));
        f.txtSearch->setText(QStringLiteral("a")); // nothing to mark
        f.cmdCancel->click();
    });
    EXPECT_TRUE(form.ChosenItems.empty());
}

TEST_F(APPItemsTest, OKReturnsTheTickedRowsInOrder)
{
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmAPPItems &f) {
        clickRow(rowOf(QStringLiteral("1017")));
        clickRow(rowOf(QStringLiteral("1001")));
        clickRow(rowOf(QStringLiteral("1027")));
        clickRow(rowOf(QStringLiteral("1001"))); // ticked again: unticked
        EXPECT_EQ(f.flexMSHList->TextMatrix(rowOf(QStringLiteral("1017")), 0), QStringLiteral("."));
        f.cmdOK->click();
    });
    ASSERT_EQ(form.ChosenItems.size(), 2u);
    EXPECT_EQ(form.ChosenItems[0].ItemCode, QStringLiteral("1027"));
    const clstemCollection &insulin = form.ChosenItems[1];
    EXPECT_EQ(insulin.ItemCode, QStringLiteral("1017"));
    EXPECT_EQ(insulin.ItemName, QStringLiteral("INSULIN REGULAR 100IU/ML 10ML VIAL"));
    EXPECT_EQ(insulin.UOM, QStringLiteral("VIAL"));
    EXPECT_EQ(insulin.Supplier, QStringLiteral("Riverside Medical Trading"));
    EXPECT_EQ(insulin.Classification, QStringLiteral("Medicines"));
    EXPECT_EQ(insulin.ListCost, QStringLiteral("520"));
    EXPECT_EQ(insulin.Quantity, QStringLiteral("240"));
    EXPECT_EQ(insulin.OnHand, QStringLiteral("8"));
    EXPECT_EQ(insulin.Retail, QStringLiteral("Y"));
}

// Confirming without a tick, or closing after ticking, hands back nothing.
TEST_F(APPItemsTest, NothingTickedOrClosedReturnsNothing)
{
    form.ShowSelectAll = true;
    pick(QStringLiteral("21"), QStringLiteral("18"), [&](frmAPPItems &f) {
        EXPECT_TRUE(f.chkAll->isVisible());
        f.chkAll->click();
        f.chkAll->click(); // every row unticked again
        QTest::keyClick(f.flexMSHList, Qt::Key_Return); // Enter confirms
    });
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(form.ChosenItems.empty());

    frmAPPItems second;
    second.ShowSelectAll = true;
    second.SupplyingLocationID = QStringLiteral("21");
    second.RequestingLocationID = QStringLiteral("18");
    modal.expect([&](QDialog &) {
        second.chkAll->click();
        QTest::keyClick(second.flexMSHList, Qt::Key_Escape);
    });
    ui::showModal(second);
    EXPECT_EQ(second.result(), QDialog::Rejected);
    EXPECT_TRUE(second.ChosenItems.empty());
}

} // namespace
