#pragma once

#include <QString>

namespace db {
class Connection;
}

// A generic drug name with the name of its classification.
class clsGeneric final
{
public:
    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Always queries; true when the generic was found.
    bool LoadGeneric(const QString &GenericID);

    QString GenericID() const { return m_genericId; }
    QString GenericName() const { return m_genericName; }
    QString Classification() const { return m_classification; }

private:
    void reset();

    db::Connection *m_connection = nullptr;
    QString m_genericId;
    QString m_genericName;
    QString m_classification;
};
