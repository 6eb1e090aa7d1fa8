#pragma once

#include "platform/db/DatabaseError.h"
#include "platform/ui/Prompt.h"

#include <utility>

// Runs an event handler of the form. A statement the database refused is reported in a message
// box and the program carries on; the form keeps whatever state the handler reached.
template<class Handler>
void guarded(Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
    }
}

// The same for a handler with a result; the fallback is returned when the database refused.
template<class Result, class Handler>
Result guarded(Handler &&handler, Result fallback)
{
    try {
        return std::forward<Handler>(handler)();
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
        return fallback;
    }
}
