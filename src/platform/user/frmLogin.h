#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace db {
class Connection;
}

namespace user {

class CurrentUser;

// The log-in of the current-user component: the database it connects to (read-only), the
// employee id and the password, and the database password when the server needs one that was
// not given otherwise. OK opens the database when it is not open yet, checks the password and,
// when it matches, hands the connection and the employee to the CurrentUser. The database is
// opened on a worker thread while the window shows that it is connecting; Cancel (or the
// log-in timeout) gives up the attempt and leaves the dialog for another try.
class frmLogin final : public QDialog
{
    Q_OBJECT

public:
    explicit frmLogin(CurrentUser &user, QWidget *parent = nullptr);
    ~frmLogin() override;

    QLineEdit *txtServer;
    QLineEdit *txtEmployeeID;
    QLineEdit *txtPassword;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QLineEdit *txtServerPassword; // shown only when the server's password must be typed
    QProgressBar *prgConnecting;
    QLabel *lblStatus;

    // Connecting in the background, waiting for the database to answer.
    bool isConnecting() const { return m_connecting; }

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();
    // Opens the database off the window's thread; true when it is open.
    bool openDatabase();
    void setConnecting(bool connecting);

    CurrentUser &m_user;
    // Kept open across wrong passwords so that each try does not reopen the database.
    std::unique_ptr<db::Connection> m_connection;
    bool m_connecting = false;
    std::function<void()> m_abandon; // gives up the attempt under way
};

} // namespace user
