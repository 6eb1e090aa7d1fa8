#include "pickers/TypeDialogLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pickers {

void buildTypeDialog(QDialog &dialog, const QString &question, const QString &first,
                     const QString &second, QPushButton *(&buttons)[2], QPushButton *&cmdX)
{
    auto *label = new QLabel(question, &dialog);
    label->setObjectName(QStringLiteral("lblQuestion"));
    const QString texts[2] = {first, second};
    auto *row = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        buttons[i] = new QPushButton(texts[i], &dialog);
        buttons[i]->setObjectName(QStringLiteral("cmdInvRequest_%1").arg(i));
        buttons[i]->setMinimumSize(150, 40);
        buttons[i]->setAutoDefault(false);
        row->addWidget(buttons[i]);
    }
    cmdX = new QPushButton(QStringLiteral("X"), &dialog);
    cmdX->setObjectName(QStringLiteral("cmdX"));
    cmdX->setAutoDefault(false);
    cmdX->setFixedWidth(30);
    cmdX->setToolTip(QStringLiteral("Close"));

    auto *top = new QHBoxLayout;
    top->addWidget(label, 1);
    top->addWidget(cmdX);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(top);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    buttons[0]->setFocus();
}

} // namespace pickers
