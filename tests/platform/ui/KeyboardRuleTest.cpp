#include "platform/ui/KeyboardRule.h"
#include "platform/ui/FlexGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// An entry dialog with the rule: code, quantity, an editable combo, a password box that keeps
// its case, a grid and an OK button that is the dialog's default.
class KeyboardRule : public ::testing::Test
{
protected:
    void SetUp() override
    {
        layout = new QVBoxLayout(&form);
        txtProdCode = add(new QLineEdit(&form));
        txtWithdraw = add(new QLineEdit(&form));
        cboLocation = add(new QComboBox(&form));
        cboLocation->setEditable(true);
        txtPassword = add(new QLineEdit(&form));
        txtPassword->setEchoMode(QLineEdit::Password);
        txtRemarks = add(new QPlainTextEdit(&form));
        grid = add(new ui::FlexGrid(&form));
        cmdOK = add(new QPushButton(QStringLiteral("OK"), &form));
        cmdOK->setDefault(true);
        QObject::connect(cmdOK, &QPushButton::clicked, &form, [this] { ++okClicks; });
        ui::setKeyboardRuleExempt(txtPassword);
        ui::installKeyboardRule(&form);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    template<typename W>
    W *add(W *w)
    {
        layout->addWidget(w);
        return w;
    }

    QWidget *typeInto(const std::string &field, const QString &keys)
    {
        QWidget *target = nullptr;
        if (field == "code")
            target = txtProdCode;
        else if (field == "combo")
            target = cboLocation;
        else if (field == "password")
            target = txtPassword;
        else if (field == "remarks")
            target = txtRemarks;
        target->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), keys);
        return target;
    }

    QString textOf(const std::string &field) const
    {
        if (field == "code")
            return txtProdCode->text();
        if (field == "combo")
            return cboLocation->currentText();
        if (field == "password")
            return txtPassword->text();
        return txtRemarks->toPlainText();
    }

    QDialog form;
    QVBoxLayout *layout = nullptr;
    QLineEdit *txtProdCode = nullptr;
    QLineEdit *txtWithdraw = nullptr;
    QComboBox *cboLocation = nullptr;
    QLineEdit *txtPassword = nullptr;
    QPlainTextEdit *txtRemarks = nullptr;
    ui::FlexGrid *grid = nullptr;
    QPushButton *cmdOK = nullptr;
    int okClicks = 0;
};

struct TypingCase
{
    const char *field;
    const char *typed;
    const char *entered;
};

void PrintTo(const TypingCase &c, std::ostream *os)
{
    *os << c.field << " \"" << c.typed << "\"";
}

class KeyboardRuleTyping : public KeyboardRule, public ::testing::WithParamInterface<TypingCase>
{
};

TEST_P(KeyboardRuleTyping, LettersAreUpperCasedAndQuotesDropped)
{
    const TypingCase c = GetParam();
    typeInto(c.field, QString::fromUtf8(c.typed));
    EXPECT_EQ(textOf(c.field), QString::fromUtf8(c.entered));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, KeyboardRuleTyping,
    ::testing::Values(TypingCase {"code", "abc", "ABC"}, TypingCase {"code", "o'brien", "OBRIEN"},
                      TypingCase {"code", "a-1 b.2", "A-1 B.2"},
                      TypingCase {"combo", "ward 'x'", "WARD X"},
                      TypingCase {"password", "s'cret", "s'cret"},
                      TypingCase {"remarks", "for ward's use", "FOR WARDS USE"}));

struct EnterCase
{
    const char *name;
    int from; // 0 code, 1 quantity, 2 combo, 3 password, 4 remarks, 5 grid, 6 OK button
    int to;
};

void PrintTo(const EnterCase &c, std::ostream *os)
{
    *os << c.name;
}

class KeyboardRuleEnter : public KeyboardRule, public ::testing::WithParamInterface<EnterCase>
{
protected:
    QWidget *control(int i) const
    {
        const QWidget *controls[]
            = {txtProdCode, txtWithdraw, cboLocation, txtPassword, txtRemarks, grid, cmdOK};
        return const_cast<QWidget *>(controls[i]);
    }
};

TEST_P(KeyboardRuleEnter, EnterMovesOnWhereTheControlDoesNotUseIt)
{
    const EnterCase c = GetParam();
    int gridEnters = 0;
    QObject::connect(grid, &ui::FlexGrid::keyPressed, grid,
                     [&](int key, Qt::KeyboardModifiers, bool *) {
                         gridEnters += key == Qt::Key_Return ? 1 : 0;
                     });
    control(c.from)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == control(c.to) || control(c.to)->isAncestorOf(focus));
    EXPECT_EQ(gridEnters, c.from == 5 ? 1 : 0);
    // A field's Enter never presses the default button; the button's own Enter presses it.
    EXPECT_EQ(okClicks, c.from == 6 ? 1 : 0);
    if (c.from == 4) {
        EXPECT_EQ(txtRemarks->toPlainText(), "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, KeyboardRuleEnter,
    ::testing::Values(EnterCase {"CodeToQuantity", 0, 1}, EnterCase {"QuantityToCombo", 1, 2},
                      EnterCase {"ComboToPassword", 2, 3}, EnterCase {"RemarksKeepsEnter", 4, 4},
                      EnterCase {"GridKeepsEnter", 5, 5}, EnterCase {"ButtonUnchanged", 6, 6}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(KeyboardRule, ControlsAddedLaterFollowTheRule)
{
    auto *txtLotNumber = add(new QLineEdit(&form));
    txtLotNumber->show();
    txtLotNumber->setFocus();
    QTest::keyClicks(txtLotNumber, "lot'7a");
    EXPECT_EQ(txtLotNumber->text(), "LOT7A");
}

TEST_F(KeyboardRule, OtherWindowsAreLeftAlone)
{
    QWidget other;
    auto *field = new QLineEdit(&other);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    field->setFocus();
    QTest::keyClicks(field, "it's");
    EXPECT_EQ(field->text(), "it's");
}

struct SelectCase
{
    const char *name;
    bool byMouse;
};

void PrintTo(const SelectCase &c, std::ostream *os)
{
    *os << c.name;
}

class SelectAllOnFocus : public KeyboardRule, public ::testing::WithParamInterface<SelectCase>
{
};

TEST_P(SelectAllOnFocus, TheFieldSelectsItsWholeText)
{
    ui::selectAllOnFocus(txtWithdraw);
    ui::selectAllOnFocus(txtWithdraw); // once is enough
    txtWithdraw->setText(QStringLiteral("125"));
    txtProdCode->setFocus();
    if (GetParam().byMouse)
        QTest::mouseClick(txtWithdraw, Qt::LeftButton, {}, txtWithdraw->rect().center());
    else
        txtWithdraw->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(txtWithdraw->hasFocus());
    EXPECT_EQ(txtWithdraw->selectedText(), "125");
}

INSTANTIATE_TEST_SUITE_P(Ways, SelectAllOnFocus,
                         ::testing::Values(SelectCase {"Program", false},
                                           SelectCase {"Mouse", true}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
