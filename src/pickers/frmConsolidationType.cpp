#include "pickers/frmConsolidationType.h"

#include "pickers/TypeDialogLayout.h"
#include "session/Session.h"

#include <QPushButton>

frmConsolidationType::frmConsolidationType(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConsolidationType"));
    setWindowTitle(QStringLiteral("Request Type"));
    pickers::buildTypeDialog(*this, QStringLiteral("Select Request Type:"),
                             QStringLiteral("Inventory Request"),
                             QStringLiteral("Consolidation Request"), cmdInvRequest, cmdX);
    cmdInvRequest[1]->setEnabled(Session.ConsolidateIR);
    for (int i = 0; i < 2; ++i)
        connect(cmdInvRequest[i], &QPushButton::clicked, this,
                [this, i] { cmdInvRequest_Click(i); });
    connect(cmdX, &QPushButton::clicked, this, &frmConsolidationType::cmdX_Click);
}

void frmConsolidationType::cmdInvRequest_Click(int index)
{
    IsConsolidation = index == 1;
    accept();
}

void frmConsolidationType::cmdX_Click()
{
    Cancelled = true;
    QDialog::reject();
}

// The window's own close box (QDialog::closeEvent rejects) and Escape count as the close
// button.
void frmConsolidationType::reject()
{
    cmdX_Click();
}
