#pragma once

#include "objects/clsTerms.h"

#include <QString>
#include <memory>

namespace db {
class Connection;
}

// One row of INVENTORY..tbInvSupplier (also used for an item's manufacturer).
class clsSupplier final
{
public:
    clsSupplier();
    ~clsSupplier();

    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Skips the query when the held row has this key; a blank key resets without a query.
    bool LoadSupplier(const QString &SupplierID);

    QString SupplierID;
    QString SupplierName;
    QString Status;
    QString SupplierType;
    QString Address1;
    QString Address2;
    QString Address3;
    bool FreeGoods = false;
    QString TelNum;
    bool VATSupplier = false;
    QString ContactPerson;

    // The payment terms, loaded by the supplier's terms key on first use.
    clsTerms &Terms();
    void setTerms(std::unique_ptr<clsTerms> terms) { m_terms = std::move(terms); }

private:
    void reset();

    db::Connection *m_connection = nullptr;
    qint16 m_termsId = 0;
    std::unique_ptr<clsTerms> m_terms;
};
