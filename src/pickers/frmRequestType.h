#pragma once

#include <QDialog>

class QPushButton;

// Asks whether a new document is a request or a return.
class frmRequestType final : public QDialog
{
    Q_OBJECT

public:
    explicit frmRequestType(QWidget *parent = nullptr);

    bool IsRequest = false;
    bool Cancelled = false;

    QPushButton *cmdInvRequest[2];
    QPushButton *cmdX;

protected:
    void reject() override;

private:
    void cmdInvRequest_Click(int index);
    void cmdX_Click();
};
