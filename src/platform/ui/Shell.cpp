#include "platform/ui/Shell.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

namespace {

void sendKey(QWidget *target, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

void Shell::SendKeys(const QString &keys)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return;
    if (keys.compare(QLatin1String("{Tab}"), Qt::CaseInsensitive) == 0) {
        // A real Tab keystroke to the focused control: Qt then moves the focus through the
        // window's tab order as the Tab key does, compound controls (an editable combo and
        // its line edit) counting as one.
        sendKey(focus, Qt::Key_Tab, QStringLiteral("\t"));
        return;
    }
    for (const QChar ch : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(focus, &press);
    }
}

} // namespace ui
