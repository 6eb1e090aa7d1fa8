#include "pickers/frmRequestType.h"

#include "pickers/TypeDialogLayout.h"

#include <QPushButton>

frmRequestType::frmRequestType(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRequestType"));
    setWindowTitle(QStringLiteral("Request Type"));
    pickers::buildTypeDialog(*this, QStringLiteral("Select Request Type:"),
                             QStringLiteral("Request"), QStringLiteral("Return"), cmdInvRequest,
                             cmdX);
    for (int i = 0; i < 2; ++i)
        connect(cmdInvRequest[i], &QPushButton::clicked, this,
                [this, i] { cmdInvRequest_Click(i); });
    connect(cmdX, &QPushButton::clicked, this, &frmRequestType::cmdX_Click);
}

void frmRequestType::cmdInvRequest_Click(int index)
{
    IsRequest = index == 0;
    accept();
}

void frmRequestType::cmdX_Click()
{
    Cancelled = true;
    QDialog::reject();
}

// The window's own close box (QDialog::closeEvent rejects) and Escape count as the close
// button.
void frmRequestType::reject()
{
    cmdX_Click();
}
