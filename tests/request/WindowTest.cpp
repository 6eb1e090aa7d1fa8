// The main window as a desktop window: keys, status bar, sizes and what it remembers, the sorted
// listing, and a long day of the blinking notice.
#include "request/MainFormTest.h"

#include "platform/ui/BlinkButton.h"
#include "request/MainWindowChrome.h"
#include "session/Settings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using testing_support::MainFormTest;

namespace {

class WindowTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        MainWindowChrome::setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 15, 7)); });
    }
    void TearDown() override
    {
        MainWindowChrome::setClock(nullptr);
        MainFormTest::TearDown();
    }

    void clickHeading(int col)
    {
        QHeaderView *header = listing().horizontalHeader();
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // A key as the user presses it, to whatever holds the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    int tab() const { return child<QTabWidget>("SSTab1")->currentIndex(); }

    void openListed(const QString &number)
    {
        selectListed(number);
        QTest::mouseClick(child<QPushButton>("cmdEdit"), Qt::LeftButton);
        ASSERT_EQ(child<QLineEdit>("txtDocNum")->text(), number);
    }

    void clickLine(int row, int col)
    {
        ui::FlexGrid &grid = lines();
        const QRect rect = grid.cellGeometry(row, col);
        ASSERT_FALSE(rect.isEmpty());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          rect.center() - grid.viewport()->geometry().topLeft());
    }

    void addPending(const QString &number, const QString &date)
    {
        sql(QStringLiteral("INSERT INTO INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, "
                           "Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, "
                           "TransDate, UserID) VALUES (%1, '1019', 1, 4.5, 'N', 0, '21', '18', "
                           "%2, 'DEMO')")
                .arg(db::quote(number), db::quote(date)));
    }
};

// The user's order holds through the minute's refresh, F5, another filter and a new document.
TEST_F(WindowTest, SortedListingKeepsItsOrderThroughRefreshes)
{
    frmMain &f = open();
    clickHeading(1);
    EXPECT_EQ(listedNumbers(), (QStringList {"1001", "1008", "1010", "1011", "MR-0415"}));
    clickHeading(1);
    const QStringList descending {"MR-0415", "1011", "1010", "1008", "1001"};
    EXPECT_EQ(listedNumbers(), descending);

    f.tmrRefresh_Timer();
    EXPECT_EQ(listedNumbers(), descending);

    addPending(QStringLiteral("1009"), QStringLiteral("12/08/2026 09:00:00 AM"));
    const int loads = static_cast<int>(sentLike(QStringLiteral("Order By Transdate")).size());
    press(Qt::Key_F5);
    EXPECT_EQ(sentLike(QStringLiteral("Order By Transdate")).size(), loads + 1);
    EXPECT_EQ(listedNumbers(), (QStringList {"MR-0415", "1011", "1010", "1009", "1008", "1001"}));
    EXPECT_EQ(listing().Row(), 1);

    child<QRadioButton>("optOptions_1")->click();
    child<QRadioButton>("optOptions_0")->click();
    child<QCheckBox>("chkverified")->setChecked(false);
    f.LoadListing();
    EXPECT_EQ(listedNumbers(), (QStringList {"MR-0415", "1011", "1010", "1009", "1008", "1001"}));
    // The opened document is the one under the cursor, whatever the order.
    selectListed(QStringLiteral("1009"));
    f.grdListing_DblClick();
    EXPECT_EQ(child<QLineEdit>("txtDocNum")->text(), QStringLiteral("1009"));
}

// Enter in the search box searches and stays there for the next search; nothing found shows a
// notice instead of blank rows; Enter on a listed row opens it.
TEST_F(WindowTest, SearchAndOpenFromTheKeyboard)
{
    open();
    auto *search = child<QLineEdit>("txtSearch");
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("nothing"));
    press(Qt::Key_Return);
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(listing().Notice(), QStringLiteral("No documents found."));
    EXPECT_TRUE(listedNumbers().isEmpty());

    search->selectAll();
    QTest::keyClicks(search, QStringLiteral("1008"));
    press(Qt::Key_Return);
    EXPECT_TRUE(search->hasFocus());
    EXPECT_TRUE(listing().Notice().isEmpty());
    EXPECT_EQ(listedNumbers(), QStringList {QStringLiteral("1008")});

    listing().setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(child<QLineEdit>("txtDocNum")->text(), QStringLiteral("1008"));
}

// Ctrl+N starts a document, Escape asks before leaving it, Ctrl+S saves only on the details.
TEST_F(WindowTest, DesktopKeysRunTheirCommands)
{
    open();
    QSignalSpy saves(child<QPushButton>("cmdSave"), &QPushButton::clicked);
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves.count(), 0);
    press(Qt::Key_Escape);
    EXPECT_TRUE(prompt.shown().empty());

    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(child<QLineEdit>("txtDocNum")->text(), QStringLiteral("NEW"));
    child<ui::DataCombo>("cboLocation")->setText(QStringLiteral("Central Warehouse"));
    child<ui::DataCombo>("cboTargetLocation")->setText(QStringLiteral("Surgical Ward"));
    form->cboLocation_Validate();
    form->cboTargetLocation_Validate();
    child<QLineEdit>("txtProdCode")->setFocus();
    prompt.clear();
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves.count(), 1);

    prompt.clear();
    prompt.answer(ui::Answer::No);
    press(Qt::Key_Escape);
    EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Do you want to leave without saving?")});
    EXPECT_EQ(tab(), 1);
    prompt.answer(ui::Answer::Yes);
    press(Qt::Key_Escape);
    EXPECT_EQ(tab(), 0);
}

