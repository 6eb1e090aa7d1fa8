#pragma once

#include "platform/format/Format.h"

#include <QString>
#include <memory>

namespace db {
class Connection;
}
class clsSupplier;
class clsUnitOfMeasure;
class clsItemClass;
class clsGeneric;

// The master row of an item (INVENTORY..tbInvMaster) with its master-data records, each created
// and loaded on first use.
class clsItemMaster final
{
public:
    clsItemMaster();
    ~clsItemMaster();
    clsItemMaster(const clsItemMaster &) = delete;
    clsItemMaster &operator=(const clsItemMaster &) = delete;

    void setActiveConnection(db::Connection *connection) { m_connection = connection; }

    // Skips the query when this item is already held; a blank code resets and gives true; a code
    // with no row resets and gives false. A connection given here replaces the record's own.
    bool LoadItem(const QString &ItemID, db::Connection *ActiveConnection = nullptr);
    // Finds the item through the item lookup (taken at once on a single match) and loads it.
    bool SearchItem(const QString &lstrItemCode);
    // Writes the record to INVENTORY..tbInvMaster (a new item draws the next number when it has
    // no code). Not used when requesting stock.
    bool Update();

    QString ItemID;
    QString ItemName;
    QString ItemDesc;
    qint16 MarkupIn = 0;
    qint16 MarkupOut = 0;
    double DownTime = 0;
    format::Currency ListCost;
    double Freight = 0;
    double SalesTax = 0;
    qint16 ItemStatus = 0;
    qint16 Packing = 0;
    qint16 VAT = 0;
    QString BarCode;
    QString EndorseMedicine;
    format::Currency AverageCost;
    bool SeniorCitizenDiscount = false;
    bool WithLotNumber = false;
    QString MedicareType;
    QString MedicareCategory;
    QString GLCode;
    bool ByProduct = false;
    bool WithMedicare = false;
    QString ItemClassTag;
    // Loaded from isRetail only at the TKRL site; false everywhere else.
    bool IsRetail = false;

    clsSupplier &Supplier();
    clsSupplier &Manufacturer();
    clsUnitOfMeasure &UnitOfMeasure();
    clsItemClass &ItemClass();
    clsGeneric &Generic();
    void setSupplier(std::unique_ptr<clsSupplier> record);
    void setManufacturer(std::unique_ptr<clsSupplier> record);
    void setUnitOfMeasure(std::unique_ptr<clsUnitOfMeasure> record);
    void setItemClass(std::unique_ptr<clsItemClass> record);
    void setGeneric(std::unique_ptr<clsGeneric> record);

private:
    void reset();
    void releaseSubRecords();

    db::Connection *m_connection = nullptr;
    QString m_supplierId;
    QString m_itemClassificationId;
    qint16 m_unitOfMeasureId = 0;
    QString m_genericId;
    QString m_manufacturerId;

    std::unique_ptr<clsSupplier> m_supplier;
    std::unique_ptr<clsSupplier> m_manufacturer;
    std::unique_ptr<clsUnitOfMeasure> m_unitOfMeasure;
    std::unique_ptr<clsItemClass> m_itemClass;
    std::unique_ptr<clsGeneric> m_generic;
};
