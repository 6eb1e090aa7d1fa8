#pragma once

#include <QString>

namespace db {
class Connection;
}

// An employee typed as requester or approving officer, checked through the inventory database.
class clsEmployee final
{
public:
    // The session connection unless another is set.
    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // True when exactly one employee matches; otherwise every field is cleared. Database errors
    // reach the caller.
    bool Search(const QString &strEmployeeID);

    QString EmployeeID;
    QString LastName;
    QString FirstName;
    QString MiddleName;
    QString CompleteName;

private:
    db::Connection *m_connection = nullptr;
};
