#include "session/frmDeletePassword.h"

#include "platform/db/Connection.h"
#include "platform/ui/Prompt.h"
#include "session/EncodePassword.h"
#include "session/Inventory.h"
#include "session/PasswordMask.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

frmDeletePassword &frmDeletePassword::instance()
{
    // Created on first use and kept for the life of the program, as one form of its own.
    static QPointer<frmDeletePassword> shared;
    if (!shared)
        shared = new frmDeletePassword;
    return *shared;
}

frmDeletePassword::frmDeletePassword(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDeletePassword"));
    setWindowTitle(QStringLiteral("Password"));

    txtUserID = new QLineEdit(this);
    txtUserID->setObjectName(QStringLiteral("txtUserID"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    useMiddleDotMask(txtPassword);
    cmdEnter = new QPushButton(QStringLiteral("&Enter"), this);
    cmdEnter->setObjectName(QStringLiteral("cmdEnter"));
    // Enter is handled by the boxes themselves, never by a default button.
    cmdEnter->setAutoDefault(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    lblPurpose = new QLabel(this);
    lblPurpose->setObjectName(QStringLiteral("lblPurpose"));
    lblPurpose->setWordWrap(true);
    lblPurpose->setTextFormat(Qt::PlainText);
    lblPurpose->setMinimumWidth(300);
    lblPurpose->setVisible(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(lblPurpose, 0, 0, 1, 2);
    auto *userLabel = new QLabel(QStringLiteral("Employee &ID"), this);
    userLabel->setBuddy(txtUserID);
    layout->addWidget(userLabel, 1, 0);
    layout->addWidget(txtUserID, 1, 1);
    auto *passwordLabel = new QLabel(QStringLiteral("&Password"), this);
    passwordLabel->setBuddy(txtPassword);
    layout->addWidget(passwordLabel, 2, 0);
    layout->addWidget(txtPassword, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnter);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    txtUserID->setMinimumWidth(180);

    txtUserID->installEventFilter(this);
    txtPassword->installEventFilter(this);
    connect(cmdEnter, &QPushButton::clicked, this, &frmDeletePassword::cmdEnter_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmDeletePassword::setDocument(const QString &kind, const QString &documentNumber)
{
    const QString number = documentNumber.trimmed();
    const QString document = number.isEmpty() || number == QLatin1String("NEW")
        ? QStringLiteral("the new %1 (numbered when it is saved)").arg(kind)
        : QStringLiteral("%1 %2").arg(kind, number);
    lblPurpose->setText(QStringLiteral("Verification of %1.\nA second person confirms it with "
                                       "their own employee id and password.")
                            .arg(document));
    lblPurpose->setVisible(true);
    setWindowTitle(QStringLiteral("Password - verify %1")
                       .arg(number.isEmpty() || number == QLatin1String("NEW") ? kind : number));
}

QString frmDeletePassword::purpose() const
{
    return lblPurpose->isHidden() ? QString() : lblPurpose->text();
}

void frmDeletePassword::done(int result)
{
    // The document named holds for one showing; the next caller names its own.
    lblPurpose->clear();
    lblPurpose->setVisible(false);
    setWindowTitle(QStringLiteral("Password"));
    QDialog::done(result);
}

bool frmDeletePassword::GetPassword(const QString &strEmployeeID, const QString &strPassword)
{
    return !StoredEmployeeID(strEmployeeID, strPassword).isEmpty();
}

QString frmDeletePassword::StoredEmployeeID(const QString &strEmployeeID,
                                            const QString &strPassword)
{
    const QString encoded
        = EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey), strPassword);
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select EmployeeId, Password ")
        + QStringLiteral("from password..tbpasswordmain ") + QStringLiteral("where  Employeeid = '")
        + db::quoteInner(strEmployeeID) + QStringLiteral("' and Password = '")
        + db::quoteInner(encoded) + QStringLiteral("'"));
    if (rs.recordCount() == 0)
        return QString();
    // The table compares ids without regard to letter case or trailing blanks; the id kept is
    // its own spelling.
    const QString stored = rs.text(QStringLiteral("EmployeeId")).trimmed();
    rs.close();
    return stored.isEmpty() ? strEmployeeID : stored;
}

bool frmDeletePassword::HasVerifyRight(const QString &employeeID)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select isVerifyInventoryRequest from Inventory..tbInvUserSettings Where "
                       "UserID = '")
        + db::quoteInner(employeeID) + QStringLiteral("'"));
    if (rs.eof())
        return false;
    const QVariant right = rs.field(QStringLiteral("isVerifyInventoryRequest"));
    if (right.isNull())
        return false;
    if (right.typeId() == QMetaType::QString) {
        const QString text = right.toString().trimmed();
        return text == QLatin1String("1")
            || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    return right.toDouble() != 0;
}

void frmDeletePassword::setVerificationRule(const QString &authorID)
{
    m_verifying = true;
    m_authorID = authorID.trimmed();
}

void frmDeletePassword::clearVerificationRule()
{
    m_verifying = false;
    m_authorID.clear();
}

QString frmDeletePassword::refusal(const QString &employeeID) const
{
    if (!m_verifying)
        return QString();
    // Ids compare as the server compares them: letter case and trailing blanks do not count.
    if (!m_authorID.isEmpty() && employeeID.trimmed().compare(m_authorID, Qt::CaseInsensitive) == 0)
        return QStringLiteral("Employee ") + employeeID
            + QStringLiteral(" wrote this request and cannot verify it. Another employee must "
                             "confirm.");
    if (!HasVerifyRight(employeeID))
        return QStringLiteral("Employee ") + employeeID
            + QStringLiteral(" is not allowed to verify requests.");
    return QString();
}

void frmDeletePassword::showEvent(QShowEvent *event)
{
    // Every showing starts afresh: nothing confirmed, no id, empty boxes.
    OKCharge = false;
    VerifyID.clear();
    txtUserID->clear();
    txtPassword->clear();
    QDialog::showEvent(event);
    txtUserID->setFocus();
}

bool frmDeletePassword::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == txtUserID || watched == txtPassword)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtUserID)
                txtPassword->setFocus();
            else
                cmdEnter_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmDeletePassword::cmdEnter_Click()
{
    QString employee;
    QString refused;
    try {
        employee = StoredEmployeeID(txtUserID->text().trimmed(), txtPassword->text().trimmed());
        if (!employee.isEmpty())
            refused = refusal(employee);
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok);
        return;
    }
    if (employee.isEmpty()) {
        ui::msgBox(QStringLiteral("Password not valid!"), ui::Buttons::Ok, ui::Icon::Information);
        // The wrong password is selected, so typing replaces it.
        txtPassword->setFocus();
        txtPassword->selectAll();
        return;
    }
    if (!refused.isEmpty()) {
        // Another employee is to confirm: his id is asked afresh.
        ui::msgBox(refused, ui::Buttons::Ok, ui::Icon::Information);
        txtPassword->clear();
        txtUserID->setFocus();
        txtUserID->selectAll();
        return;
    }
    OKCharge = true;
    VerifyID = employee;
    accept();
}
