#include "request/MainFormTest.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

using testing_support::MainFormTest;

namespace {

struct SiteLayout
{
    const char *site;
    const char *title;
    bool zrwbHeader; // department, section, officer and requester fields; consolidation option
    bool twoStatusOptions; // "Approved" and "Cancelled" hidden, "Processed" for option 1
    const char *option2; // caption of optOptions(2)
    bool requestOrders; // the request-order choice and the PPMP field
    bool printShort; // "Print Short" and the "Print" caption
    bool retailConsumption; // "For :" with "Retail" and "Consumption"
    bool minMax;
    bool targetLockedForGood; // ClearAll leaves the requesting combo disabled
};

std::ostream &operator<<(std::ostream &out, const SiteLayout &layout)
{
    return out << '"' << layout.site << '"';
}

const char *const kInventoryTitle = "Visual Halvex - Inventory Request";

const SiteLayout kSites[] = {
    {"GEN", kInventoryTitle, false, false, "Approved", false, false, false, false, false},
    {"", kInventoryTitle, false, true, "Approved", false, false, false, false, false},
    {"ZRWB", kInventoryTitle, true, true, "Approved", false, false, false, false, false},
    {"zrwb", kInventoryTitle, false, false, "Approved", false, false, false, false, false},
    {"Q4VH", kInventoryTitle, false, false, "Approved", true, false, false, false, false},
    {"DVN", kInventoryTitle, false, false, "Approved", false, true, true, false, false},
    {"UVTKQO", "Visual Halvex - Stock Request", false, false, "Approved", false, false, false,
     false, false},
    {"XQ", kInventoryTitle, false, false, "Approved", false, false, false, true, false},
    {"TKRL", kInventoryTitle, false, false, "Issued", false, false, false, false, false},
    {"YXOPL", kInventoryTitle, false, false, "Approved", false, false, false, false, true},
};

class FormLoadBySite : public MainFormTest, public ::testing::WithParamInterface<SiteLayout>
{
};

TEST_P(FormLoadBySite, ShowsTheSiteLayout)
{
    const SiteLayout &expected = GetParam();
    setSite(QString::fromLatin1(expected.site));
    // The demo turns the acknowledgement notice on; the layouts are those with every switch off.
    setSwitch(QStringLiteral("93"), false);
    frmMain &f = open();

    EXPECT_EQ(f.windowTitle(), QString::fromLatin1(expected.title));
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(child<QTabWidget>("SSTab1")->tabText(0), QStringLiteral("List"));
    EXPECT_EQ(child<QTabWidget>("SSTab1")->tabText(1), QStringLiteral("Details"));
    EXPECT_FALSE(child<QWidget>("cboLocation")->isEnabled());
    EXPECT_FALSE(child<QWidget>("cboTargetLocation")->isEnabled());

    // The header.
    for (const char *name : {"lblDept", "lblSect", "lblApprove", "cboDepartment", "cboSection",
                             "txtOfficer", "cmdOfficer", "lblOfficer", "lblReq", "txtReqID",
                             "lblReqName", "cmdReq", "cmdAddFromPrevious", "optOptions_4"})
        EXPECT_EQ(shown(name), expected.zrwbHeader) << name;
    EXPECT_EQ(child<QMenu>("mnuReports")->menuAction()->isVisible(), !expected.zrwbHeader);
    if (expected.zrwbHeader) {
        EXPECT_EQ(child<QLabel>("Label1_3")->text(), QStringLiteral("Location From"));
        EXPECT_EQ(child<QLabel>("Label2")->text(), QStringLiteral("Location you're from"));
        EXPECT_EQ(child<QLabel>("Label3")->text(),
                  QStringLiteral("(Location you're requesting to)"));
        EXPECT_EQ(child<QLabel>("Label1_2")->text(), QStringLiteral("PURPOSE:"));
    } else {
        EXPECT_EQ(child<QLabel>("Label1_3")->text(), QStringLiteral("Department From"));
        EXPECT_EQ(child<QLabel>("Label2")->text(), QStringLiteral("(Department you're from)"));
        EXPECT_EQ(child<QLabel>("Label1_2")->text(), QStringLiteral("JUSTIFICATION OF REQUEST:"));
        EXPECT_EQ(child<QFrame>("Frame6")->height(), 1380 / 15);
        EXPECT_EQ(child<QLabel>("Label1_2")->pos(), QPoint(5175 / 15, 330 / 15));
        const QRect remarks = child<QPlainTextEdit>("txtRemarks")->geometry();
        EXPECT_EQ(remarks.topLeft(), QPoint(5175 / 15, 555 / 15));
        EXPECT_EQ(remarks.width(), 5205 / 15);
    }

    // The listing's status options.
    EXPECT_EQ(shown("optOptions_2"), !expected.twoStatusOptions);
    EXPECT_EQ(shown("optOptions_3"), !expected.twoStatusOptions);
    EXPECT_EQ(child<QRadioButton>("optOptions_1")->text(),
              expected.twoStatusOptions ? QStringLiteral("Processed")
                                        : QStringLiteral("Processing"));
    EXPECT_EQ(child<QRadioButton>("optOptions_2")->text(), QString::fromLatin1(expected.option2));

    for (const char *name :
         {"Label1_0", "txtPPMP", "frameSTRO", "lblType", "optRequestOrder_0", "optRequestOrder_1"})
        EXPECT_EQ(shown(name), expected.requestOrders) << name;
    EXPECT_FALSE(shown("frameROStatus"));
    EXPECT_TRUE(shown("fPending"));
    EXPECT_FALSE(shown("frameRO"));

    EXPECT_EQ(shown("chkPrint"), expected.printShort);
    EXPECT_EQ(child<QPushButton>("cmdView")->text(),
              expected.printShort ? QStringLiteral("Print") : QStringLiteral("&View"));
    EXPECT_EQ(child<QLabel>("Label1_13")->text(),
              expected.retailConsumption ? QStringLiteral("For :") : QStringLiteral("For Retail?"));
    EXPECT_EQ(child<QRadioButton>("optConsumed_0")->text(),
              expected.retailConsumption ? QStringLiteral("Retail") : QStringLiteral("Yes"));
    EXPECT_EQ(child<QRadioButton>("optConsumed_1")->text(),
              expected.retailConsumption ? QStringLiteral("Consumption") : QStringLiteral("No"));
    if (expected.retailConsumption) {
        EXPECT_EQ(child<QWidget>("optConsumed_0")->x(), 2970 / 15);
        EXPECT_EQ(child<QWidget>("optConsumed_1")->x(), 3840 / 15);
    }
    for (const char *name : {"lblMin", "lblMax", "txtMin", "txtMax"})
        EXPECT_EQ(shown(name), expected.minMax) << name;

    // DEMO may verify; the server is named after the design caption.
    EXPECT_TRUE(shown("cmdVerify"));
    EXPECT_TRUE(f.flags().CanVerify);
    EXPECT_EQ(child<QLabel>("lblServer")->text(),
              QStringLiteral("Server:  ") + currentUser->ServerName());

    // Switches all off.
    EXPECT_FALSE(shown("frameLegend"));
    EXPECT_FALSE(shown("txtBlockedQty"));
    EXPECT_FALSE(shown("cmdAcknowledge"));
    EXPECT_TRUE(shown("frameEntry"));

    // A cleared document enables the locations except where the site locks the requesting one.
    f.ClearAll();
    EXPECT_TRUE(child<QWidget>("cboLocation")->isEnabled());
    EXPECT_EQ(child<QWidget>("cboTargetLocation")->isEnabled(), !expected.targetLockedForGood);
}

INSTANTIATE_TEST_SUITE_P(Sites, FormLoadBySite, ::testing::ValuesIn(kSites));

TEST_F(MainFormTest, TimersAndMenus)
{
    setSwitch(QStringLiteral("93"), false);
    frmMain &f = open();
    const auto *refresh = f.findChild<QTimer *>(QStringLiteral("tmrRefresh"));
    const auto *acknowledge = f.findChild<QTimer *>(QStringLiteral("tmrAcknowledge"));
    const auto *blink = f.findChild<QTimer *>(QStringLiteral("tmrBlinkAcknowledge"));
    ASSERT_TRUE(refresh && acknowledge && blink);
    EXPECT_TRUE(refresh->isActive());
    EXPECT_EQ(refresh->interval(), 60000);
    EXPECT_FALSE(acknowledge->isActive());
    EXPECT_EQ(acknowledge->interval(), 60000);
    EXPECT_FALSE(blink->isActive());
    EXPECT_EQ(blink->interval(), 100);
    EXPECT_EQ(child<QMenu>("mnuReports")->title(), QStringLiteral("Reports"));
    EXPECT_EQ(f.findChild<QAction *>(QStringLiteral("mnuIssuedReports"))->text(),
              QStringLiteral("Issued Reports"));
    EXPECT_EQ(f.findChild<QRadioButton *>(QStringLiteral("optOptions_5")), nullptr);
}

TEST_F(MainFormTest, LinesTypedIntoTheGridTakeTheEntryFramesRoom)
{
    setSwitch(QStringLiteral("92"), true);
    frmMain &f = open();
    Q_UNUSED(f)
    EXPECT_FALSE(shown("frameEntry"));
    EXPECT_FALSE(shown("frameDetails"));
    EXPECT_EQ(lines().ColWidth(DetailsCol::OnHand), 800);
    EXPECT_EQ(lines().TextMatrix(0, DetailsCol::OnHand), QStringLiteral("OnHand"));
}

TEST_F(MainFormTest, LotNumbersShowTheLegend)
{
    setSwitch(QStringLiteral("91"), true);
    open();
    EXPECT_TRUE(shown("frameLegend"));
    EXPECT_EQ(lines().ColWidth(DetailsCol::LotNumber), 1000);
}

TEST_F(MainFormTest, RightsDecideTheVerifyButton)
{
    sql(QStringLiteral("UPDATE INVENTORY..tbInvUserSettings SET isVerifyInventoryRequest = 0 "
                       "WHERE UserID = 'DEMO'"));
    statements.clear();
    frmMain &f = open();
    EXPECT_FALSE(shown("cmdVerify"));
    EXPECT_FALSE(f.flags().CanVerify);
    EXPECT_EQ(sentLike(QStringLiteral("tbInvUserSettings")),
              QStringList {QStringLiteral(
                  "Select * from Inventory..tbInvUserSettings Where UserID = 'DEMO'")});
}

TEST_F(MainFormTest, ConsolidationRightIsReadAtZRWBOnly)
{
    Session.ConsolidateIR = false;
    open();
    EXPECT_FALSE(Session.ConsolidateIR);
    form.reset();
    setSite(QStringLiteral("ZRWB"));
    open();
    EXPECT_TRUE(Session.ConsolidateIR);
}

TEST_F(MainFormTest, ARefusedStatementIsReportedAndTheFormCarriesOn)
{
    sql(QStringLiteral("DROP TABLE INVENTORY..tbInvUserSettings"));
    frmMain &f = open();
    ASSERT_EQ(prompt.shown().size(), 1U);
    EXPECT_EQ(prompt.shown().front().icon, ui::Icon::Critical);
    // The form goes on after the failed step: the listing was loaded before it, and the
    // commands still work.
    EXPECT_FALSE(listedNumbers().isEmpty());
    f.LoadListing();
    EXPECT_EQ(prompt.shown().size(), 1U);
}

} // namespace
