#include "objects/clsItem.h"

#include "objects/RecordFields.h"
#include "objects/clsItemMaster.h"
#include "objects/clsLocation.h"
#include "pickers/frmItemLookup.h"
#include "platform/db/Connection.h"
#include "platform/ui/Modal.h"
#include "session/Inventory.h"
#include "session/Session.h"

using namespace records;

clsItem::clsItem()
{
    reset();
}

clsItem::~clsItem() = default;

void clsItem::reset()
{
    ItemID.clear();
    m_locationId.clear();
    MarkupIn = 0;
    MarkupOut = 0;
    NetAmount = {};
    OnHand = 0;
    MaxStock = 0;
    OnOrder = 0;
    SellingPriceIn = {};
    SellingPriceOut = {};
    ItemStatus = 0;
    AverageCost = {};
    MinimumStockLevel = 0;
    AveConsumption = 0;
    LastInventoryCount = zeroDate();
    ExpiryDate = zeroDate();
    GLCode.clear();
    POMonthsToDeliver = 0;
    MinimumOrAverageConsumption = false;
    StartDate.clear();
    EndDate.clear();
    ListCost = 0;
    UOM = 0;
    UOMDescription.clear();
    LastDeliveryDate = zeroDate();
    LastDeliveryQty = 0;
    Packing = 0;
    IsFloor = false;
    IsCeiling = false;
    Floor = 0;
    Ceiling = 0;
    IsADSStock = false;
    ADSStock = 0;
}

bool clsItem::LoadItem(const QString &id, const QString &LocationID)
{
    // The held figures stay even when another location is asked for.
    if (id == ItemID)
        return true;
    m_itemMaster.reset();
    m_location.reset();
    if (id.trimmed().isEmpty()) {
        reset();
        return true;
    }
    const db::Recordset rs = sqlconnection().query(
        QStringLiteral("Inventory..sp_Inv_SearchItem_In_Invent '") + db::quoteInner(id)
        + QStringLiteral("','") + db::quoteInner(LocationID) + QLatin1Char('\''));
    if (rs.eof()) {
        reset();
        return false;
    }
    m_locationId = text(rs, QStringLiteral("LocationID"));
    ItemID = text(rs, QStringLiteral("ItemID"));
    MarkupIn = smallint(rs, QStringLiteral("Markup_In"));
    MarkupOut = smallint(rs, QStringLiteral("Markup_Out"));
    NetAmount = currency(rs, QStringLiteral("NetAmount"));
    OnHand = number(rs, QStringLiteral("OnHand"));
    // The procedure returns one stock level: the maximum and the minimum both show it.
    MaxStock = number(rs, QStringLiteral("MinStockLevel"));
    OnOrder = number(rs, QStringLiteral("OnOrder"));
    SellingPriceIn = currency(rs, QStringLiteral("SellingPriceIn"));
    SellingPriceOut = currency(rs, QStringLiteral("SellingPriceOut"));
    ItemStatus = smallint(rs, QStringLiteral("ItemStatus"));
    AverageCost = currency(rs, QStringLiteral("AverageCost"));
    MinimumStockLevel = number(rs, QStringLiteral("MinStockLevel"));
    AveConsumption = number(rs, QStringLiteral("AveConsumption"));
    LastInventoryCount = date(rs, QStringLiteral("LastInventoryCount"));
    ExpiryDate = date(rs, QStringLiteral("ExpiryDate"));
    GLCode = text(rs, QStringLiteral("NewGLCode"));
    POMonthsToDeliver = number(rs, QStringLiteral("POMonthsToDeliver"));
    MinimumOrAverageConsumption = boolean(rs, QStringLiteral("MinimumOrAverage"));
    StartDate = text(rs, QStringLiteral("StartDate"));
    EndDate = text(rs, QStringLiteral("EndDate"));
    ListCost = number(rs, QStringLiteral("ListCost"));
    UOM = smallint(rs, QStringLiteral("UnitOfMeasureID"));
    UOMDescription = text(rs, QStringLiteral("UnitOfMeasure"));
    LastDeliveryDate = date(rs, QStringLiteral("Last DDate"));
    LastDeliveryQty = number(rs, QStringLiteral("Last Qty"));
    Packing = smallint(rs, QStringLiteral("Packing"));
    IsFloor = boolean(rs, QStringLiteral("IsFloor"));
    IsCeiling = boolean(rs, QStringLiteral("IsCeiling"));
    Floor = number(rs, QStringLiteral("Floor"));
    Ceiling = number(rs, QStringLiteral("Ceiling"));
    IsADSStock = boolean(rs, QStringLiteral("IsADSStock"));
    ADSStock = number(rs, QStringLiteral("ADSStock"));
    return true;
}

bool clsItem::SearchItem(const QString &lstrItemCode, const QString &lstrLocationName,
                         const QString &lstrLocationID)
{
    frmItemLookup lookup;
    lookup.LocationName = lstrLocationName;
    lookup.LocationCode = lstrLocationID;
    lookup.SearchString = lstrItemCode;
    lookup.SupplyingLocationID = SupplyingLocationID;
    lookup.RequestingLocationID = RequestingLocationID;
    lookup.load();
    // One item answers the typed code: it is taken without showing the list.
    if (lookup.SingleMatch && !lstrItemCode.isEmpty())
        Session.LookupResult = lookup.SearchString;
    else
        ui::showModal(lookup);
    const QString result = Session.LookupResult.toString();
    return !result.isEmpty() && LoadItem(result, lstrLocationID);
}

clsItemMaster &clsItem::ItemMaster()
{
    if (!m_itemMaster) {
        m_itemMaster = std::make_unique<clsItemMaster>();
        m_itemMaster->setActiveConnection(m_connection);
        m_itemMaster->LoadItem(ItemID);
    }
    return *m_itemMaster;
}

clsLocation &clsItem::Location()
{
    if (!m_location) {
        m_location = std::make_unique<clsLocation>();
        m_location->setActiveConnection(m_connection);
        m_location->LoadLocation(m_locationId);
    }
    return *m_location;
}

void clsItem::setItemMaster(std::unique_ptr<clsItemMaster> master)
{
    m_itemMaster = std::move(master);
}

void clsItem::setLocation(std::unique_ptr<clsLocation> location)
{
    m_location = std::move(location);
}
