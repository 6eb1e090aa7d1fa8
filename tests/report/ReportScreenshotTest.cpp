// Pictures and PDFs of every printed document for the documentation: run with
// SR_SCREENSHOT_DIR set (under a real X server for real fonts); skipped otherwise.
#include "ReportTestSupport.h"

#include <QDir>
#include <QTest>

namespace {

using testing_support::ReportTest;

struct Printout
{
    const char *file;
    const char *site;
    const char *templateName;
    QStringList values;
    const char *title;
};

TEST_F(ReportTest, PreviewScreenshotsAndPdfs)
{
    const QString folder = qEnvironmentVariable("SR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "SR_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    const QString company = Session.Company;
    const QString address = Session.Address1;
    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawDetails SET LotNumber = 'SY-2611' WHERE "
                       "ItemID = '1019'"));
    const std::vector<Printout> printouts {
        {"request",
         "",
         "DepartmentRequest.rpt",
         {company, address, QStringLiteral("1001")},
         "Withdrawal Request"},
        {"request-lots",
         "",
         "DepartmentRequest.rpt",
         {company, address, QStringLiteral("1008")},
         "Withdrawal Request"},
        {"return",
         "",
         "DepartmentRequest.rpt",
         {company, address, QStringLiteral("1011")},
         "Withdrawal Request"},
        {"consolidation",
         "ZRWB",
         "DepartmentRequest.rpt",
         {company, address, QStringLiteral("900"), QStringLiteral("1")},
         "Withdrawal Request"},
        {"request-short",
         "DVN",
         "DepartmentRequest_Short.rpt",
         {QStringLiteral("1003")},
         "Withdrawal Request"},
        {"request-half",
         "TKRL",
         "DepartmentRequest_short.rpt",
         {company, address, QStringLiteral("1002")},
         "Withdrawal Request"},
        {"request-order",
         "Q4VH",
         "RequestOrder.rpt",
         {company, address, QStringLiteral("RO-2026-1")},
         "Request Order"},
        {"mris",
         "",
         "rptMRISReport.rpt",
         {QStringLiteral("18"), QStringLiteral("21-1"), QStringLiteral("1")},
         "MRIS Report"},
        {"issued",
         "",
         "IssuedRequests.rpt",
         {QStringLiteral("DEMO"), QStringLiteral("11/01/2026"), QStringLiteral("12/08/2026")},
         "Issued Request"},
    };
    for (const Printout &p : printouts) {
        setSite(QString::fromLatin1(p.site));
        const QString name = QString::fromLatin1(p.file);
        PrepareReport(ReportPath(QString::fromLatin1(p.templateName)), p.values);
        expectViewer([&](QDialog &dialog) {
            auto &viewer = static_cast<frmReportViewer &>(dialog);
            viewer.resize(1000, 820);
            viewer.show();
            QTest::qWait(300);
            EXPECT_TRUE(viewer.grab().save(folder + QStringLiteral("/preview-") + name
                                           + QStringLiteral(".png")));
            EXPECT_TRUE(
                viewer.savePdf(folder + QStringLiteral("/") + name + QStringLiteral(".pdf")));
        });
        ShowReport(false, QString::fromLatin1(p.title));
        ASSERT_FALSE(shownReports.empty());
        EXPECT_TRUE(shownReports.back().faults.isEmpty())
            << p.file << shownReports.back().faults.join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
