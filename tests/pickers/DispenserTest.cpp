// The list of users: search text, choosing, closing and the keyboard.
#include "session/LoggedInTest.h"

#include "pickers/frmDispenser.h"
#include "platform/ui/FlexGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testing_support::LoggedInTest;

namespace {

QStringList listed(const frmDispenser &form)
{
    QStringList codes;
    if (!form.flexMSHList->isEnabled())
        return codes;
    for (int row = 1; row < form.flexMSHList->Rows(); ++row)
        codes << form.flexMSHList->TextMatrix(row, 0);
    return codes;
}

class DispenserTest : public LoggedInTest
{
protected:
    // Shows the list for the caller's search text and lets the handler act on it.
    QString pick(const QString &searchString, const std::function<void(frmDispenser &)> &act)
    {
        frmDispenser form;
        form.SearchString = searchString;
        modal.expect([&](QDialog &dialog) { act(static_cast<frmDispenser &>(dialog)); });
        ui::showModal(form);
        return form.Code();
    }
};

TEST_F(DispenserTest, LowerCaseTypedListsAsUpperCase)
{
    QStringList upper;
    QStringList typed;
    pick(QStringLiteral("GARCIA"), [&](frmDispenser &form) {
        upper = listed(form);
        form.txtSearch->clear();
        QTest::keyClicks(form.txtSearch, QStringLiteral("garcia"));
        EXPECT_EQ(form.txtSearch->text(), QStringLiteral("GARCIA"));
        typed = listed(form);
        form.reject();
    });
    EXPECT_EQ(upper, (QStringList {QStringLiteral("10023"), QStringLiteral("NURSE1")}));
    EXPECT_EQ(typed, upper);
    EXPECT_EQ(statements.last(), QStringLiteral("inventory..sp_Inv_ListEmployees 'GARCIA'"));
}

TEST_F(DispenserTest, EscapeReturnsNothingThoughRowsAreListed)
{
    const QString code = pick(QString(), [](frmDispenser &form) {
        EXPECT_EQ(listed(form).size(), 6); // an empty search lists everybody
        form.flexMSHList->setFocus();
        QTest::keyClick(form.flexMSHList, Qt::Key_Down);
        QTest::keyClick(form.flexMSHList, Qt::Key_Escape);
    });
    EXPECT_EQ(code, QString());
}

TEST_F(DispenserTest, EnterOrOKChoosesTheCurrentRow)
{
    EXPECT_EQ(pick(QStringLiteral("garcia"),
                   [](frmDispenser &form) {
                       form.flexMSHList->setFocus();
                       QTest::keyClick(form.flexMSHList, Qt::Key_Down);
                       QTest::keyClick(form.flexMSHList, Qt::Key_Return);
                   }),
              QStringLiteral("NURSE1"));
    EXPECT_EQ(pick(QStringLiteral("DEMO"), [](frmDispenser &form) { form.cmdOK->click(); }),
              QStringLiteral("DEMO"));
}

TEST_F(DispenserTest, NobodyFoundLeavesOnlyClosing)
{
    const QString code = pick(QStringLiteral("O'NOBODY"), [](frmDispenser &form) {
        EXPECT_FALSE(form.flexMSHList->isEnabled());
        EXPECT_FALSE(form.cmdOK->isEnabled());
        // Enter in the grid and a double click on the form choose nothing.
        QTest::mouseDClick(&form, Qt::LeftButton);
        EXPECT_TRUE(form.isVisible());
        form.cmdCancel->click();
    });
    EXPECT_EQ(code, QString());
    EXPECT_EQ(prompt.shown().size(), 0u);
}

TEST_F(DispenserTest, UpTwiceOnTheFirstRowReturnsToTheSearch)
{
    pick(QString(), [](frmDispenser &form) {
        form.txtSearch->setFocus();
        QTest::keyClick(form.txtSearch, Qt::Key_Down);
        ASSERT_TRUE(form.flexMSHList->hasFocus());
        // The first Up only arms the return.
        QTest::keyClick(form.flexMSHList, Qt::Key_Up);
        EXPECT_TRUE(form.flexMSHList->hasFocus());
        QTest::keyClick(form.flexMSHList, Qt::Key_Up);
        EXPECT_TRUE(form.txtSearch->hasFocus());
        // The current cell is highlighted, the cell left restored.
        const QColor info = form.palette().color(QPalette::ToolTipBase);
        EXPECT_EQ(form.flexMSHList->CellBackColor(1, 0), info);
        form.flexMSHList->setRow(2);
        EXPECT_EQ(form.flexMSHList->CellBackColor(2, 0), info);
        EXPECT_NE(form.flexMSHList->CellBackColor(1, 0), info);
        form.reject();
    });
}

} // namespace
