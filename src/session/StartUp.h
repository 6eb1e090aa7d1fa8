#pragma once

#include "platform/user/CurrentUser.h"

#include <QWidget>
#include <functional>

// The program's start: logs the user in through the current-user component, fills the session
// and creates and shows the main form. Returns the main form, or nullptr when the log-in was not
// completed (the program then ends without a window).
QWidget *StartUp(std::function<QWidget *()> createMainForm, user::ConnectionTarget target = {});

// Releases what start-up created (the current-user component and its connection, the shell
// object) and empties the session.
void EndSession();
