#pragma once

#include <QString>

namespace db {
class Connection;
}

// One row of INVENTORY..tbInvUnitOfMeasure.
class clsUnitOfMeasure final
{
public:
    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Skips the query when the held row has this key; 0 resets without a query.
    bool LoadUOM(qint16 UnitOfMeasureID);

    qint16 Code = 0;
    QString Description;
    QString Status;

private:
    void reset();

    db::Connection *m_connection = nullptr;
};
