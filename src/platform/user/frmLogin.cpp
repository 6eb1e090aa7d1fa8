#include "platform/user/frmLogin.h"

#include "platform/db/Connection.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFormLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <mutex>
#include <thread>

namespace user {

namespace {

// One opening of the database on a worker thread. The worker keeps its own copy of the target,
// so an attempt given up may finish after the dialog has gone; it then closes what it opened.
struct Attempt
{
    std::mutex mutex;
    bool done = false;
    bool abandoned = false;
    std::unique_ptr<db::Connection> connection;
    QString error;
};

} // namespace

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

    txtServerPassword = new QLineEdit(this);
    txtServerPassword->setObjectName(QStringLiteral("txtServerPassword"));
    txtServerPassword->setEchoMode(QLineEdit::Password);

    prgConnecting = new QProgressBar(this);
    prgConnecting->setObjectName(QStringLiteral("prgConnecting"));
    prgConnecting->setRange(0, 0); // busy: how long the server takes is not known
    prgConnecting->setTextVisible(false);
    prgConnecting->setVisible(false);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setVisible(false);
    lblStatus->setWordWrap(true);

    auto *heading = new QLabel(QStringLiteral("Log in to the stock request system"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Server:"), txtServer);
    form->addRow(QStringLiteral("Employee ID:"), txtEmployeeID);
    form->addRow(QStringLiteral("Password:"), txtPassword);
    if (user.needsServerPassword())
        form->addRow(QStringLiteral("Database password:"), txtServerPassword);
    else
        txtServerPassword->setVisible(false);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(lblStatus);
    layout->addWidget(prgConnecting);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The button box would accept on its own; OK accepts only after the check.
    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
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

void frmLogin::reject()
{
    // Escape while connecting gives up the attempt, not the log-in.
    if (m_connecting) {
        cmdCancel_Click();
        return;
    }
    QDialog::reject();
}

void frmLogin::cmdCancel_Click()
{
    if (m_connecting && m_abandon) {
        m_abandon();
        return;
    }
    QDialog::reject();
}

void frmLogin::setConnecting(bool connecting)
{
    m_connecting = connecting;
    prgConnecting->setVisible(connecting);
    lblStatus->setVisible(connecting);
    if (connecting)
        lblStatus->setText(QStringLiteral("Connecting to %1 ... (Cancel to stop)")
                               .arg(QDir::toNativeSeparators(m_user.ServerName())));
    txtEmployeeID->setEnabled(!connecting);
    txtPassword->setEnabled(!connecting);
    txtServerPassword->setEnabled(!connecting);
    cmdOK->setEnabled(!connecting);
    if (connecting)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

bool frmLogin::openDatabase()
{
    if (!txtServerPassword->isHidden())
        m_user.setServerPassword(txtServerPassword->text());

    auto attempt = std::make_shared<Attempt>();
    QThread *window = thread();
    std::thread([attempt, target = m_user.target(), window] {
        std::unique_ptr<db::Connection> connection;
        QString error;
        try {
            connection = CurrentUser(target).openConnection();
        } catch (const db::DatabaseError &e) {
            error = e.message();
        } catch (const std::exception &e) {
            error = QString::fromLocal8Bit(e.what());
        }
        std::unique_lock lock(attempt->mutex);
        if (!attempt->abandoned && connection)
            connection->moveToThread(window);
        if (!attempt->abandoned)
            attempt->connection = std::move(connection);
        attempt->error = error;
        attempt->done = true;
        lock.unlock();
        connection.reset(); // an abandoned attempt closes its connection here
    }).detach();

    QEventLoop loop;
    bool timedOut = false;
    bool cancelled = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const std::lock_guard lock(attempt->mutex);
        if (attempt->done)
            loop.quit();
    });
    // The driver has its own log-on timeout; this one also covers drivers that ignore it.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    m_abandon = [&] {
        cancelled = true;
        loop.quit();
    };
    setConnecting(true);
    poll.start();
    deadline.start(std::max(1, m_user.target().loginTimeoutSeconds) * 1000 + 2000);
    bool done = false;
    {
        const std::lock_guard lock(attempt->mutex);
        done = attempt->done;
    }
    if (!done)
        loop.exec();
    m_abandon = nullptr;
    setConnecting(false);

    std::unique_lock lock(attempt->mutex);
    if (!attempt->done || cancelled) {
        attempt->abandoned = true;
        std::unique_ptr<db::Connection> late = std::move(attempt->connection);
        lock.unlock();
        late.reset();
        if (timedOut && !cancelled)
            ui::msgBox(QStringLiteral("The database %1 did not answer within %2 seconds.\n\n"
                                      "Check that the server is running and reachable from "
                                      "this workstation, or start the program with a longer "
                                      "--login-timeout.")
                           .arg(QDir::toNativeSeparators(m_user.ServerName()))
                           .arg(m_user.target().loginTimeoutSeconds),
                       ui::Buttons::Ok, ui::Icon::Critical);
        return false;
    }
    if (!attempt->connection) {
        const QString error = attempt->error;
        lock.unlock();
        ui::msgBox(error, ui::Buttons::Ok, ui::Icon::Critical);
        return false;
    }
    m_connection = std::move(attempt->connection);
    lock.unlock();
    txtServer->setText(QDir::toNativeSeparators(m_connection->serverName()));
    return true;
}

void frmLogin::cmdOK_Click()
{
    if (m_connecting)
        return;
    if (!m_connection && !openDatabase())
        return;

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
