#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;
class QPushButton;

namespace db {
class Connection;
}

namespace user {

class CurrentUser;

// The log-in of the current-user component: the database it connects to (read-only), the
// employee id and the password. OK opens the database when it is not open yet, checks the
// password and, when it matches, hands the connection and the employee to the CurrentUser.
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdOK_Click();

    CurrentUser &m_user;
    // Kept open across wrong passwords so that each try does not reopen the database.
    std::unique_ptr<db::Connection> m_connection;
};

} // namespace user
