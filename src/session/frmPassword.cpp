#include "session/frmPassword.h"

#include "session/PasswordMask.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

frmPassword &frmPassword::instance()
{
    static QPointer<frmPassword> shared;
    if (!shared)
        shared = new frmPassword;
    return *shared;
}

frmPassword::frmPassword(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Password"));

    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    useMiddleDotMask(txtPassword);
    txtPassword->setMinimumWidth(200);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Password"), this));
    layout->addWidget(txtPassword);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    txtPassword->installEventFilter(this);
}

void frmPassword::showEvent(QShowEvent *event)
{
    // The box starts empty each time; the last entry stays in EnteredPassword.
    txtPassword->clear();
    QDialog::showEvent(event);
    txtPassword->setFocus();
}

bool frmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPassword && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EnteredPassword = txtPassword->text();
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
