#include "platform/ui/ValidateOnLeave.h"
#include "platform/ui/Prompt.h"
#include "support/ScriptedPrompt.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Counts the focus a control is given.
class FocusCounter final : public QObject
{
public:
    explicit FocusCounter(QWidget *control)
        : QObject(control)
    {
        control->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::FocusIn ? 1 : 0;
        return false;
    }
};

// A form with a validated quantity field, a second field, a validated editable combo, an OK
// button and a Cancel button that does not validate.
class ValidateOnLeave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&form);
        txtWithdraw = new QLineEdit(&form);
        txtRemarks = new QLineEdit(&form);
        cboLocation = new QComboBox(&form);
        cboLocation->setEditable(true);
        cboLocation->addItems({QStringLiteral("PHARMACY"), QStringLiteral("WARD 1")});
        cmdOK = new QPushButton(QStringLiteral("OK"), &form);
        cmdCancel = new QPushButton(QStringLiteral("Cancel"), &form);
        for (QWidget *w : {static_cast<QWidget *>(txtWithdraw), static_cast<QWidget *>(txtRemarks),
                           static_cast<QWidget *>(cboLocation), static_cast<QWidget *>(cmdOK),
                           static_cast<QWidget *>(cmdCancel)})
            layout->addWidget(w);
        QObject::connect(cmdOK, &QPushButton::clicked, [this] { ++okClicks; });
        QObject::connect(cmdCancel, &QPushButton::clicked, [this] { ++cancelClicks; });
        ui::setCausesValidation(cmdCancel, false);

        // As a quantity field does: a non-numeric text is refused with a message.
        ui::setValidator(txtWithdraw, [this](bool &cancel) {
            ++quantityChecks;
            bool numeric = false;
            txtWithdraw->text().toInt(&numeric);
            if (!numeric) {
                ui::msgBox(QStringLiteral("Invalid entry..."));
                cancel = true;
            }
        });
        ui::setValidator(cboLocation, [this](bool &cancel) {
            ++locationChecks;
            cancel = cboLocation->findText(cboLocation->currentText()) < 0;
        });

        txtWithdraw->setText(QStringLiteral("0"));
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void focusOn(QWidget *w)
    {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(w->hasFocus());
    }

    static void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

    testing_support::ScriptedPrompt prompt;
    QWidget form;
    QLineEdit *txtWithdraw = nullptr;
    QLineEdit *txtRemarks = nullptr;
    QComboBox *cboLocation = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    int okClicks = 0;
    int cancelClicks = 0;
    int quantityChecks = 0;
    int locationChecks = 0;
};

enum class Leave { Tab, ClickField, ClickOK, ClickCancel };

struct LeaveCase
{
    const char *name;
    const char *quantity;
    Leave leave;
    bool staysInField;
    int okClicks;
    int cancelClicks;
    int checks;
};

void PrintTo(const LeaveCase &c, std::ostream *os)
{
    *os << c.name;
}

class ValidateOnLeaveCases : public ValidateOnLeave, public ::testing::WithParamInterface<LeaveCase>
{
};

