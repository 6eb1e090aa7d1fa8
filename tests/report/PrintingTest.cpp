// Printing from the main form: which template prints which document, and the failures a user
// sees. The templates are the program's own, read from the source tree.
#include "ReportTestSupport.h"

#include "session/frmReportViewer.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

using testing_support::ReportTest;

struct ListedCase
{
    const char *name;
    bool requestOrders;
    const char *number;
    const char *title;
    const char *templateName;
};

class ListedPrintTest : public ReportTest, public ::testing::WithParamInterface<ListedCase>
{
};

TEST_P(ListedPrintTest, RowPrintsItsOwnKindOnly)
{
    const ListedCase c = GetParam();
    setSite(c.requestOrders ? QStringLiteral("Q4VH") : QString());
    frmMain &form = open();
    if (c.requestOrders)
        form.controls().optRequestOrder[1]->setChecked(true);
    selectListed(QLatin1String(c.number));
    expectViewer();

    child<QPushButton>("cmdView")->click();

    ASSERT_EQ(shownReports.size(), 1u) << prompt.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(shownReports[0].title, QLatin1String(c.title));
    EXPECT_EQ(shownReports[0].templateName, QLatin1String(c.templateName));
    EXPECT_EQ(shownReports[0].values,
              (QStringList {Session.Company, Session.Address1, QLatin1String(c.number)}));
    EXPECT_TRUE(shownReports[0].text.contains(QLatin1String(c.number)));
    EXPECT_TRUE(shownReports[0].text.contains(Session.Company));
    EXPECT_EQ(Session.Report, nullptr); // closing the viewer closes the report
    EXPECT_TRUE(prompt.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Listing, ListedPrintTest,
                         ::testing::Values(ListedCase {"Request", false, "1001",
                                                       "Withdrawal Request",
                                                       "DepartmentRequest.rpt"},
                                           ListedCase {"RequestOrder", true, "RO-2026-1",
                                                       "Request Order", "RequestOrder.rpt"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReportTest, DetailsTabWithBothGridsPrintsRequestThenOrder)
{
    setSite(QStringLiteral("Q4VH"));
    frmMain &form = open();
    child<QTabWidget>("SSTab1")->setCurrentIndex(1);
    child<QLineEdit>("txtDocNum")->setText(QStringLiteral(" 1001 "));
    child<ui::FlexGrid>("grdDetails")->setTextMatrix(1, 1, QStringLiteral("SYRINGE"));
    child<QLineEdit>("txtRODocNum")->setText(QStringLiteral("RO-2026-1"));
    child<ui::FlexGrid>("fgRO")->setTextMatrix(1, 1, QStringLiteral("GLOVES"));
    expectViewer();
    expectViewer();

    form.cmdView_Click();

    ASSERT_EQ(shownReports.size(), 2u);
    EXPECT_EQ(shownReports[0].title, QStringLiteral("Withdrawal Request"));
    EXPECT_EQ(shownReports[0].values.last(), QStringLiteral("1001"));
    EXPECT_EQ(shownReports[1].title, QStringLiteral("Request Order"));
    EXPECT_EQ(shownReports[1].values.last(), QStringLiteral("RO-2026-1"));
}

TEST_F(ReportTest, UnsavedOrEmptyNumberPrintsNothing)
{
    frmMain &form = open();

    // An empty listing.
    child<QLineEdit>("txtSearch")->setText(QStringLiteral("NOSUCHDOC"));
    form.LoadListing();
    ASSERT_TRUE(listedNumbers().isEmpty());
    form.cmdView_Click();

    // A document not yet saved.
    child<QTabWidget>("SSTab1")->setCurrentIndex(1);
    child<QLineEdit>("txtDocNum")->setText(QStringLiteral("NEW"));
    child<ui::FlexGrid>("grdDetails")->setTextMatrix(1, 1, QStringLiteral("SYRINGE"));
    child<QLineEdit>("txtRODocNum")->setText(QStringLiteral("NEW"));
    child<ui::FlexGrid>("fgRO")->setTextMatrix(1, 1, QStringLiteral("GLOVES"));
    prompt.clear(); // the tab switch has its own say about the empty listing
    form.cmdView_Click();

    EXPECT_TRUE(modal.shown().isEmpty());
    EXPECT_TRUE(prompt.shown().empty()) << prompt.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(ReportTest, ShortFormTickedPrintsTheNumberAlone)
{
    setSite(QStringLiteral("DVN"));
    frmMain &form = open();
    child<QCheckBox>("chkPrint")->setChecked(true);
    selectListed(QStringLiteral("1001"));
    expectViewer();
    form.cmdView_Click();
    ASSERT_EQ(shownReports.size(), 1u);
    EXPECT_EQ(shownReports[0].templateName, QStringLiteral("DepartmentRequest_Short.rpt"));
    EXPECT_EQ(shownReports[0].values, QStringList {QStringLiteral("1001")});
}

// At TKRL a request of up to 13 lines prints on the half-page form.
class LineCountTest : public ReportTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(LineCountTest, ThirteenLinesOrFewerUseTheShortForm)
{
    const int lines = GetParam();
    setSite(QStringLiteral("TKRL"));
    for (int i = 3; i < lines; ++i) // 1001 has three lines
        sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, "
                           "Quantity, UnitCost, LocationID, TargetLocationID, TransDate, UserID) "
                           "VALUES ('1001', '1003', 1, 1.75, '21', '18', '12/01/2026 08:30:00 "
                           "AM', 'DEMO')"));
    frmMain &form = open();
    selectListed(QStringLiteral("1001"));
    expectViewer();
    statements.clear();

    form.cmdView_Click();

    EXPECT_EQ(sentLike(QStringLiteral("tbinvwithdrawrequest where documentnumber")),
              QStringList {QStringLiteral("select * from inventory..tbinvwithdrawrequest where "
                                          "documentnumber = '1001' ")});
    ASSERT_EQ(shownReports.size(), 1u);
    EXPECT_EQ(shownReports[0].templateName,
              lines <= 13 ? QStringLiteral("DepartmentRequest_short.rpt")
                          : QStringLiteral("DepartmentRequest.rpt"));
    EXPECT_EQ(shownReports[0].values.size(), 3);
}

INSTANTIATE_TEST_SUITE_P(Tkrl, LineCountTest, ::testing::Values(13, 14));

TEST_F(ReportTest, MissingTemplateShowsTheErrorAndThePath)
{
    setProgramFolder(tempPath());
    open();
    selectListed(QStringLiteral("1001"));
    child<QPushButton>("cmdView")->click();

    EXPECT_TRUE(modal.shown().isEmpty());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("File not found.\r\n") + tempPath()
                  + QStringLiteral("/DepartmentRequest.rpt"));
    EXPECT_EQ(prompt.shown()[0].icon, ui::Icon::None);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ReportTest, RequestRendersToPdf)
{
    frmMain &form = open();
    selectListed(QStringLiteral("1001"));
    const QString pdf = tempPath() + QStringLiteral("/request.pdf");
    bool saved = false;
    expectViewer([&](QDialog &dialog) {
        saved = static_cast<frmReportViewer &>(dialog).savePdf(pdf) && QFile::exists(pdf);
        // Print asks for the printer first (the scripted answer is Cancel).
        dialog.findChild<QPushButton *>(QStringLiteral("cmdPrint"))->click();
    });
    form.cmdView_Click();
    ASSERT_TRUE(saved);
    EXPECT_EQ(modal.shown(),
              (QStringList {QStringLiteral("frmReportViewer"), QStringLiteral("dlgPrint")}));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const QString &expected :
         {Session.Company, Session.Address1, QStringLiteral("WITHDRAWAL REQUEST"),
          QStringLiteral("1001"), QStringLiteral("Medical Ward"),
          QStringLiteral("EXAMINATION GLOVES MEDIUM 100S"), QStringLiteral("50.0000"),
          QStringLiteral("Grand Total:"), QStringLiteral("1,365.0000")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                             << text.toStdString();
}

TEST_F(ReportTest, IssuedReportsTakeMonthFirstDatesInAnyLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    open();
    QString caption;
    modal.expect([&](QDialog &dialog) {
        caption = dialog.windowTitle();
        dialog.findChild<QDateEdit *>(QStringLiteral("dpStart"))->setDate(QDate(2026, 12, 1));
        dialog.findChild<QDateEdit *>(QStringLiteral("dpEnd"))->setDate(QDate(2026, 12, 8));
        dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    expectViewer();

    child<QAction>("mnuIssuedReports")->trigger();
    QLocale::setDefault(previous);

    EXPECT_EQ(caption, QStringLiteral("Issued Reports"));
    ASSERT_EQ(shownReports.size(), 1u);
    EXPECT_EQ(shownReports[0].title, QStringLiteral("Issued Request"));
    EXPECT_EQ(shownReports[0].values,
              (QStringList {QStringLiteral("DEMO"), QStringLiteral("12/01/2026"),
                            QStringLiteral("12/08/2026")}));
    // Both waiting issues of DEMO's locations fall in the period; the November one does not.
    EXPECT_TRUE(shownReports[0].text.contains(QStringLiteral("21-1")));
    EXPECT_FALSE(shownReports[0].text.contains(QStringLiteral("21-3")));
}

} // namespace
