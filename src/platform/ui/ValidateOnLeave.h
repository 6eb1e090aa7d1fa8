#pragma once

#include <functional>

class QWidget;

namespace ui {

// Validate-on-leave: when the focus leaves a control that has a handler for another control of
// the same window, the handler runs first; setting cancel keeps the focus on the control. A
// click on a button that would have taken the focus from a control whose handler cancels does
// not reach the button, so its action does not run; the same holds for a button's access key
// (Alt+letter). A handler may move the focus or show message boxes itself without being run
// again.
using ValidateHandler = std::function<void(bool &cancel)>;

// Gives the control its handler (replacing one it had); an empty handler removes it. For an
// editable combo the combo is the control, whichever of its parts holds the focus.
void setValidator(QWidget *control, ValidateHandler handler);
bool hasValidator(const QWidget *control);

// Runs the control's handler now, as the forms do before a command; true when it cancelled.
// A control without a handler never cancels.
bool validate(QWidget *control);

// Whether taking the focus to this control validates the control being left (true by default;
// a Cancel or Exit button does not).
void setCausesValidation(QWidget *control, bool causesValidation);
bool causesValidation(const QWidget *control);

} // namespace ui
