#include "platform/ui/ValidateOnLeave.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHash>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>

namespace ui {

namespace {

const char *const causesValidationProperty = "sr_causesValidation";

// One application-wide filter: it sees every change of focus before the control that gets it,
// and every mouse press, so that a cancelled validation can keep the focus where it was and
// keep the press from the button that was clicked.
class ValidationFilter final : public QObject
{
public:
    static ValidationFilter *instance(bool create)
    {
        static QPointer<ValidationFilter> filter;
        if (!filter && create && qApp) {
            filter = new ValidationFilter(qApp);
            qApp->installEventFilter(filter);
        }
        return filter;
    }

    void setHandler(QWidget *control, ValidateHandler handler)
    {
        if (!handler) {
            m_handlers.remove(control);
            return;
        }
        if (!m_handlers.contains(control)) {
            connect(control, &QObject::destroyed, this,
                    [this, control] { m_handlers.remove(control); });
        }
        m_handlers[control] = std::move(handler);
    }

    bool has(const QWidget *control) const { return m_handlers.contains(control); }

    bool run(QWidget *control)
    {
        const auto it = m_handlers.constFind(control);
        if (it == m_handlers.constEnd())
            return false;
        // A copy: the handler may replace itself while it runs.
        const ValidateHandler handler = *it;
        const QScopedValueRollback<bool> running(m_running, true);
        bool cancel = false;
        handler(cancel);
        return cancel;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (watched->isWidgetType())
                return focusIn(static_cast<QWidget *>(watched),
                               static_cast<QFocusEvent *>(event)->reason());
            break;
        case QEvent::Shortcut:
            if (watched->isWidgetType())
                return shortcut(static_cast<QWidget *>(watched));
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return m_swallowClick && watched->isWidgetType();
        case QEvent::MouseButtonRelease:
            if (m_swallowClick && watched->isWidgetType()) {
                m_swallowClick = false;
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    explicit ValidationFilter(QObject *parent)
        : QObject(parent)
        , m_lastFocus(QApplication::focusWidget())
    { }

    // The control with a handler that the widget belongs to (an editable combo's line edit
    // belongs to the combo).
    QWidget *controlOf(QWidget *widget) const
    {
        for (QWidget *w = widget; w; w = w->parentWidget()) {
            if (m_handlers.contains(w))
                return w;
            if (w->isWindow())
                break;
        }
        return nullptr;
    }

    static bool validatesLeaving(const QWidget *target)
    {
        for (const QWidget *w = target; w; w = w->parentWidget()) {
            if (!causesValidation(w))
                return false;
            if (w->isWindow())
                break;
        }
        return true;
    }

    // The control whose handler must run when the focus goes from previous to target, or none.
    QWidget *controlLeft(QWidget *previous, QWidget *target) const
    {
        if (m_running || !previous || !target || previous == target)
            return nullptr;
        QWidget *control = controlOf(previous);
        if (!control || control == target || control->isAncestorOf(target))
            return nullptr;
        if (previous->window() != target->window() || !validatesLeaving(target))
            return nullptr;
        // A control hidden or disabled under the focus is not left by the user's choice.
        if (!control->isVisible() || !control->isEnabled())
            return nullptr;
        return control;
    }

    bool focusIn(QWidget *target, Qt::FocusReason reason)
    {
        const QPointer<QWidget> previous = m_lastFocus;
        m_lastFocus = target;
        QWidget *control = controlLeft(previous, target);
        if (!control)
            return false;
        if (control == m_passed) {
            m_passed = nullptr;
            return false;
        }
        if (!run(control)) {
            // A handler that sent the focus elsewhere itself has the last word: the target,
            // no longer focused, must not act as if it were.
            return QApplication::focusWidget() != target;
        }

        // Cancelled: the focus goes back, and the control that was to get it never sees it.
        restoreFocus(previous);
        if (reason == Qt::MouseFocusReason && QGuiApplication::mouseButtons() != Qt::NoButton)
            m_swallowClick = true;
        return true;
    }

    // A button's access key (Alt+letter) focuses the button and then clicks it: the control
    // being left is validated before, and a cancel keeps the button from being pressed.
    bool shortcut(QWidget *target)
    {
        auto *button = qobject_cast<QAbstractButton *>(target);
        if (!button || button->focusPolicy() == Qt::NoFocus)
            return false;
        QWidget *previous = QApplication::focusWidget();
        QWidget *control = controlLeft(previous, button);
        if (!control)
            return false;
        if (run(control)) {
            restoreFocus(previous);
            return true;
        }
        // Passed: the focus change that follows is not validated a second time.
        m_passed = control;
        QTimer::singleShot(0, this, [this] { m_passed = nullptr; });
        return false;
    }

    void restoreFocus(const QPointer<QWidget> &previous)
    {
        if (previous) {
            const QScopedValueRollback<bool> running(m_running, true);
            previous->setFocus(Qt::OtherFocusReason);
        }
        m_lastFocus = QApplication::focusWidget();
    }

    QHash<const QWidget *, ValidateHandler> m_handlers;
    QPointer<QWidget> m_lastFocus;
    bool m_running = false;
    bool m_swallowClick = false;
    QPointer<QWidget> m_passed;
};

} // namespace

void setValidator(QWidget *control, ValidateHandler handler)
{
    if (!control)
        return;
    if (ValidationFilter *filter = ValidationFilter::instance(true))
        filter->setHandler(control, std::move(handler));
}

bool hasValidator(const QWidget *control)
{
    const ValidationFilter *filter = ValidationFilter::instance(false);
    return filter && control && filter->has(control);
}

bool validate(QWidget *control)
{
    ValidationFilter *filter = ValidationFilter::instance(false);
    return filter && control && filter->run(control);
}

void setCausesValidation(QWidget *control, bool causesValidation)
{
    if (control)
        control->setProperty(causesValidationProperty, causesValidation);
}

bool causesValidation(const QWidget *control)
{
    if (!control)
        return true;
    const QVariant set = control->property(causesValidationProperty);
    return !set.isValid() || set.toBool();
}

} // namespace ui
