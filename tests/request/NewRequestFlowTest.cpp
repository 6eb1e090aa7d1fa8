// A new request typed by hand from the first field to the save, as a ward user does it with the
// keyboard and the mouse, without any routine called directly.
#include "MainFormTest.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace testing_support {
namespace {

class NewRequestFlowTest : public MainFormTest
{
protected:
    void typeHere(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    void click(const char *button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
};

TEST_F(NewRequestFlowTest, ARequestTypedByHandIsSavedAndListed)
{
    open();
    click("cmdNew");
    auto *supplier = child<ui::DataCombo>("cboLocation");
    auto *target = child<ui::DataCombo>("cboTargetLocation");
    ASSERT_EQ(QApplication::focusWidget(), supplier);

    // The supplying location is asked first; the focus stays until it names a location.
    typeHere(QStringLiteral("Central Warehouse"));
    press(Qt::Key_Tab);
    EXPECT_EQ(supplier->Tag, QStringLiteral("21"));

    target->setFocus();
    typeHere(QStringLiteral("Medical Ward"));
    child<QLineEdit>("txtProdCode")->setFocus();
    EXPECT_EQ(target->Tag, QStringLiteral("18"));

    typeHere(QStringLiteral("1019"));
    press(Qt::Key_Return); // resolves the code and moves to the quantity
    EXPECT_FALSE(child<QLineEdit>("txtProdName")->text().isEmpty());
    typeHere(QStringLiteral("25"));
    click("cmdOK");
    const ui::FlexGrid &grid = lines();
    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::Code), QStringLiteral("1019"));
    EXPECT_EQ(grid.TextMatrix(1, DetailsCol::Quantity), QStringLiteral("25"));
    EXPECT_EQ(grid.Rows(), 3);

    QWidget *remarks = child<QWidget>("txtRemarks");
    remarks->setFocus();
    typeHere(QStringLiteral("ward stock for the week"));
    prompt.clear();
    click("cmdSave");

    const QString number = child<QLineEdit>("txtDocNum")->text();
    EXPECT_NE(number, QStringLiteral("NEW"));
    EXPECT_EQ(prompt.lastText(),
              QStringLiteral("Document #: ") + number
                  + QStringLiteral(" still needs to be verified "));
    db::Recordset rs = database->query(
        QStringLiteral("select ItemID, Quantity, LocationID, TargetLocationID, Remarks, UserID "
                       "from INVENTORY..tbInvWithdrawRequest where DocumentNumber = ")
        + db::quote(number));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text("ItemID"), QStringLiteral("1019"));
    EXPECT_EQ(rs.field("Quantity").toDouble(), 25.0);
    EXPECT_EQ(rs.text("LocationID"), QStringLiteral("21"));
    EXPECT_EQ(rs.text("TargetLocationID"), QStringLiteral("18"));
    EXPECT_EQ(rs.text("Remarks"), QStringLiteral("WARD STOCK FOR THE WEEK"));
    EXPECT_EQ(rs.text("UserID"), QStringLiteral("DEMO"));
    // Back on the listing, which shows the new pending document.
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_TRUE(listedNumbers().contains(number));
}

} // namespace
} // namespace testing_support
