// Password encoding, the second person's confirmation and the guarded default-location change.
#include "session/LoggedInTest.h"

#include "platform/ui/DataCombo.h"
#include "session/DefaultLocationGuard.h"
#include "session/Settings.h"
#include "session/frmDefaultLocation.h"
#include "session/frmDeletePassword.h"
#include "session/frmPassword.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testing_support::LoggedInTest;

namespace {

QString encode(const QString &password)
{
    return EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey), password);
}

struct EncodingCase
{
    const char *name;
    const char *password;
    const char *encoded;
};

class EncodingTest : public ::testing::TestWithParam<EncodingCase>
{
};

// Reference values worked out by hand from the encoder's definition.
TEST_P(EncodingTest, KnownValues)
{
    EXPECT_EQ(encode(QString::fromLatin1(GetParam().password)),
              QString::fromLatin1(GetParam().encoded));
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, EncodingTest,
    ::testing::Values(EncodingCase {"Empty", "", "4B"}, EncodingCase {"Demo", "demo", "4BFE31DF 1"},
                      EncodingCase {"BlankInside", "secret", "4BEF 022DA14CD"},
                      // The 14th character is encoded with the key's first letter again.
                      EncodingCase {"KeyReused", "AAAAAAAAAAAAAA",
                                    "4BDD4ACA42D75CD151C04BD459D748"}),
    [](const auto &info) { return std::string(info.param.name); });

struct CodePageCase
{
    const char *name;
    char16_t character;
    int code; // its Windows-1252 code, '?' when the code page lacks it
};

class CodePageTest : public ::testing::TestWithParam<CodePageCase>
{
};

// A password is encoded from the Windows-1252 code of each character, as the stored ones were
// made: one character gives the pair ((code + 0x4B) mod 255) XOR the key's first letter.
TEST_P(CodePageTest, EachCharacterCountsWithItsWindowsCode)
{
    const CodePageCase &c = GetParam();
    const int value = ((c.code + PasswordInitialValue) % 255) ^ 'Q';
    EXPECT_EQ(encode(QString(QChar(c.character))),
              QStringLiteral("4B") + QString::number(value, 16).toUpper().rightJustified(2, u' '));
    // Within a longer password too, and never confused with the question mark.
    const QString password = QStringLiteral("ab") + QChar(c.character) + QStringLiteral("9");
    if (c.code != '?')
        EXPECT_NE(encode(password), encode(QStringLiteral("ab?9")));
}

INSTANTIATE_TEST_SUITE_P(Characters, CodePageTest,
                         ::testing::Values(CodePageCase {"Euro", u'\u20AC', 0x80},
                                           CodePageCase {"EnDash", u'\u2013', 0x96},
                                           CodePageCase {"EmDash", u'\u2014', 0x97},
                                           CodePageCase {"LeftSingleQuote", u'\u2018', 0x91},
                                           CodePageCase {"RightDoubleQuote", u'\u201D', 0x94},
                                           CodePageCase {"Ellipsis", u'\u2026', 0x85},
                                           CodePageCase {"ETilde", u'\u00E9', 0xE9},
                                           CodePageCase {"NoBreakSpace", u'\u00A0', 0xA0},
                                           CodePageCase {"Omega", u'\u03A9', '?'}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Encoding, EuroSignIsCode80)
{
    EXPECT_EQ(encode(QStringLiteral("\u20AC")), QStringLiteral("4B9A"));
}

TEST(Encoding, EveryPairDependsOnEveryEarlierCharacter)
{
    const QString a = encode(QStringLiteral("apple"));
    const QString b = encode(QStringLiteral("bpple"));
    ASSERT_EQ(a.size(), 2 + 2 * 5);
    ASSERT_EQ(b.size(), a.size());
    EXPECT_EQ(a.left(2), b.left(2));
    for (int i = 2; i < a.size(); i += 2)
        EXPECT_NE(a.mid(i, 2), b.mid(i, 2)) << "pair " << i / 2;
    // Thirteen characters use the whole key; the fourteenth starts it again, so a change of the
    // key's reuse would change the last pair only.
    EXPECT_EQ(encode(QString(14, QLatin1Char('A'))).left(28),
              encode(QString(13, QLatin1Char('A'))));
}

class DeletePasswordTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        addEmployee(QStringLiteral("NURSE9"), QStringLiteral("secret"));
        statements.clear();
    }

    // Shows the shared instance and lets the test act on it while it is open.
    frmDeletePassword &show(const std::function<void(frmDeletePassword &)> &act)
    {
        frmDeletePassword &form = frmDeletePassword::instance();
        modal.expect([&form, act](QDialog &) {
            form.activateWindow();
            act(form);
        });
        ui::showModal(form);
        return form;
    }
};

