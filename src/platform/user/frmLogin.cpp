#include "platform/user/frmLogin.h"

#include "platform/db/Connection.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace user {

frmLogin::frmLogin(CurrentUser &user, QWidget *parent)
    : QDialog(parent)
    , m_user(user)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(ui::applicationTitle() + QStringLiteral(" - Log In"));

    txtServer = new QLineEdit(this);
    txtServer->setObjectName(QStringLiteral("txtServer"));
    txtServer->setReadOnly(true);
    txtServer->setFocusPolicy(Qt::NoFocus);
    txtServer->setText(QDir::toNativeSeparators(user.ServerName()));
    txtServer->setMinimumWidth(320);

    txtEmployeeID = new QLineEdit(this);
    txtEmployeeID->setObjectName(QStringLiteral("txtEmployeeID"));
    txtEmployeeID->setMaxLength(20);

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMaxLength(50);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *heading = new QLabel(QStringLiteral("Log in to the stock request system"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Server:"), txtServer);
    form->addRow(QStringLiteral("Employee ID:"), txtEmployeeID);
    form->addRow(QStringLiteral("Password:"), txtPassword);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The button box would accept on its own; OK accepts only after the check.
    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    txtEmployeeID->installEventFilter(this);
    txtEmployeeID->setFocus();
}

bool frmLogin::eventFilter(QObject *watched, QEvent *event)
{
    // Enter after the employee id goes on to the password instead of trying an empty one.
    if (watched == txtEmployeeID && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtPassword->setFocus(Qt::TabFocusReason);
            txtPassword->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

frmLogin::~frmLogin() = default;

void frmLogin::cmdOK_Click()
{
    if (!m_connection) {
        try {
            m_connection = m_user.openConnection();
        } catch (const db::DatabaseError &error) {
            ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
            return;
        }
        txtServer->setText(QDir::toNativeSeparators(m_connection->serverName()));
    }

    QString employeeCode;
    try {
        employeeCode = CurrentUser::checkPassword(*m_connection, txtEmployeeID->text().trimmed(),
                                                  txtPassword->text().trimmed());
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
        return;
    }
    if (employeeCode.isEmpty()) {
        ui::msgBox(QStringLiteral("Invalid employee id or password."), ui::Buttons::Ok,
                   ui::Icon::Exclamation);
        txtPassword->setFocus();
        txtPassword->selectAll();
        return;
    }
    m_user.logIn(std::move(m_connection), employeeCode);
    accept();
}

} // namespace user
