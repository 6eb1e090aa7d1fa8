#include "request/MainFormTest.h"

#include "platform/format/Format.h"
#include "request/LinesGrid.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using testing_support::MainFormTest;

namespace {

class DocumentTest : public MainFormTest
{
protected:
    void openListed(const QString &number)
    {
        selectListed(number);
        QTest::mouseClick(child<QPushButton>("cmdEdit"), Qt::LeftButton);
    }

    QString cell(int row, int col) const { return lines().TextMatrix(row, col); }
    int tab() const { return child<QTabWidget>("SSTab1")->currentIndex(); }
    QString text(const char *name) const { return child<QLineEdit>(name)->text(); }
    QString caption(const char *name) const { return child<QLabel>(name)->text(); }
    QString locationTag(const char *name) const { return child<ui::DataCombo>(name)->Tag; }
};

TEST_F(DocumentTest, LoadsAThreeLineDocument)
{
    open();
    openListed(QStringLiteral("1001"));

    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")),
              QStringList {QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest '1001'")});
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("1001"));
    EXPECT_TRUE(child<QLineEdit>("txtDocNum")->isReadOnly());
    EXPECT_EQ(child<QPlainTextEdit>("txtRemarks")->toPlainText(),
              QStringLiteral("Weekly replenishment of ward supplies"));
    EXPECT_EQ(child<QDateTimeEdit>("txtTransDate")->dateTime(),
              QDateTime(QDate(2026, 12, 1), QTime(8, 30)));
    EXPECT_EQ(locationTag("cboLocation"), QStringLiteral("21"));
    EXPECT_EQ(child<ui::DataCombo>("cboLocation")->Text(), QStringLiteral("Central Warehouse"));
    EXPECT_EQ(locationTag("cboTargetLocation"), QStringLiteral("18"));
    EXPECT_EQ(child<ui::DataCombo>("cboTargetLocation")->Text(), QStringLiteral("Medical Ward"));
    EXPECT_FALSE(child<QWidget>("cboLocation")->isEnabled());
    EXPECT_FALSE(child<QWidget>("cboTargetLocation")->isEnabled());
    EXPECT_EQ(caption("lblInvRequest"), QStringLiteral("Inventory Request"));
    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("Update"));
    for (const char *name : {"cmdNew", "cmdEdit", "cmdDeleteReq", "cmdView"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;

    // Header, three lines and the empty entry row.
    ASSERT_EQ(lines().Rows(), 5);
    EXPECT_EQ(cell(1, DetailsCol::Code), QStringLiteral("1019"));
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("50"));
    EXPECT_EQ(cell(1, DetailsCol::UnitCost), QStringLiteral("4.5"));
    EXPECT_EQ(cell(1, DetailsCol::TotalCost), QStringLiteral("225"));
    EXPECT_EQ(cell(1, DetailsCol::Retail), QStringLiteral("N"));
    EXPECT_EQ(cell(1, DetailsCol::isADS), QStringLiteral("N"));
    EXPECT_FALSE(cell(1, DetailsCol::Description).isEmpty());
    EXPECT_EQ(cell(2, DetailsCol::Code), QStringLiteral("1024"));
    EXPECT_EQ(cell(3, DetailsCol::TotalCost), QStringLiteral("240"));
    EXPECT_TRUE(cell(4, DetailsCol::Code).isEmpty());
    EXPECT_EQ(lines().TextMatrix(0, DetailsCol::Description),
              QStringLiteral("Product Name & Description"));
    EXPECT_EQ(lines().ColWidth(DetailsCol::UOM), 0);
    EXPECT_EQ(lines().ColWidth(DetailsCol::OnHand), 0);
    EXPECT_EQ(lines().ColWidth(DetailsCol::LotNumber), 0);
    EXPECT_TRUE(cell(1, DetailsCol::OnHand).isEmpty());

    EXPECT_EQ(text("txtTotalCounter"), QStringLiteral("1,365.0000"));
    EXPECT_EQ(text("txtLineCounter"), QStringLiteral(" 1/ 4"));
}

TEST_F(DocumentTest, NullQuantityReadsAsZero)
{
    sql(QStringLiteral("UPDATE INVENTORY..tbInvWithdrawRequest SET Quantity = NULL WHERE "
                       "DocumentNumber = '1001' AND ItemID = '1019'"));
    open();
    openListed(QStringLiteral("1001"));
    ASSERT_EQ(lines().Rows(), 5);
    const int row = cell(1, DetailsCol::Code) == QStringLiteral("1019") ? 1 : 0;
    ASSERT_EQ(row, 1);
    EXPECT_EQ(cell(1, DetailsCol::Quantity), QStringLiteral("0"));
    EXPECT_EQ(cell(1, DetailsCol::TotalCost), QStringLiteral("0"));
    EXPECT_EQ(text("txtTotalCounter"), QStringLiteral("1,140.0000"));
}

TEST_F(DocumentTest, AReturnShowsTheLocationsSwapped)
{
    setSwitch(QStringLiteral("91"), true);
    open();
    openListed(QStringLiteral("1011"));
    EXPECT_FALSE(form->document().isRequest());
    EXPECT_EQ(caption("lblInvRequest"), QStringLiteral("Inventory Return"));
    EXPECT_EQ(caption("Label1_6"), QStringLiteral("Return to Location"));
    EXPECT_EQ(caption("Label3"), QStringLiteral("(Department you're returning to)"));
    EXPECT_EQ(locationTag("cboTargetLocation"), QStringLiteral("22"));
    EXPECT_EQ(locationTag("cboLocation"), QStringLiteral("30"));
    EXPECT_TRUE(shown("frameLotNumber"));
    EXPECT_EQ(lines().ColWidth(DetailsCol::LotNumber), 1000);
    EXPECT_EQ(lines().TextMatrix(0, DetailsCol::LotNumber), QStringLiteral("LotNumber"));

    // A request of the same listing is one again, with its lot numbers.
    QTest::mouseClick(child<QPushButton>("cmdList"), Qt::LeftButton); // asks; Yes by default
    EXPECT_EQ(tab(), 0);
    openListed(QStringLiteral("1008"));
    EXPECT_TRUE(form->document().isRequest());
    EXPECT_EQ(caption("lblInvRequest"), QStringLiteral("Inventory Request"));
    EXPECT_EQ(locationTag("cboTargetLocation"), QStringLiteral("30"));
    EXPECT_EQ(cell(1, DetailsCol::LotNumber), QStringLiteral("AL-2611"));
    EXPECT_EQ(lines().Rows(), 4);
    EXPECT_TRUE(cell(3, DetailsCol::Code).isEmpty()); // nothing left of the previous document
}

TEST_F(DocumentTest, ADocumentDeletedMeanwhileOpensEmpty)
{
    open();
    sql(QStringLiteral("DELETE INVENTORY..tbInvWithdrawRequest WHERE DocumentNumber = '1001'"));
    openListed(QStringLiteral("1001"));
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW"));
    EXPECT_EQ(lines().Rows(), 2);
    EXPECT_EQ(lines().Cols(), 10);
    EXPECT_TRUE(cell(1, DetailsCol::Code).isEmpty());
    EXPECT_TRUE(child<QPlainTextEdit>("txtRemarks")->toPlainText().isEmpty());
    EXPECT_EQ(text("txtTotalCounter"), QStringLiteral("0.0000"));
}

TEST_F(DocumentTest, EditIsRefusedForALocationWithoutRights)
{
    open();
    sql(QStringLiteral("DELETE INVENTORY..tbinvUserLocation WHERE UserID = 'DEMO' AND "
                       "LocationID = '23'"));
    openListed(QStringLiteral("1010"));
    EXPECT_EQ(prompt.lastText(), QStringLiteral("User not Authorized for this Location."));
    EXPECT_EQ(tab(), 0);
    EXPECT_TRUE(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")).isEmpty());
}

TEST_F(DocumentTest, CancelAnsweredNoKeepsTheLines)
{
    open();
    openListed(QStringLiteral("1001"));
    prompt.answer(ui::Answer::No);
    QTest::mouseClick(child<QPushButton>("cmdCancel"), Qt::LeftButton);
    ASSERT_FALSE(prompt.shown().empty());
    const ui::PromptRequest &asked = prompt.shown().back();
    EXPECT_EQ(asked.text, QStringLiteral("Do you want to leave without saving?"));
    EXPECT_EQ(asked.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(asked.icon, ui::Icon::Question);
    EXPECT_EQ(asked.title, QStringLiteral("Message"));
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(lines().Rows(), 5);

    prompt.answer(ui::Answer::Yes);
    QTest::mouseClick(child<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(tab(), 0);
    for (const char *name : {"cmdNew", "cmdEdit", "cmdDeleteReq", "cmdView"})
        EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name;
}

TEST_F(DocumentTest, NewRequestWithoutTheTypeDialog)
{
    open();
    QTest::mouseClick(child<QPushButton>("cmdNew"), Qt::LeftButton);
    EXPECT_TRUE(modal.shown().isEmpty());
    EXPECT_EQ(tab(), 1);
    EXPECT_TRUE(form->document().isRequest());
    EXPECT_FALSE(form->flags().IsNewDocument);
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW"));
    EXPECT_TRUE(child<QLineEdit>("txtDocNum")->isReadOnly());
    EXPECT_EQ(caption("lblInvRequest"), QStringLiteral("Inventory Request"));
    EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("Add to List"));
    EXPECT_EQ(lines().Rows(), 2);
    EXPECT_EQ(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")),
              QStringList {QStringLiteral("Inventory..sp_Inv_LoadWithdrawalRequest 'NEW'")});
    EXPECT_EQ(child<QDateTimeEdit>("txtTransDate")->dateTime(),
              QDateTime(QDate(2026, 12, 8), QTime(10, 15)));
    // The user's locations are offered, none chosen until the default location is set.
    EXPECT_GT(child<ui::DataCombo>("cboTargetLocation")->count(), 0);
    EXPECT_FALSE(child<QWidget>("cmdNew")->isEnabled());
}

TEST_F(DocumentTest, NewReturnChosenInTheTypeDialog)
{
    setSwitch(QStringLiteral("91"), true);
    open();
    modal.expect([](QDialog &dialog) {
        dialog.findChild<QPushButton *>(QStringLiteral("cmdInvRequest_1"))->click();
    });
    QTest::mouseClick(child<QPushButton>("cmdNew"), Qt::LeftButton);
    EXPECT_EQ(modal.shown(), QStringList {QStringLiteral("frmRequestType")});
    EXPECT_EQ(tab(), 1);
    EXPECT_FALSE(form->document().isRequest());
    EXPECT_EQ(caption("lblInvRequest"), QStringLiteral("Inventory Return"));
    EXPECT_EQ(caption("Label1_6"), QStringLiteral("Return to Location"));
    EXPECT_TRUE(shown("frameLotNumber"));
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW"));
}

TEST_F(DocumentTest, NewCancelledInTheTypeDialogStaysOnTheListing)
{
    setSwitch(QStringLiteral("91"), true);
    open();
    child<QLineEdit>("txtSearch")->setText(QStringLiteral("10%"));
    modal.expect(
        [](QDialog &dialog) { dialog.findChild<QPushButton *>(QStringLiteral("cmdX"))->click(); });
    QTest::mouseClick(child<QPushButton>("cmdNew"), Qt::LeftButton);
    EXPECT_EQ(tab(), 0);
    EXPECT_TRUE(text("txtSearch").isEmpty());
    EXPECT_TRUE(shown("frameLotNumber"));
    EXPECT_TRUE(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")).isEmpty());
    EXPECT_TRUE(child<QWidget>("cmdNew")->isEnabled());
}

TEST_F(DocumentTest, ExitAsksFirst)
{
    open();
    prompt.answer(ui::Answer::No);
    form->cmdExit_Click();
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Are you sure you want to exit without saving?"));
    EXPECT_TRUE(form->isVisible());
    prompt.answer(ui::Answer::Yes);
    form->cmdExit_Click();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(DocumentTest, TypedTextIsUpperCasedAndQuotesAreDropped)
{
    open();
    QTest::mouseClick(child<QPushButton>("cmdNew"), Qt::LeftButton);
    // The new document starts in the supplying location, which must be named before leaving.
    const auto focusIn = [this](const char *name) {
        const QWidget *focus = QApplication::focusWidget();
        return focus
            && (focus->objectName() == QLatin1String(name)
                || focus->parentWidget() == child<QWidget>(name));
    };
    ASSERT_TRUE(focusIn("cboLocation")) << QApplication::focusWidget()->objectName().toStdString();
    child<QLineEdit>("txtProdCode")->setFocus();
    EXPECT_TRUE(focusIn("cboLocation"));
    child<ui::DataCombo>("cboLocation")->setText(QStringLiteral("Central Warehouse"));
    // The item code last: leaving it resolves the code and moves on to the quantity.
    for (const char *name : {"txtOfficer", "txtProdCode"}) {
        auto *box = child<QLineEdit>(name);
        box->setVisible(true);
        box->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), box) << name;
        QTest::keyClicks(box, QStringLiteral("a'bc"));
        EXPECT_EQ(box->text(), QStringLiteral("ABC")) << name;
    }
    EXPECT_EQ(child<ui::DataCombo>("cboLocation")->Tag, QStringLiteral("21"));
    auto *search = child<QLineEdit>("txtSearch");
    QTest::keyClicks(search, QStringLiteral("m'r-%"));
    EXPECT_EQ(search->text(), QStringLiteral("MR-%"));
}

} // namespace

namespace {

TEST_F(DocumentTest, ADocumentWithoutARequestOrderAtQ4VH)
{
    setSite(QStringLiteral("Q4VH"));
    open();
    openListed(QStringLiteral("1001"));
    EXPECT_TRUE(shown("frameRO"));
    EXPECT_EQ(text("txtRODocNum"), QStringLiteral("NEW"));
    EXPECT_TRUE(child<ui::FlexGrid>("fgRO")->TextMatrix(1, 0).isEmpty());
    EXPECT_EQ(child<ui::FlexGrid>("fgRO")->Rows(), 100);
    EXPECT_EQ(locationTag("cboLocation"), QStringLiteral("21")); // the request's own
}

TEST_F(DocumentTest, ARequestOrderOpensInItsPanel)
{
    setSite(QStringLiteral("Q4VH"));
    open();
    child<QRadioButton>("optRequestOrder_1")->setChecked(true);
    selectListed(QStringLiteral("RO-2026-1"));
    form->grdListing_DblClick();
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("NEW")); // no withdrawal request of that number
    EXPECT_EQ(text("txtRODocNum"), QStringLiteral("RO-2026-1"));
    const ui::FlexGrid &ro = *child<ui::FlexGrid>("fgRO");
    EXPECT_EQ(ro.TextMatrix(0, 1), QStringLiteral("Item Description"));
    EXPECT_EQ(ro.ColWidth(2), 0);
    QStringList codes;
    for (int row = 1; row < ro.Rows() && !ro.TextMatrix(row, 0).isEmpty(); ++row)
        codes << ro.TextMatrix(row, 0);
    EXPECT_EQ(codes, (QStringList {QStringLiteral("1008"), QStringLiteral("1017")}));
    // The panel's grand total adds up the lines' total costs.
    EXPECT_EQ(text("txtTotalRO"), QStringLiteral("6,300.0000"));
    EXPECT_EQ(locationTag("cboLocation"), QStringLiteral("21"));
    EXPECT_EQ(locationTag("cboTargetLocation"), QStringLiteral("18"));
    EXPECT_EQ(child<QPlainTextEdit>("txtRemarks")->toPlainText(),
              QStringLiteral("Weekly replenishment of ward supplies"));
}

TEST_F(DocumentTest, DetailsButtonAndListButton)
{
    open();
    selectListed(QStringLiteral("1008"));
    QTest::mouseClick(child<QPushButton>("cmdDetails"), Qt::LeftButton);
    EXPECT_EQ(tab(), 1);
    EXPECT_EQ(text("txtDocNum"), QStringLiteral("1008"));
    EXPECT_EQ(sentLike(QStringLiteral("sp_Inv_LoadWithdrawalRequest")).size(), 1);
    QTest::mouseClick(child<QPushButton>("cmdList"), Qt::LeftButton);
    EXPECT_EQ(prompt.lastText(), QStringLiteral("Do you want to leave without saving?"));
    EXPECT_EQ(tab(), 0);
    for (const char *name : {"cmdNew", "cmdEdit", "cmdDeleteReq", "cmdView"})
        EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name;
}

TEST_F(DocumentTest, LocationsLockOnceANewDocumentHasALine)
{
    open();
    QTest::mouseClick(child<QPushButton>("cmdNew"), Qt::LeftButton);
    auto *location = child<QWidget>("cboLocation");
    auto *target = child<QWidget>("cboTargetLocation");
    form->LockLocations();
    EXPECT_TRUE(location->isEnabled());
    EXPECT_TRUE(target->isEnabled());
    RequestLine line;
    line.itemId = QStringLiteral("1019");
    line.quantity = 1;
    line.unitCost = format::Currency::fromDouble(format::typedNumber(QStringLiteral("1,234.5679")));
    form->linesGrid().PutLine(1, line);
    EXPECT_EQ(lines().Rows(), 3);
    form->LockLocations();
    EXPECT_FALSE(location->isEnabled());
    EXPECT_FALSE(target->isEnabled());
    form->UpdateGrandTotal();
    EXPECT_EQ(text("txtTotalCounter"), QStringLiteral("1,234.5679"));
    lines().setRow(2);
    EXPECT_EQ(text("txtLineCounter"), QStringLiteral(" 2/ 2"));
}

TEST_F(DocumentTest, StockOnHandShownWithLinesTypedIntoTheGrid)
{
    setSwitch(QStringLiteral("92"), true);
    open();
    openListed(QStringLiteral("1001"));
    EXPECT_EQ(lines().ColWidth(DetailsCol::OnHand), 800);
    EXPECT_EQ(lines().TextMatrix(0, DetailsCol::OnHand), QStringLiteral("OnHand"));
    EXPECT_FALSE(cell(1, DetailsCol::OnHand).isEmpty());
    EXPECT_TRUE(format::isNumeric(cell(1, DetailsCol::OnHand)));
}

} // namespace
