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
    // The employee id as the password table spells it when the id and password match; empty
    // when they do not.
    static QString StoredEmployeeID(const QString &strEmployeeID, const QString &strPassword);
    // May this employee verify requests (the verify right of his user settings)?
    static bool HasVerifyRight(const QString &employeeID);

    // While set, the confirmation is a verification of a document written by authorID: its
    // author may not confirm it, and the confirming employee needs the verify right.
    void setVerificationRule(const QString &authorID);
    void clearVerificationRule();

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
    // Why this (valid) employee may not confirm under the present rule; empty when he may.
    QString refusal(const QString &employeeID) const;

    bool m_verifying = false;
    QString m_authorID;
};
