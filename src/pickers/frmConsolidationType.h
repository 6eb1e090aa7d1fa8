#pragma once

#include <QDialog>

class QPushButton;

// Asks whether a new request is an ordinary or a consolidation request; the latter only for
// users with the consolidation right.
class frmConsolidationType final : public QDialog
{
    Q_OBJECT

public:
    explicit frmConsolidationType(QWidget *parent = nullptr);

    bool IsConsolidation = false;
    bool Cancelled = false;

    QPushButton *cmdInvRequest[2];
    QPushButton *cmdX;

protected:
    void reject() override;

private:
    void cmdInvRequest_Click(int index);
    void cmdX_Click();
};
