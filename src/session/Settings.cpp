#include "session/Settings.h"

#include "platform/ui/Prompt.h"

#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kDefaultLocation = QStringLiteral("DefaultLocation");

// One store per user, named by the program's title only (no organisation).
QSettings userSettings()
{
    return QSettings(QSettings::defaultFormat(), QSettings::UserScope, QString(),
                     ui::applicationTitle());
}

} // namespace

QString readDefaultLocation()
{
    QSettings settings = userSettings();
    settings.beginGroup(kSection);
    return settings.value(kDefaultLocation, QString()).toString();
}

void saveDefaultLocation(const QString &locationId)
{
    QSettings settings = userSettings();
    settings.beginGroup(kSection);
    settings.setValue(kDefaultLocation, locationId);
    settings.sync();
}

namespace {

QString windowGroup(const QString &employeeCode)
{
    // A slash in the code would open a group of its own.
    QString code = employeeCode;
    code.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QStringLiteral("Window/") + (code.isEmpty() ? QStringLiteral("_") : code);
}

} // namespace

QVariant readWindowSetting(const QString &employeeCode, const QString &key)
{
    QSettings settings = userSettings();
    settings.beginGroup(windowGroup(employeeCode));
    return settings.value(key);
}

void saveWindowSetting(const QString &employeeCode, const QString &key, const QVariant &value)
{
    QSettings settings = userSettings();
    settings.beginGroup(windowGroup(employeeCode));
    settings.setValue(key, value);
    settings.sync();
}
