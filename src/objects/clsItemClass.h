#pragma once

#include <QString>

namespace db {
class Connection;
}

// One row of INVENTORY..tbInvClassification.
class clsItemClass final
{
public:
    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Skips the query when the held row has this key; a blank key resets without a query.
    bool LoadItemClass(const QString &ItemClassificationID);

    QString Code;
    QString Description;
    QString Status;

private:
    void reset();

    db::Connection *m_connection = nullptr;
};
