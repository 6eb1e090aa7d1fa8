// The master-data records: location, supplier, terms, unit of measure, item class and generic.
// A refused statement ends the load with false; the record keeps what it had filled, and nothing
// is shown from here (the caller decides).
#include "objects/RecordFields.h"
#include "objects/clsGeneric.h"
#include "objects/clsItemClass.h"
#include "objects/clsLocation.h"
#include "objects/clsSupplier.h"
#include "objects/clsTerms.h"
#include "objects/clsUnitOfMeasure.h"
#include "platform/db/Connection.h"

using namespace records;

namespace {

// Runs the statement on the record's connection; an empty result when the database refused it.
bool fetch(db::Connection *connection, const QString &sql, db::Recordset &rs)
{
    try {
        rs = connectionOf(connection).query(sql);
        return true;
    } catch (const db::DatabaseError &) {
        return false;
    }
}

bool noRow(const db::Recordset &rs)
{
    return rs.eof() && rs.bof();
}

} // namespace

// ----- clsLocation -------------------------------------------------------------------------------

void clsLocation::reset()
{
    Code.clear();
    Description.clear();
    Status = QStringLiteral("A");
    IsWareHouse = 1;
    isDispensingArea = 1;
    AllowedForPO = false;
}

bool clsLocation::LoadLocation(const QString &LocationID)
{
    db::Recordset rs;
    if (!fetch(m_connection,
               QStringLiteral("Select * From INVENTORY..tbInvLocation Where LocationID = '")
                   + db::quoteInner(LocationID) + QLatin1Char('\''),
               rs))
        return false;
    if (noRow(rs)) {
        reset();
        return false;
    }
    try {
        Code = text(rs, QStringLiteral("LocationID"));
        Description = text(rs, QStringLiteral("Location"));
        Status = text(rs, QStringLiteral("Status"), QStringLiteral("A"));
        IsWareHouse = smallint(rs, QStringLiteral("IsWareHouse"), 1);
        isDispensingArea = smallint(rs, QStringLiteral("isDispensingArea"), 1);
        AllowedForPO = boolean(rs, QStringLiteral("AllowOrder"));
    } catch (const db::DatabaseError &) {
        return false;
    }
    return true;
}

// ----- clsTerms ----------------------------------------------------------------------------------

void clsTerms::reset()
{
    Code = 0;
    Description.clear();
    NumberOfDays = 0;
    Status.clear();
}

bool clsTerms::LoadTerms(qint16 TermsID, const QString &TermDesc)
{
    if (TermsID == Code)
        return true;
    if (TermsID == 0) {
        reset();
        return true;
    }
    db::Recordset rs;
    if (!fetch(m_connection,
               QStringLiteral("Select * From INVENTORY..tbInvTerms Where TermsID = ")
                   + QString::number(TermsID) + QStringLiteral(" or Terms = '")
                   + db::quoteInner(TermDesc) + QLatin1Char('\''),
               rs))
        return false;
    if (noRow(rs)) {
        reset();
        return false;
    }
    try {
        Code = smallint(rs, QStringLiteral("TermsID"));
        Description = text(rs, QStringLiteral("Terms"));
        NumberOfDays = smallint(rs, QStringLiteral("Nodays"));
        Status = text(rs, QStringLiteral("Status"));
    } catch (const db::DatabaseError &) {
        return false;
    }
    return true;
}

// ----- clsSupplier -------------------------------------------------------------------------------

clsSupplier::clsSupplier() = default;
clsSupplier::~clsSupplier() = default;

void clsSupplier::reset()
{
    SupplierID.clear();
    SupplierName.clear();
    Status.clear();
    SupplierType.clear();
    Address1.clear();
    Address2.clear();
    Address3.clear();
    FreeGoods = false;
    TelNum.clear();
    VATSupplier = false;
    ContactPerson.clear();
    m_termsId = 0;
}

