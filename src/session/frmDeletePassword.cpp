#include "session/frmDeletePassword.h"

#include "platform/db/Connection.h"
#include "platform/ui/Prompt.h"
#include "session/EncodePassword.h"
#include "session/Inventory.h"
#include "session/PasswordMask.h"

#include <QGridLayout>
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

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Employee ID"), this), 0, 0);
    layout->addWidget(txtUserID, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Password"), this), 1, 0);
    layout->addWidget(txtPassword, 1, 1);
    layout->addWidget(cmdEnter, 2, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    txtUserID->setMinimumWidth(180);

    txtUserID->installEventFilter(this);
    txtPassword->installEventFilter(this);
    connect(cmdEnter, &QPushButton::clicked, this, &frmDeletePassword::cmdEnter_Click);
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
        txtPassword->setFocus();
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
