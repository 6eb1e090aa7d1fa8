// The item lookup through the item record's search: a single match taken unseen, the list shown
// otherwise, and what the user picks or cancels.
#include "session/LoggedInTest.h"

#include "objects/clsItem.h"
#include "objects/clsItemMaster.h"
#include "pickers/frmItemLookup.h"
#include "platform/ui/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testing_support::LoggedInTest;

namespace {

class ItemLookupTest : public LoggedInTest
{
protected:
    // The codes the shown list holds.
    static QStringList listed(const frmItemLookup &form)
    {
        QStringList codes;
        if (!form.grdLookup->isEnabled())
            return codes;
        for (int row = 1; row < form.grdLookup->Rows(); ++row)
            codes << form.grdLookup->TextMatrix(row, 0);
        return codes;
    }
};

TEST_F(ItemLookupTest, SingleMatchIsTakenWithoutShowingTheList)
{
    clsItem item;
    item.setActiveConnection(database);
    item.SupplyingLocationID = QStringLiteral("119");
    item.RequestingLocationID = QStringLiteral("23");
    ASSERT_TRUE(
        item.SearchItem(QStringLiteral("1014"), QStringLiteral("Pharmacy"), QStringLiteral("119")));
    EXPECT_TRUE(modal.shown().isEmpty());
    EXPECT_EQ(item.ItemID, QStringLiteral("1014"));
    EXPECT_EQ(Session.LookupResult.toString(), QStringLiteral("1014"));
}

struct ShownCase
{
    const char *name;
    const char *typed;
    QStringList codes; // what the list shows
};

class ItemLookupListTest : public ItemLookupTest, public ::testing::WithParamInterface<ShownCase>
{
};

// Closing the list picks nothing, so the search fails.
TEST_P(ItemLookupListTest, ListsWhatTheSearchFinds)
{
    QStringList codes;
    modal.expect([&](QDialog &dialog) {
        auto &form = static_cast<frmItemLookup &>(dialog);
        codes = listed(form);
        EXPECT_EQ(form.cmdOptions[1]->isEnabled(), !codes.isEmpty());
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    clsItem item;
    EXPECT_FALSE(item.SearchItem(QLatin1String(GetParam().typed), QString(), QString()));
    EXPECT_EQ(modal.shown(), QStringList {QStringLiteral("frmItemLookup")});
    EXPECT_EQ(codes, GetParam().codes);
    EXPECT_EQ(Session.LookupResult.toString(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Searches, ItemLookupListTest,
    ::testing::Values(ShownCase {"LowerCaseNameStart", "para", {"1016", "1001"}},
                      ShownCase {"NumberIsExactCodeOnly", "100", {}},
                      ShownCase {"InactiveNeverListed", "CHLOR", {}},
                      ShownCase {"FixedAssetNeverListed", "INFUSION", {}},
                      ShownCase {"FixedAssetCodeNeverListed", "1039", {}},
                      ShownCase {"QuoteIsText", "O'NEIL", {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ItemLookupTest, EmptySearchListsEveryActiveItem)
{
    int rows = 0;
    modal.expect([&](QDialog &dialog) {
        rows = static_cast<frmItemLookup &>(dialog).grdLookup->Rows() - 1;
        dialog.reject();
    });
    // Even a single active item would not be taken unseen for an empty search.
    EXPECT_FALSE(clsItem().SearchItem(QString(), QString(), QString()));
    EXPECT_EQ(rows, 39);
}

TEST_F(ItemLookupTest, LocationSearchPicksFromTheGridWithEnter)
{
    QStringList codes;
    modal.expect([&](QDialog &dialog) {
        auto &form = static_cast<frmItemLookup &>(dialog);
        EXPECT_EQ(form.txtLocation->text(), QStringLiteral("Central Warehouse"));
        codes = listed(form);
        // Down from the search box into the grid, to the second row, Enter picks it.
        form.txtSearch->setFocus();
        QTest::keyClick(form.txtSearch, Qt::Key_Down);
        EXPECT_TRUE(form.grdLookup->hasFocus());
        QTest::keyClick(form.grdLookup, Qt::Key_Down);
        QTest::keyClick(form.grdLookup, Qt::Key_Return);
    });
    clsItem item;
    item.SupplyingLocationID = QStringLiteral("21");
    item.RequestingLocationID = QStringLiteral("18");
    ASSERT_TRUE(item.SearchItem(QStringLiteral("SYR"), QStringLiteral("Central Warehouse"),
                                QStringLiteral("21")));
    EXPECT_EQ(codes, (QStringList {QStringLiteral("1019"), QStringLiteral("1020")}));
    EXPECT_EQ(item.ItemID, QStringLiteral("1020"));
    EXPECT_DOUBLE_EQ(item.OnHand, 500); // the figures at the location searched
    EXPECT_TRUE(std::any_of(statements.begin(), statements.end(), [](const QString &s) {
        return s.contains(QStringLiteral("where locationid = '18' and itemid = a.itemid"))
            && s.contains(QStringLiteral("Where D.LocationID = '21'"));
    }));
}

TEST_F(ItemLookupTest, TypingSearchesAgainInUpperCase)
{
    frmItemLookup form;
    form.SearchString = QStringLiteral("NOTHING");
    form.load();
    EXPECT_FALSE(form.grdLookup->isEnabled());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The search box has the focus with its text selected: typing replaces it.
    QTest::keyClicks(form.txtSearch, QStringLiteral("amox"));
    EXPECT_EQ(form.txtSearch->text(), QStringLiteral("AMOX"));
    EXPECT_TRUE(form.grdLookup->isEnabled());
    EXPECT_EQ(listed(form), QStringList {QStringLiteral("1002")});
    // Enter in the search box searches and moves into the found rows; Select then picks.
    QTest::keyClick(form.txtSearch, Qt::Key_Return);
    EXPECT_TRUE(form.grdLookup->hasFocus());
    form.cmdOptions[1]->click();
    EXPECT_EQ(Session.LookupResult.toString(), QStringLiteral("1002"));
}

TEST_F(ItemLookupTest, MasterSearchTakesASingleMatch)
{
    clsItemMaster master;
    master.setActiveConnection(database);
    ASSERT_TRUE(master.SearchItem(QStringLiteral("AMOX")));
    EXPECT_TRUE(modal.shown().isEmpty());
    EXPECT_EQ(master.ItemName, QStringLiteral("AMOXICILLIN"));
}

} // namespace