// A click on a line leaves the focus on the grid, so that Delete offers to delete that line and
// not a character of the code box; No keeps it.
TEST_F(WindowTest, DeleteOnAClickedLineAsksFirst)
{
    open();
    openListed(QStringLiteral("1001"));
    ASSERT_EQ(lines().Rows(), 5); // three lines and the empty row
    clickLine(2, DetailsCol::Description);
    EXPECT_TRUE(lines().hasFocus());
    EXPECT_EQ(child<QLineEdit>("txtProdCode")->text(), QStringLiteral("1024"));

    prompt.answer(ui::Answer::No);
    press(Qt::Key_Delete);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_TRUE(prompt.lastText().startsWith(QStringLiteral("Delete line 2 (1024 ")));
    EXPECT_EQ(lines().Rows(), 5);
    EXPECT_EQ(child<QLineEdit>("txtProdCode")->text(), QStringLiteral("1024"));

    clickLine(2, DetailsCol::Description);
    prompt.answer(ui::Answer::Yes);
    press(Qt::Key_Delete);
    EXPECT_EQ(lines().Rows(), 4);
    EXPECT_EQ(lines().TextMatrix(1, DetailsCol::Code), QStringLiteral("1019"));
    EXPECT_EQ(lines().TextMatrix(2, DetailsCol::Code), QStringLiteral("1025"));

    // The empty row has nothing to delete and asks nothing.
    prompt.clear();
    clickLine(3, DetailsCol::Description);
    press(Qt::Key_Delete);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(lines().Rows(), 4);
}

// Size, place, sort and dragged columns come back for the same employee, through the settings
// store; the window never goes below its minimum.
TEST_F(WindowTest, WindowLayoutIsRememberedPerEmployee)
{
    frmMain &f = open();
    f.resize(1300, 820);
    f.move(40, 30);
    clickHeading(4);
    clickHeading(4);
    listing().horizontalHeader()->resizeSection(4, 250);
    f.close();
    form.reset();

    frmMain &again = open();
    EXPECT_EQ(again.size(), QSize(1300, 820));
    EXPECT_EQ(again.pos(), QPoint(40, 30));
    EXPECT_EQ(listing().SortCol(), 4);
    EXPECT_EQ(listing().SortOrder(), Qt::DescendingOrder);
    EXPECT_EQ(listing().columnWidth(4), 250);
    EXPECT_EQ(listedNumbers().first(), QStringLiteral("1011")); // newest first

    EXPECT_FALSE(readWindowSetting(QStringLiteral("OTHER"), QStringLiteral("Geometry")).isValid());
    again.resize(200, 150);
    EXPECT_GE(again.width(), again.minimumWidth());
    EXPECT_GE(again.height(), again.minimumHeight());
    EXPECT_GE(again.minimumWidth(), 900);
}

// Every caption is shown whole and no two controls of a frame lie over each other, at the
// smallest size and on a large screen, on both tabs.
struct SizeCase
{
    const char *name;
    int width; // 0: the minimum
    int height;
};

std::ostream &operator<<(std::ostream &out, const SizeCase &c)
{
    return out << c.name;
}

class WindowSizes : public WindowTest, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(WindowSizes, CaptionsWholeAndControlsApart)
{
    setSwitch(QStringLiteral("91"), true);
    setSwitch(QStringLiteral("93"), true);
    frmMain &f = open();
    const SizeCase &c = GetParam();
    f.resize(c.width ? QSize(c.width, c.height) : f.minimumSize());
    for (int page : {0, 1}) {
        if (page == 1)
            openListed(QStringLiteral("1001"));
        QTest::qWait(20);
        const auto shownOnPage = [&](QWidget *w) {
            return w->isVisible() && !w->isWindow();
        };
        for (QWidget *w : f.findChildren<QWidget *>()) {
            if (!shownOnPage(w))
                continue;
            const QString name = w->objectName();
            if (auto *button = qobject_cast<QPushButton *>(w))
                EXPECT_GE(button->width(),
                          button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width()
                              + 4)
                    << name.toStdString() << " on tab " << page;
            else if (auto *box = qobject_cast<QAbstractButton *>(w))
                EXPECT_GE(box->width(), box->minimumSizeHint().width())
                    << name.toStdString() << " on tab " << page;
            if (auto *label = qobject_cast<QLabel *>(w);
                label && !label->wordWrap() && !label->text().isEmpty() && label->pixmap().isNull())
                EXPECT_GE(label->contentsRect().width(),
                          label->fontMetrics().size(0, label->text()).width())
                    << name.toStdString() << " on tab " << page;
            // Siblings placed by hand inside a frame must not overlap.
            static const QStringList placedByHand {"Frame6", "frameEntry", "frameDetails"};
            if (w->parentWidget() && placedByHand.contains(w->parentWidget()->objectName())) {
                for (QWidget *other :
                     w->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                    if (other == w || !shownOnPage(other) || other->objectName().isEmpty()
                        || other->objectName() < name)
                        continue;
                    EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                        << name.toStdString() << " and " << other->objectName().toStdString();
                }
            }
        }
    }
}