bool clsSupplier::LoadSupplier(const QString &id)
{
    if (id == SupplierID)
        return true;
    // The terms belong to the supplier held until now.
    m_terms.reset();
    if (id.trimmed().isEmpty()) {
        reset();
        return true;
    }
    db::Recordset rs;
    if (!fetch(m_connection,
               QStringLiteral("Select * From INVENTORY..tbInvSupplier Where SupplierID = '")
                   + db::quoteInner(id) + QLatin1Char('\''),
               rs))
        return false;
    if (noRow(rs)) {
        reset();
        return false;
    }
    try {
        SupplierID = text(rs, QStringLiteral("SupplierID"));
        SupplierName = text(rs, QStringLiteral("SupplierName"));
        Status = text(rs, QStringLiteral("Status"));
        SupplierType = text(rs, QStringLiteral("SupplierType"));
        Address1 = text(rs, QStringLiteral("Address1"));
        Address2 = text(rs, QStringLiteral("Address2"));
        Address3 = text(rs, QStringLiteral("Address3"));
        FreeGoods = boolean(rs, QStringLiteral("FreeGoods"));
        m_termsId = smallint(rs, QStringLiteral("TermsID"));
        TelNum = text(rs, QStringLiteral("TelNum"));
        VATSupplier = boolean(rs, QStringLiteral("isVAT"));
        ContactPerson = text(rs, QStringLiteral("ContactPerson"));
    } catch (const db::DatabaseError &) {
        return false;
    }
    return true;
}

clsTerms &clsSupplier::Terms()
{
    if (!m_terms) {
        m_terms = std::make_unique<clsTerms>();
        m_terms->setActiveConnection(m_connection);
        m_terms->LoadTerms(m_termsId);
    }
    return *m_terms;
}

// ----- clsUnitOfMeasure --------------------------------------------------------------------------

void clsUnitOfMeasure::reset()
{
    Code = 0;
    Description.clear();
    Status.clear();
}

bool clsUnitOfMeasure::LoadUOM(qint16 UnitOfMeasureID)
{
    if (UnitOfMeasureID == Code)
        return true;
    if (UnitOfMeasureID == 0) {
        reset();
        return true;
    }
    db::Recordset rs;
    if (!fetch(
            m_connection,
            QStringLiteral("Select * From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = ")
                + QString::number(UnitOfMeasureID).trimmed(),
            rs))
        return false;
    if (noRow(rs)) {
        reset();
        return false;
    }
    try {
        Code = smallint(rs, QStringLiteral("UnitOfMeasureID"));
        Description = text(rs, QStringLiteral("UnitOfMeasure"));
        Status = text(rs, QStringLiteral("Status"));
    } catch (const db::DatabaseError &) {
        return false;
    }
    return true;
}

// ----- clsItemClass ------------------------------------------------------------------------------

void clsItemClass::reset()
{
    Code.clear();
    Description.clear();
    Status.clear();
}

bool clsItemClass::LoadItemClass(const QString &id)
{
    if (id == Code)
        return true;
    if (id.trimmed().isEmpty()) {
        reset();
        return true;
    }
    db::Recordset rs;
    if (!fetch(m_connection,
               QStringLiteral(
                   "Select * From INVENTORY..tbInvClassification Where ItemClassificationID = '")
                   + db::quoteInner(id) + QLatin1Char('\''),
               rs))
        return false;
    if (noRow(rs)) {
        reset();
        return false;
    }
    try {
        Code = text(rs, QStringLiteral("ItemClassificationID"));
        Description = text(rs, QStringLiteral("ItemClassificationName"));
        Status = text(rs, QStringLiteral("Status"), QStringLiteral("A"));
    } catch (const db::DatabaseError &) {
        return false;
    }
    return true;
}

// ----- clsGeneric --------------------------------------------------------------------------------

void clsGeneric::reset()
{
    m_genericId.clear();
    m_genericName.clear();
    m_classification.clear();
}

bool clsGeneric::LoadGeneric(const QString &id)
{
    // The classification is the row whose node key is the generic's up to its first ".".
    const QString sql = QStringLiteral(" Select C.GenericID, C.GenericName, D.ClassificationName ")
        + QStringLiteral(" From inventory..tbforGeneric C Left Outer Join ")
        + QStringLiteral(" inventory..tbforClassification D ON SubString(C.Node_Key,1,Case When "
                         "PatIndex('%.%',C.Node_Key) = 0 Then 1 Else PatIndex('%.%',C.Node_Key) "
                         "-1 End ) = D.Node_Key ")
        + QStringLiteral(" Where C.GenericID = '") + db::quoteInner(id) + QLatin1Char('\'');
    db::Recordset rs;
    if (!fetch(m_connection, sql, rs))
        return false;
    if (noRow(rs)) {
        reset();
        return false;
    }
    try {
        m_genericId = text(rs, QStringLiteral("GenericID"));
        m_genericName = text(rs, QStringLiteral("GenericName"));
        m_classification = text(rs, QStringLiteral("ClassificationName"));
    } catch (const db::DatabaseError &) {
        return false;
    }
    return true;
}
