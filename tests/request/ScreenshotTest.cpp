#include "request/MainFormTest.h"

#include <QDir>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using testing_support::MainFormTest;

namespace {

// Pictures of the main form for the documentation: run with SR_SCREENSHOT_DIR set (under a real
// X server for real fonts); skipped otherwise.
TEST_F(MainFormTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("SR_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "SR_SCREENSHOT_DIR not set";
    QDir().mkpath(folder);
    setSwitch(QStringLiteral("91"), true);
    setSwitch(QStringLiteral("93"), true);
    frmMain &f = open();
    f.resize(1100, 720);
    QTest::qWait(300);
    EXPECT_TRUE(f.grab().save(folder + QStringLiteral("/main-listing.png")));

    selectListed(QStringLiteral("1001"));
    QTest::mouseClick(child<QPushButton>("cmdEdit"), Qt::LeftButton);
    QTest::qWait(300);
    EXPECT_TRUE(f.grab().save(folder + QStringLiteral("/main-details.png")));

    // The window at its smallest and on a large screen, on both tabs, and its status bar.
    for (const QSize &size : {f.minimumSize(), QSize(1600, 1000)}) {
        f.resize(size);
        const QString name = QStringLiteral("/main-%1x%2").arg(size.width()).arg(size.height());
        QTest::qWait(300);
        EXPECT_TRUE(f.grab().save(folder + name + QStringLiteral("-details.png")));
        f.cmdList_Click();
        QTest::qWait(300);
        EXPECT_TRUE(f.grab().save(folder + name + QStringLiteral("-list.png")));
        EXPECT_TRUE(f.statusBar()->grab().save(folder + name + QStringLiteral("-statusbar.png")));
        selectListed(QStringLiteral("1001"));
        QTest::mouseClick(child<QPushButton>("cmdEdit"), Qt::LeftButton);
    }
}

} // namespace