const SizeCase kSizes[] = {{"Minimum", 0, 0}, {"Wide", 1600, 1000}};
INSTANTIATE_TEST_SUITE_P(Sizes, WindowSizes, ::testing::ValuesIn(kSizes));

// On a wide screen the listing's columns fill the grid.
TEST_F(WindowTest, ListingColumnsUseTheWidth)
{
    frmMain &f = open();
    f.resize(1600, 1000);
    QTest::qWait(20);
    ui::FlexGrid &grid = listing();
    int used = 0;
    for (int col = 0; col < grid.Cols(); ++col)
        used += grid.isColumnHidden(col) ? 0 : grid.columnWidth(col);
    EXPECT_EQ(used, grid.viewport()->width());
}

TEST_F(WindowTest, StatusBarSaysWhoWhereWhichDatabaseAndWhen)
{
    frmMain &f = open();
    const auto text = [&](const char *name) {
        const auto *label = f.statusBar()->findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : QString();
    };
    EXPECT_TRUE(text("lblStatusEmployee").startsWith(QStringLiteral("Employee: DEMO")));
    EXPECT_EQ(text("lblStatusLocation"),
              QStringLiteral("Location: ")
                  + child<ui::DataCombo>("cboTargetLocation")->currentText());
    EXPECT_EQ(text("lblStatusDatabase"),
              QStringLiteral("Database: ")
                  + QDir::toNativeSeparators(Session.CurrentUser->ServerName()));
    EXPECT_EQ(text("lblStatusRefreshed"), QStringLiteral("List refreshed 10:15:07"));

    MainWindowChrome::setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(10, 16, 7)); });
    f.tmrRefresh_Timer();
    EXPECT_EQ(text("lblStatusRefreshed"), QStringLiteral("List refreshed 10:16:07"));
}

// Eight hours of the notice blinking ten times a second, the minute's refresh and poll, and a
// document opened and left every hour: the blink only ever draws with its two palettes, the
// button's own palette is never replaced, and the form ends the day with as many objects as it
// had after the first hour. Minimised, it does not blink at all.
TEST_F(WindowTest, ADayOfBlinkingGrowsNothing)
{
    setSwitch(QStringLiteral("93"), true);
    frmMain &f = open();
    auto *button = child<ui::BlinkButton>("cmdAcknowledge");
    auto *blink = f.findChild<QTimer *>(QStringLiteral("tmrBlinkAcknowledge"));
    ASSERT_TRUE(button->isVisible());
    ASSERT_TRUE(blink->isActive());
    blink->stop(); // the test drives it
    const qint64 ownPalette = button->palette().cacheKey();

    QSet<qint64> painted;
    qsizetype objectsAfterFirstHour = -1;
    for (int hour = 0; hour < 8; ++hour) {
        for (int minute = 0; minute < 60; ++minute) {
            for (int tick = 0; tick < 600; ++tick) {
                f.tmrBlinkAcknowledge_Timer();
                if (tick % 150 < 2) { // both colours, at a few moments each minute
                    button->repaint();
                    painted.insert(button->paintedPaletteKey());
                }
            }
            f.tmrRefresh_Timer();
            f.tmrAcknowledge_Timer();
            blink->stop();
        }
        openListed(QStringLiteral("1001"));
        prompt.answer(ui::Answer::Yes);
        f.cmdCancel_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        const qsizetype objects = f.findChildren<QObject *>().size();
        if (hour == 0)
            objectsAfterFirstHour = objects;
        else
            EXPECT_EQ(objects, objectsAfterFirstHour) << "after hour " << hour + 1;
    }
    EXPECT_EQ(button->palette().cacheKey(), ownPalette);
    EXPECT_EQ(button->paletteCount(), 2);
    EXPECT_EQ(painted.size(), 2);
    const QColor colour = button->BackColor();
    EXPECT_TRUE(colour == QColor(0x80, 0xFF, 0x80) || colour == QColor(0xFF, 0xFF, 0xFF));

    // Nobody sees a minimised window: no blink, not even after the next poll; back on screen
    // it blinks again.
    f.tmrAcknowledge_Timer();
    f.showMinimized();
    QTest::qWait(20);
    EXPECT_FALSE(blink->isActive());
    f.tmrAcknowledge_Timer();
    EXPECT_FALSE(blink->isActive());
    f.showNormal();
    QTest::qWait(20);
    EXPECT_TRUE(blink->isActive());
    f.hide();
    QTest::qWait(20);
    EXPECT_FALSE(blink->isActive());
}

} // namespace