TEST_F(DeletePasswordTest, LookUpStatementText)
{
    EXPECT_TRUE(frmDeletePassword::GetPassword(QStringLiteral("NURSE9"), QStringLiteral("secret")));
    EXPECT_EQ(statements.value(0),
              QStringLiteral("Select EmployeeId, Password from password..tbpasswordmain where  "
                             "Employeeid = 'NURSE9' and Password = '4BEF 022DA14CD'"));
    EXPECT_FALSE(
        frmDeletePassword::GetPassword(QStringLiteral("NURSE9"), QStringLiteral("Secret")));
    EXPECT_FALSE(
        frmDeletePassword::GetPassword(QStringLiteral("NURSE2"), QStringLiteral("secret")));
}

TEST_F(DeletePasswordTest, QuotesCannotOpenTheLookUp)
{
    const QString injection = QStringLiteral("' or '1'='1");
    EXPECT_FALSE(frmDeletePassword::GetPassword(injection, QStringLiteral("x")));
    EXPECT_FALSE(frmDeletePassword::GetPassword(QStringLiteral("NURSE9"), injection));
    EXPECT_FALSE(frmDeletePassword::GetPassword(injection, injection));
    EXPECT_TRUE(prompt.shown().empty());
    frmDeletePassword &form = show([&](frmDeletePassword &f) {
        f.txtUserID->setText(injection);
        f.txtPassword->setText(injection);
        f.cmdEnter->click();
        EXPECT_TRUE(f.isVisible());
        f.reject();
    });
    EXPECT_FALSE(form.OKCharge);
    EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Password not valid!")});
}

TEST_F(DeletePasswordTest, EnterMovesOnThenChecksTrimmedEntries)
{
    frmDeletePassword &form = show([](frmDeletePassword &f) {
        EXPECT_TRUE(f.txtUserID->hasFocus());
        QTest::keyClicks(f.txtUserID, QStringLiteral(" NURSE9 "));
        QTest::keyClick(f.txtUserID, Qt::Key_Return);
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.txtPassword->hasFocus());
        QTest::keyClicks(f.txtPassword, QStringLiteral("secret "));
        EXPECT_EQ(f.txtPassword->displayText(), QString(7, QChar(0xB7)));
        QTest::keyClick(f.txtPassword, Qt::Key_Return);
    });
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.OKCharge);
    EXPECT_EQ(form.VerifyID, QStringLiteral("NURSE9"));
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(DeletePasswordTest, WrongPasswordKeepsTheDialogOpen)
{
    frmDeletePassword &form = show([this](frmDeletePassword &f) {
        f.txtUserID->setText(QStringLiteral("NURSE9"));
        f.txtPassword->setText(QStringLiteral("guess"));
        f.txtUserID->setFocus();
        f.cmdEnter->click();
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.OKCharge);
        EXPECT_TRUE(f.txtPassword->hasFocus());
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.lastText(), QStringLiteral("Password not valid!"));
        EXPECT_EQ(prompt.shown().front().icon, ui::Icon::Information);
        // Another try succeeds.
        f.txtPassword->setText(QStringLiteral("secret"));
        f.cmdEnter->click();
    });
    EXPECT_TRUE(form.OKCharge);
    EXPECT_EQ(form.VerifyID, QStringLiteral("NURSE9"));
}

TEST_F(DeletePasswordTest, EscapeClosesWithoutConfirmationAndEachShowingStartsAfresh)
{
    show([](frmDeletePassword &f) {
        f.txtUserID->setText(QStringLiteral("NURSE9"));
        f.txtPassword->setText(QStringLiteral("secret"));
        f.cmdEnter->click();
    });
    ASSERT_TRUE(frmDeletePassword::instance().OKCharge);

    for (const bool inPassword : {false, true}) {
        frmDeletePassword &form = show([inPassword](frmDeletePassword &f) {
            EXPECT_FALSE(f.OKCharge);
            EXPECT_TRUE(f.VerifyID.isEmpty());
            EXPECT_TRUE(f.txtUserID->text().isEmpty());
            EXPECT_TRUE(f.txtPassword->text().isEmpty());
            QLineEdit *box = inPassword ? f.txtPassword : f.txtUserID;
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.OKCharge);
        EXPECT_TRUE(form.VerifyID.isEmpty());
    }
}

class DefaultLocationTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        addLocations();
        frmPassword::instance().EnteredPassword.clear();
        Session.DefaultLocation = QStringLiteral("30");
    }

    void setOpdPassword(const QString &valueSql)
    {
        sql(QStringLiteral("DELETE patient_data..tbhospitalinfo"));
        sql(QStringLiteral("INSERT INTO patient_data..tbhospitalinfo (HospitalName, OPDPassword) "
                           "VALUES ('GENERAL HOSPITAL', %1)")
                .arg(valueSql));
    }

    // Types the text into frmPassword; Enter when enter is set, else closes it otherwise.
    void answerPassword(const QString &text, bool enter = true)
    {
        modal.expect([text, enter](QDialog &dialog) {
            auto &form = dynamic_cast<frmPassword &>(dialog);
            EXPECT_TRUE(form.txtPassword->text().isEmpty());
            form.txtPassword->setText(text);
            if (enter)
                QTest::keyClick(form.txtPassword, Qt::Key_Return);
            else
                form.reject();
        });
    }

    bool defaultLocationShown() const
    {
        return modal.shown().contains(QStringLiteral("frmDefaultLocation"));
    }
};

