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
    const QString encoded
        = EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey), strPassword);
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select EmployeeId, Password ")
        + QStringLiteral("from password..tbpasswordmain ") + QStringLiteral("where  Employeeid = '")
        + db::quoteInner(strEmployeeID) + QStringLiteral("' and Password = '")
        + db::quoteInner(encoded) + QStringLiteral("'"));
    const bool found = rs.recordCount() > 0;
    rs.close();
    return found;
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
    bool valid = false;
    try {
        valid = GetPassword(txtUserID->text().trimmed(), txtPassword->text().trimmed());
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok);
        return;
    }
    if (valid) {
        OKCharge = true;
        VerifyID = txtUserID->text().trimmed();
        accept();
        return;
    }
    ui::msgBox(QStringLiteral("Password not valid!"), ui::Buttons::Ok, ui::Icon::Information);
    txtPassword->setFocus();
}
