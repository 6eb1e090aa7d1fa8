#include "platform/ui/Shell.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

void Shell::SendKeys(const QString &keys)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return;
    if (keys.compare(QLatin1String("{Tab}"), Qt::CaseInsensitive) == 0) {
        // Move on as Tab would, within the focused control's window.
        QWidget *window = focus->window();
        QWidget *next = focus->nextInFocusChain();
        while (next && next != focus) {
            if (next->window() == window && next->isVisible() && next->isEnabled()
                && (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
                next->setFocus(Qt::TabFocusReason);
                return;
            }
            next = next->nextInFocusChain();
        }
        return;
    }
    for (const QChar ch : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(focus, &press);
    }
}

} // namespace ui
