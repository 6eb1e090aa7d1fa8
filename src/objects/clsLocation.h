#pragma once

#include <QString>

namespace db {
class Connection;
}

// One row of INVENTORY..tbInvLocation.
class clsLocation final
{
public:
    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Always queries, also for a blank key; a key with no row resets and gives false.
    bool LoadLocation(const QString &LocationID);

    QString Code;
    QString Description;
    QString Status = QStringLiteral("A");
    // A null column gives 1 so that an unmarked location is never taken for a plain ward.
    qint16 IsWareHouse = 1;
    qint16 isDispensingArea = 1;
    bool AllowedForPO = false;

private:
    void reset();

    db::Connection *m_connection = nullptr;
};
