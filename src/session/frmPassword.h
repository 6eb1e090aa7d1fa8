#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// Asks for the hospital's OPD password before the workstation's default location may change.
// One shared instance: EnteredPassword keeps the last entry between showings.
class frmPassword final : public QDialog
{
    Q_OBJECT

public:
    static frmPassword &instance();

    explicit frmPassword(QWidget *parent = nullptr);

    QString EnteredPassword;

    QLineEdit *txtPassword;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
