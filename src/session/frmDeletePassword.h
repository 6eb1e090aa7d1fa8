#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// The second person's confirmation: an employee id and password checked against the hospital's
// password table. The caller shows the one shared instance modally, then reads OKCharge and,
// when it is true, VerifyID.
class frmDeletePassword final : public QDialog
{
    Q_OBJECT

public:
    // The single shared instance; its results stay readable until the next showing.
    static frmDeletePassword &instance();

    explicit frmDeletePassword(QWidget *parent = nullptr);

    // Does the password table hold this employee with this (plain) password?
    static bool GetPassword(const QString &strEmployeeID, const QString &strPassword);

    bool OKCharge = false;
    QString VerifyID;

    QLineEdit *txtUserID;
    QLineEdit *txtPassword;
    QPushButton *cmdEnter;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdEnter_Click();
};
