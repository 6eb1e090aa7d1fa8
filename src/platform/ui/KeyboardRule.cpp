#include "platform/ui/KeyboardRule.h"

#include "platform/ui/Shell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace ui {

namespace {

const char *const exemptProperty = "sr_keyboardRuleExempt";
const char *const selectAllName = "sr_selectAllOnFocus";

// One application-wide filter serves every form that has the rule, so that controls added to a
// form later are covered too. It acts on a key press where it is first delivered, the focused
// control, and leaves the copies that travel up to the parents alone.
class KeyboardRuleFilter final : public QObject
{
public:
    static KeyboardRuleFilter *instance()
    {
        static QPointer<KeyboardRuleFilter> filter;
        if (!filter && qApp) {
            filter = new KeyboardRuleFilter(qApp);
            qApp->installEventFilter(filter);
        }
        return filter;
    }

    void add(QWidget *form)
    {
        m_forms.removeAll(nullptr);
        for (const QPointer<QWidget> &known : std::as_const(m_forms)) {
            if (known == form)
                return;
        }
        m_forms.append(form);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        const QWidget *focus = QApplication::focusWidget();
        if (focus ? widget != focus : widget->focusPolicy() == Qt::NoFocus)
            return false;
        const QWidget *form = formOf(widget);
        if (!form || qobject_cast<QPushButton *>(widget) || exempt(widget, form))
            return false;
        return apply(widget, static_cast<QKeyEvent *>(event));
    }

private:
    using QObject::QObject;

    const QWidget *formOf(const QWidget *widget) const
    {
        for (const QPointer<QWidget> &form : m_forms) {
            if (form && (form == widget || form->isAncestorOf(widget)))
                return form;
        }
        return nullptr;
    }

    static bool exempt(const QWidget *widget, const QWidget *form)
    {
        for (const QWidget *w = widget; w; w = w->parentWidget()) {
            if (isKeyboardRuleExempt(w))
                return true;
            if (w == form)
                break;
        }
        return false;
    }

    // Controls that use Enter themselves: grids choose or open a row with it, multi-line
    // boxes start a new line.
    static bool takesEnter(const QWidget *widget)
    {
        return qobject_cast<const QAbstractItemView *>(widget)
            || qobject_cast<const QTextEdit *>(widget)
            || qobject_cast<const QPlainTextEdit *>(widget);
    }

    static bool apply(QWidget *widget, QKeyEvent *key)
    {
        constexpr Qt::KeyboardModifiers commandModifiers
            = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (takesEnter(widget) || (key->modifiers() & commandModifiers))
                return false;
            Shell().SendKeys(QStringLiteral("{Tab}"));
            return true;
        }
        if (key->modifiers() & commandModifiers)
            return false;
        const QString typed = key->text();
        if (typed.isEmpty() || !typed.at(0).isPrint())
            return false;
        // A quote would end the text of the statements the program builds from its fields.
        QString entered = typed;
        entered.remove(QLatin1Char('\''));
        entered = entered.toUpper();
        if (entered == typed)
            return false;
        if (!entered.isEmpty()) {
            QKeyEvent upper(QEvent::KeyPress, key->key(), key->modifiers(), entered,
                            key->isAutoRepeat(), static_cast<ushort>(entered.size()));
            QCoreApplication::sendEvent(widget, &upper);
        }
        return true;
    }

    QList<QPointer<QWidget>> m_forms;
};

// Selects the field's text on every FocusIn, and once more after the event that gave the focus:
// a mouse press places the cursor after the focus has arrived.
class SelectAllOnFocus final : public QObject
{
public:
    explicit SelectAllOnFocus(QLineEdit *field)
        : QObject(field)
        , m_field(field)
    {
        setObjectName(QLatin1String(selectAllName));
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_field && event->type() == QEvent::FocusIn) {
            m_field->selectAll();
            QTimer::singleShot(0, m_field, [field = m_field] {
                if (field->hasFocus())
                    field->selectAll();
            });
        }
        return false;
    }

private:
    QLineEdit *m_field;
};

} // namespace

void installKeyboardRule(QWidget *form)
{
    if (!form)
        return;
    if (KeyboardRuleFilter *filter = KeyboardRuleFilter::instance())
        filter->add(form);
}

void setKeyboardRuleExempt(QWidget *control, bool exempt)
{
    if (control)
        control->setProperty(exemptProperty, exempt);
}

bool isKeyboardRuleExempt(const QWidget *control)
{
    return control && control->property(exemptProperty).toBool();
}

void selectAllOnFocus(QLineEdit *field)
{
    if (!field
        || field->findChild<SelectAllOnFocus *>(QLatin1String(selectAllName),
                                                Qt::FindDirectChildrenOnly))
        return;
    new SelectAllOnFocus(field);
}

} // namespace ui
