#include "request/MainFormTest.h"

#include "platform/ui/BlinkButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using testing_support::MainFormTest;

namespace {

struct ListingCase
{
    const char *name;
    const char *site;
    bool requestOrders; // "Request Order" chosen (site Q4VH)
    int option;
    bool tickVerified;
    const char *search; // typed, then Enter
    QStringList expected; // document numbers, top to bottom
    bool expectVerifiedTicked;
};

std::ostream &operator<<(std::ostream &out, const ListingCase &c)
{
    return out << c.name;
}

const QStringList kPendingUnverified
    = {QStringLiteral("MR-0415"), QStringLiteral("1001"), QStringLiteral("1008"),
       QStringLiteral("1010"), QStringLiteral("1011")};

const ListingCase kListings[] = {
    {"Pending", "GEN", false, 0, false, nullptr, kPendingUnverified, false},
    {"PendingVerified",
     "GEN",
     false,
     0,
     true,
     nullptr,
     {QStringLiteral("1002"), QStringLiteral("1012")},
     true},
    {"Processing", "GEN", false, 1, false, nullptr, {QStringLiteral("1003")}, true},
    {"Approved", "GEN", false, 2, false, nullptr, {QStringLiteral("1004")}, true},
    {"Cancelled", "GEN", false, 3, false, nullptr, {QStringLiteral("1005")}, true},
    {"ConsolidationWindow",
     "ZRWB",
     false,
     4,
     false,
     nullptr,
     {QStringLiteral("900"), QStringLiteral("902")},
     false},
    {"SearchExact", "GEN", false, 0, false, "1001", {QStringLiteral("1001")}, false},
    {"SearchPattern",
     "GEN",
     false,
     0,
     false,
     "10%",
     {QStringLiteral("1001"), QStringLiteral("1008"), QStringLiteral("1010"),
      QStringLiteral("1011")},
     false},
    {"SearchBlanksOnly", "GEN", false, 0, false, "   ", {}, false},
    {"SearchNotFound", "GEN", false, 0, false, "1002", {}, false},
    {"NewestFirstAtMKWV",
     "MKWV",
     false,
     0,
     false,
     nullptr,
     {QStringLiteral("1011"), QStringLiteral("1010"), QStringLiteral("1008"),
      QStringLiteral("1001"), QStringLiteral("MR-0415")},
     false},
    {"RequestOrdersPending", "Q4VH", true, 7, false, nullptr, {QStringLiteral("RO-2026-1")}, false},
    {"RequestOrdersProcessed",
     "Q4VH",
     true,
     6,
     false,
     nullptr,
     {QStringLiteral("RO-2026-2")},
     true},
    {"RequestOrdersIgnoreTheSearch",
     "Q4VH",
     true,
     7,
     false,
     "NOTHING",
     {QStringLiteral("RO-2026-1")},
     false},
};

class ListingFilters : public MainFormTest, public ::testing::WithParamInterface<ListingCase>
{
};

TEST_P(ListingFilters, ListTheDocumentsOfTheUsersLocations)
{
    const ListingCase &c = GetParam();
    setSite(QString::fromLatin1(c.site));
    open();
    if (c.requestOrders)
        child<QRadioButton>("optRequestOrder_1")->setChecked(true);
    const std::string option = "optOptions_" + std::to_string(c.option);
    child<QRadioButton>(option.c_str())->setChecked(true);
    if (c.tickVerified)
        QTest::mouseClick(child<QCheckBox>("chkverified"), Qt::LeftButton);
    if (c.search) {
        auto *search = child<QLineEdit>("txtSearch");
        search->setText(QString::fromLatin1(c.search));
        search->setFocus();
        QTest::keyClick(search, Qt::Key_Return);
    }
    EXPECT_EQ(listedNumbers(), c.expected);
    EXPECT_EQ(listing().isEnabled(), !c.expected.isEmpty());
    EXPECT_EQ(child<QCheckBox>("chkverified")->isChecked(), c.expectVerifiedTicked);
    if (!c.expected.isEmpty()) {
        EXPECT_EQ(listing().Row(), 1);
        EXPECT_EQ(listing().ColWidth(6), 0);
        EXPECT_EQ(listing().ColWidth(7), 0);
        EXPECT_EQ(listing().TextMatrix(0, 1), QStringLiteral("Doc #"));
        EXPECT_EQ(listing().TextMatrix(0, 5), QStringLiteral("Requested By"));
    }
}

INSTANTIATE_TEST_SUITE_P(Filters, ListingFilters, ::testing::ValuesIn(kListings),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainFormTest, ListingRowsCarryNamesAndKeys)
{
    open();
    selectListed(QStringLiteral("1001"));
    const int row = listing().Row();
    EXPECT_EQ(listing().TextMatrix(row, 2), QStringLiteral("Medical Ward"));
    EXPECT_EQ(listing().TextMatrix(row, 3), QStringLiteral("Central Warehouse"));
    EXPECT_EQ(listing().TextMatrix(row, 5), QStringLiteral("Reyes, Ana"));
    EXPECT_EQ(listing().TextMatrix(row, 6), QStringLiteral("18"));
    EXPECT_EQ(listing().TextMatrix(row, 7), QStringLiteral("DEMO"));
}

TEST_F(MainFormTest, PendingListingStatement)
{
    open();
    const QString expected = QStringLiteral(
        "Select distinct A.DocumentNumber , B.Location , C.Location ,A.TransDate , (Select Top 1 "
        "LastName + ', ' + FirstName From Password..tbPasswordMain Where EmployeeID = A.UserID) "
        ",A.targetlocationid,A.Userid  from INVENTORY..tbinvwithdrawrequest A  Left Outer Join "
        "INVENTORY..tbinvlocation B On A.TargetLocationID = B.LocationID Left Outer Join "
        "INVENTORY..tbinvLocation C On A.LocationId = C.LocationID where a.TargetLocationID in "
        "(select locationid from INVENTORY..tbinvUserLocation where UserID = 'DEMO')    and "
        "isnull(A.Status,'') = ''  and isnull(verifiedby,'') = ''   and a.documentnumber like "
        "'%' Order By Transdate ");
    EXPECT_EQ(sentLike(QStringLiteral("tbinvwithdrawrequest A")), QStringList {expected});
}

TEST_F(MainFormTest, ASearchTextWithAQuoteFindsNothingAndBreaksNothing)
{
    open();
    auto *search = child<QLineEdit>("txtSearch");
    search->setText(QStringLiteral("10' OR ''='"));
    form->LoadListing();
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_TRUE(listedNumbers().isEmpty());
}

TEST_F(MainFormTest, StatusOptionsSetTheVerifiedBox)
{
    open();
    auto *verified = child<QCheckBox>("chkverified");
    child<QRadioButton>("optOptions_1")->setChecked(true);
    EXPECT_FALSE(verified->isEnabled());
    EXPECT_TRUE(verified->isChecked());
    child<QRadioButton>("optOptions_0")->setChecked(true);
    EXPECT_TRUE(verified->isEnabled());
    EXPECT_TRUE(verified->isChecked()); // stays ticked: the user unticks it
    QTest::mouseClick(verified, Qt::LeftButton);
    EXPECT_EQ(listedNumbers(), kPendingUnverified);
}

TEST_F(MainFormTest, RequestOrderChoiceSwitchesTheStatusFrames)
{
    setSite(QStringLiteral("Q4VH"));
    open();
    child<QRadioButton>("optRequestOrder_1")->setChecked(true);
    EXPECT_EQ(child<QLabel>("lblType")->text(), QStringLiteral("Request Orders"));
    EXPECT_TRUE(shown("frameROStatus"));
    EXPECT_FALSE(shown("fPending"));
    child<QRadioButton>("optRequestOrder_0")->setChecked(true);
    EXPECT_EQ(child<QLabel>("lblType")->text(), QStringLiteral("Stock Transfers"));
    EXPECT_FALSE(shown("frameROStatus"));
    EXPECT_TRUE(shown("fPending"));
    EXPECT_EQ(listedNumbers(), kPendingUnverified);
}

TEST_F(MainFormTest, ReturnsAreMarkedPinkWithLotNumbers)
{
    setSwitch(QStringLiteral("91"), true);
    open();
    ASSERT_EQ(listedNumbers(), kPendingUnverified);
    EXPECT_EQ(listing().ColWidth(8), 0);
    const QColor pink(0xFF, 0xC0, 0xFF);
    for (int row = 1; row < listing().Rows(); ++row) {
        const bool isReturn = listing().TextMatrix(row, 1) == QStringLiteral("1011");
        EXPECT_EQ(listing().CellBackColor(row, 0) == pink, isReturn)
            << listing().TextMatrix(row, 1).toStdString();
    }
}

TEST_F(MainFormTest, VerifiedDocumentsAreNotOpenedFromTheListing)
{
    open();
    QTest::mouseClick(child<QCheckBox>("chkverified"), Qt::LeftButton);
    selectListed(QStringLiteral("1002"));
    form->grdListing_DblClick();
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_TRUE(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")).isEmpty());
}

TEST_F(MainFormTest, DoubleClickOpensTheListedDocument)
{
    open();
    selectListed(QStringLiteral("1008"));
    form->grdListing_DblClick();
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 1);
    EXPECT_EQ(child<QLineEdit>("txtDocNum")->text(), QStringLiteral("1008"));
    EXPECT_FALSE(form->document().isConsolidation());
    // One load, although selecting the tab also asks for the document.
    EXPECT_EQ(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")).size(), 1);
}

TEST_F(MainFormTest, AcknowledgementNoticeAppearsBlinksAndGoes)
{
    setSwitch(QStringLiteral("93"), true);
    frmMain &f = open();
    auto *button = child<ui::BlinkButton>("cmdAcknowledge");
    auto *blink = f.findChild<QTimer *>(QStringLiteral("tmrBlinkAcknowledge"));
    EXPECT_TRUE(f.findChild<QTimer *>(QStringLiteral("tmrAcknowledge"))->isActive());
    EXPECT_TRUE(shown("cmdAcknowledge"));
    EXPECT_TRUE(blink->isActive());
    EXPECT_TRUE(shown("txtBlockedQty"));

    const QColor green(0x80, 0xFF, 0x80);
    const QColor white(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(button->BackColor(), green);
    f.tmrBlinkAcknowledge_Timer();
    EXPECT_EQ(button->BackColor(), white);
    f.tmrBlinkAcknowledge_Timer();
    EXPECT_EQ(button->BackColor(), green);
    QTest::qWait(350); // the blink timer itself runs
    EXPECT_TRUE(button->BackColor() == green || button->BackColor() == white);

    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawHeader SET Status = 'P' WHERE Status = "
                       "'F' AND TargetLocationID IN ('18', '23')"));
    f.tmrAcknowledge_Timer();
    EXPECT_FALSE(shown("cmdAcknowledge"));
    EXPECT_FALSE(blink->isActive());
    EXPECT_EQ(sentLike(QStringLiteral("tbinvwithdrawheader")).last(),
              QStringLiteral(" select top 1 * from inventory..tbinvwithdrawheader a  where "
                             "a.status = 'F' and  a.targetlocationid in (select Locationid from "
                             "inventory..tbinvuserlocation  where userid = 'DEMO')"));
}

TEST_F(MainFormTest, NoAcknowledgementNoticeWithoutItsSwitch)
{
    setSwitch(QStringLiteral("93"), false);
    frmMain &f = open();
    EXPECT_FALSE(f.findChild<QTimer *>(QStringLiteral("tmrAcknowledge"))->isActive());
    EXPECT_FALSE(shown("cmdAcknowledge"));
    EXPECT_TRUE(sentLike(QStringLiteral("tbinvwithdrawheader")).isEmpty());
}

} // namespace
