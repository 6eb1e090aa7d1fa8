#pragma once

#include <QString>
#include <QVariant>

// The per-user settings of the program, kept under its title in the platform's per-user
// application settings.

// The user's default requesting location ("Settings"/"DefaultLocation"); empty when none was
// ever chosen.
QString readDefaultLocation();
void saveDefaultLocation(const QString &locationId);

// The main window's layout, kept per employee (several staff may share one account on a ward
// computer): a null value when nothing was kept under the key.
QVariant readWindowSetting(const QString &employeeCode, const QString &key);
void saveWindowSetting(const QString &employeeCode, const QString &key, const QVariant &value);
