#pragma once

#include <QString>

namespace db {
class Connection;
}

// One row of INVENTORY..tbInvTerms (a supplier's payment terms).
class clsTerms final
{
public:
    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Skips the query when the held row has this key; 0 resets without a query.
    bool LoadTerms(qint16 TermsID, const QString &TermDesc = QString());

    qint16 Code = 0;
    QString Description;
    qint16 NumberOfDays = 0;
    QString Status;

private:
    void reset();

    db::Connection *m_connection = nullptr;
};