TEST_P(ValidateOnLeaveCases, FocusAndClickFollowTheValidation)
{
    const LeaveCase c = GetParam();
    focusOn(txtWithdraw);
    auto *remarksFocus = new FocusCounter(txtRemarks);
    txtWithdraw->setText(QString::fromLatin1(c.quantity));
    QWidget *destination = nullptr;
    switch (c.leave) {
    case Leave::Tab:
        QTest::keyClick(txtWithdraw, Qt::Key_Tab);
        destination = txtRemarks;
        break;
    case Leave::ClickField:
        click(txtRemarks);
        destination = txtRemarks;
        break;
    case Leave::ClickOK:
        click(cmdOK);
        destination = cmdOK;
        break;
    case Leave::ClickCancel:
        click(cmdCancel);
        destination = cmdCancel;
        break;
    }
    EXPECT_EQ(QApplication::focusWidget(), c.staysInField ? txtWithdraw : destination);
    EXPECT_EQ(okClicks, c.okClicks);
    EXPECT_EQ(cancelClicks, c.cancelClicks);
    EXPECT_EQ(quantityChecks, c.checks);
    EXPECT_EQ(prompt.texts().size(), c.staysInField ? 1 : 0);
    if (c.staysInField) {
        EXPECT_EQ(remarksFocus->count,
                  0); // the control that would have taken the focus never had it
    }

    // Putting the entry right lets the focus go the next time.
    if (c.staysInField) {
        txtWithdraw->setText(QStringLiteral("5"));
        QTest::keyClick(txtWithdraw, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), txtRemarks);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Leaving, ValidateOnLeaveCases,
    ::testing::Values(LeaveCase {"TabFromRefused", "abc", Leave::Tab, true, 0, 0, 1},
                      LeaveCase {"TabFromAccepted", "12", Leave::Tab, false, 0, 0, 1},
                      LeaveCase {"ClickFieldFromRefused", "abc", Leave::ClickField, true, 0, 0, 1},
                      LeaveCase {"ClickOKFromRefused", "abc", Leave::ClickOK, true, 0, 0, 1},
                      LeaveCase {"ClickOKFromAccepted", "12", Leave::ClickOK, false, 1, 0, 1},
                      LeaveCase {"CancelDoesNotValidate", "abc", Leave::ClickCancel, false, 0, 1,
                                 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ValidateOnLeave, AHandlerThatMovesTheFocusItselfIsNotRunAgain)
{
    ui::setValidator(txtRemarks, [this](bool &cancel) {
        ++quantityChecks;
        cboLocation->setFocus(); // as a handler sending the user to another field does
        txtWithdraw->setFocus();
        cancel = true;
    });
    focusOn(txtRemarks);
    quantityChecks = 0;
    QTest::keyClick(txtRemarks, Qt::Key_Tab);
    EXPECT_EQ(quantityChecks, 1);
    EXPECT_EQ(locationChecks, 0);
    EXPECT_EQ(QApplication::focusWidget(), txtRemarks);
}

TEST_F(ValidateOnLeave, AHandlerMayPassTheFocusOnElsewhere)
{
    ui::setValidator(txtRemarks, [this](bool &) { cmdOK->setFocus(); });
    auto *withdrawFocus = new FocusCounter(txtWithdraw);
    focusOn(txtRemarks);
    click(txtWithdraw);
    EXPECT_EQ(QApplication::focusWidget(), cmdOK);
    EXPECT_EQ(withdrawFocus->count, 0);
}

TEST_F(ValidateOnLeave, AnEditableComboIsOneControl)
{
    focusOn(cboLocation);
    cboLocation->setEditText(QStringLiteral("NOWHERE"));
    click(cboLocation->lineEdit()); // inside the combo: no validation
    EXPECT_EQ(locationChecks, 0);
    click(cmdOK);
    EXPECT_EQ(locationChecks, 1);
    EXPECT_EQ(okClicks, 0);
    EXPECT_TRUE(cboLocation->hasFocus() || cboLocation->lineEdit()->hasFocus());

    cboLocation->setEditText(QStringLiteral("WARD 1"));
    click(cmdOK);
    EXPECT_EQ(locationChecks, 2);
    EXPECT_EQ(okClicks, 1);
}

TEST_F(ValidateOnLeave, AButtonsAccessKeyValidatesFirst)
{
    cmdOK->setText(QStringLiteral("&Save"));
    focusOn(txtWithdraw);
    txtWithdraw->setText(QStringLiteral("abc"));
    QTest::keyClick(txtWithdraw, Qt::Key_S, Qt::AltModifier);
    QTest::qWait(300); // a button pressed by its access key clicks a moment later
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(quantityChecks, 1);
    EXPECT_TRUE(txtWithdraw->hasFocus());

    txtWithdraw->setText(QStringLiteral("4"));
    QTest::keyClick(txtWithdraw, Qt::Key_S, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(quantityChecks, 2);
}

TEST_F(ValidateOnLeave, DirectValidationAnswersCancel)
{
    txtWithdraw->setText(QStringLiteral("abc"));
    EXPECT_TRUE(ui::validate(txtWithdraw));
    txtWithdraw->setText(QStringLiteral("3"));
    EXPECT_FALSE(ui::validate(txtWithdraw));
    EXPECT_FALSE(ui::validate(txtRemarks)); // no handler
    EXPECT_EQ(quantityChecks, 2);
    EXPECT_TRUE(ui::hasValidator(txtWithdraw));
    ui::setValidator(txtWithdraw, nullptr);
    EXPECT_FALSE(ui::hasValidator(txtWithdraw));
}

TEST_F(ValidateOnLeave, AHiddenControlIsNotValidated)
{
    focusOn(txtWithdraw);
    txtWithdraw->setText(QStringLiteral("abc"));
    txtWithdraw->hide(); // the focus moves on by itself
    EXPECT_EQ(quantityChecks, 0);
    EXPECT_NE(QApplication::focusWidget(), txtWithdraw);
}

} // namespace
