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
