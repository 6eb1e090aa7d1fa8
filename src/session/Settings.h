#pragma once

#include <QString>

// The per-user settings of the program, kept under its title in the platform's per-user
// application settings.

// The user's default requesting location ("Settings"/"DefaultLocation"); empty when none was
// ever chosen.
QString readDefaultLocation();
void saveDefaultLocation(const QString &locationId);
