#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

// Lets a concern of the form watch the events of one control without being a QObject itself.
// The hook belongs to the control and goes with it; the handler returns true to stop the event.
class EventHook final : public QObject
{
public:
    using Handler = std::function<bool(QEvent *)>;

    EventHook(QObject *watched, Handler handler)
        : QObject(watched)
        , m_handler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return watched == parent() && m_handler(event);
    }

private:
    Handler m_handler;
};
