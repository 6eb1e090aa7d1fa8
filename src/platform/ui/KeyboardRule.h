#pragma once

class QLineEdit;
class QWidget;

namespace ui {

// The form-wide keyboard rule of the entry forms, for every control of the form's window (also
// those added later), except push buttons:
// - Enter or Return moves the focus on as Tab would (Shell::SendKeys("{Tab}")); in grids and
//   multi-line text boxes Enter is left to the control;
// - a typed single quote is dropped;
// - every other typed character is entered in upper case.
void installKeyboardRule(QWidget *form);

// The control (and anything inside it) keeps the keys as typed: a password box keeps its case,
// a control that handles Enter itself gets it.
void setKeyboardRuleExempt(QWidget *control, bool exempt = true);
bool isKeyboardRuleExempt(const QWidget *control);

// The field selects its whole text whenever it gets the focus, by mouse, key or program.
void selectAllOnFocus(QLineEdit *field);

} // namespace ui