TEST_F(DefaultLocationTest, OpensOnlyWithTheExactOpdPassword)
{
    setOpdPassword(QStringLiteral("'Opd123'"));
    answerPassword(QStringLiteral("opd123"));
    ChangeDefaultLocation();
    EXPECT_FALSE(defaultLocationShown());

    answerPassword(QStringLiteral("Opd123 "));
    ChangeDefaultLocation();
    EXPECT_FALSE(defaultLocationShown());

    answerPassword(QStringLiteral("Opd123"));
    ChangeDefaultLocation();
    EXPECT_TRUE(defaultLocationShown());
    EXPECT_EQ(frmPassword::instance().EnteredPassword, QStringLiteral("Opd123"));
}

TEST_F(DefaultLocationTest, ClosingKeepsTheLastEntry)
{
    setOpdPassword(QStringLiteral("'Opd123'"));
    answerPassword(QStringLiteral("Opd123"));
    ChangeDefaultLocation();
    ASSERT_TRUE(defaultLocationShown());
    // Closed without Enter: the last entry still counts.
    answerPassword(QStringLiteral("wrong"), false);
    ChangeDefaultLocation();
    EXPECT_EQ(modal.shown().count(QStringLiteral("frmDefaultLocation")), 2);
}

TEST_F(DefaultLocationTest, EmptyOpdPasswordOpensOnAnEmptyEntry)
{
    setOpdPassword(QStringLiteral("NULL"));
    answerPassword(QStringLiteral("anything"), false);
    ChangeDefaultLocation();
    EXPECT_TRUE(defaultLocationShown());
}

TEST_F(DefaultLocationTest, DialogStoresTheChosenLocation)
{
    frmDefaultLocation form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Default Location"));
    EXPECT_EQ(form.cboDefaultLocation->Text(), QStringLiteral("WARD 3"));
    EXPECT_EQ(form.cboDefaultLocation->Tag, QStringLiteral("30"));
    EXPECT_EQ(form.cboDefaultLocation->count(), 2);

    form.cboDefaultLocation->setText(QStringLiteral("O'BRIEN WARD"));
    EXPECT_FALSE(form.cboDefaultLocation_Validate());
    form.cmdOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(Session.DefaultLocation, QStringLiteral("41"));
    EXPECT_EQ(readDefaultLocation(), QStringLiteral("41"));
}

TEST_F(DefaultLocationTest, LeavingTheComboForOkValidatesIt)
{
    Session.InventoryAccess = QStringLiteral("D");
    setOpdPassword(QStringLiteral("''"));
    answerPassword(QString());
    modal.expect([this](QDialog &dialog) {
        auto &form = dynamic_cast<frmDefaultLocation &>(dialog);
        form.activateWindow();
        form.cboDefaultLocation->setFocus();
        form.cboDefaultLocation->setText(QStringLiteral("O'BRIEN WARD"));
        QTest::mouseClick(form.cmdOK, Qt::LeftButton);
        // Refused: the dialog stays, the focus stays in the combo.
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(prompt.texts(), QStringList {QStringLiteral("Unauthorized Access...")});
        form.cboDefaultLocation->setText(QStringLiteral("WARD 3"));
        QTest::mouseClick(form.cmdOK, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    });
    Session.DefaultLocation.clear();
    ChangeDefaultLocation();
    EXPECT_EQ(Session.DefaultLocation, QStringLiteral("30"));
    EXPECT_EQ(readDefaultLocation(), QStringLiteral("30"));
}

TEST_F(DefaultLocationTest, ClosingTheDialogChangesNothing)
{
    setOpdPassword(QStringLiteral("''"));
    answerPassword(QString());
    modal.expect([](QDialog &dialog) {
        auto &form = dynamic_cast<frmDefaultLocation &>(dialog);
        form.cboDefaultLocation->setText(QStringLiteral("O'BRIEN WARD"));
        form.reject();
    });
    ChangeDefaultLocation();
    EXPECT_TRUE(defaultLocationShown());
    EXPECT_EQ(Session.DefaultLocation, QStringLiteral("30"));
    EXPECT_TRUE(readDefaultLocation().isEmpty());
}

} // namespace
