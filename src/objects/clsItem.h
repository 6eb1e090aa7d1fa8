#pragma once

#include "platform/format/Format.h"

#include <QDateTime>
#include <QString>
#include <memory>

namespace db {
class Connection;
}
class clsItemMaster;
class clsLocation;

// An item at one inventory location: stock figures, costs and prices there, unit of measure,
// floor and ceiling. Owns the item's master record and the location record, each created and
// loaded on first use.
class clsItem final
{
public:
    clsItem();
    ~clsItem();
    clsItem(const clsItem &) = delete;
    clsItem &operator=(const clsItem &) = delete;

    // The session connection; handed on to the sub-records.
    void setActiveConnection(db::Connection *c) { m_connection = c; }

    // Skips the query when this item is already held (even for another location); a blank code
    // resets and gives true; an item without a row at the location resets and gives false.
    bool LoadItem(const QString &ItemID, const QString &LocationID = QString());
    // Finds the item by code through the item lookup: a single match is taken without showing
    // the list, otherwise the user picks. Set SupplyingLocationID and RequestingLocationID first:
    // the lookup's location search lists what the one stocks and the other carries.
    bool SearchItem(const QString &lstrItemCode, const QString &lstrLocationName,
                    const QString &lstrLocationID);

    // The locations chosen on the request at the moment of the search.
    QString SupplyingLocationID;
    QString RequestingLocationID;

    QString ItemID;
    qint16 MarkupIn = 0;
    qint16 MarkupOut = 0;
    format::Currency NetAmount;
    double OnHand = 0;
    double MaxStock = 0;
    double OnOrder = 0;
    format::Currency SellingPriceIn;
    format::Currency SellingPriceOut;
    qint16 ItemStatus = 0;
    format::Currency AverageCost;
    double MinimumStockLevel = 0;
    double AveConsumption = 0;
    QDateTime LastInventoryCount;
    QDateTime ExpiryDate;
    QString GLCode;
    double POMonthsToDeliver = 0;
    bool MinimumOrAverageConsumption = false;
    QString StartDate;
    QString EndDate;
    double ListCost = 0;
    qint16 UOM = 0;
    QString UOMDescription;
    QDateTime LastDeliveryDate;
    double LastDeliveryQty = 0;
    qint16 Packing = 0;
    bool IsFloor = false;
    bool IsCeiling = false;
    double Floor = 0;
    double Ceiling = 0;
    bool IsADSStock = false;
    double ADSStock = 0;

    clsItemMaster &ItemMaster();
    clsLocation &Location();
    void setItemMaster(std::unique_ptr<clsItemMaster> master);
    void setLocation(std::unique_ptr<clsLocation> location);

private:
    void reset();

    db::Connection *m_connection = nullptr;
    QString m_locationId;
    std::unique_ptr<clsItemMaster> m_itemMaster;
    std::unique_ptr<clsLocation> m_location;
};
