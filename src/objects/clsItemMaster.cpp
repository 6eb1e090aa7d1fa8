#include "objects/clsItemMaster.h"

#include "objects/RecordFields.h"
#include "objects/clsGeneric.h"
#include "objects/clsItemClass.h"
#include "objects/clsSupplier.h"
#include "objects/clsUnitOfMeasure.h"
#include "pickers/frmItemLookup.h"
#include "platform/db/Connection.h"
#include "platform/ui/Modal.h"
#include "session/Session.h"

using namespace records;

clsItemMaster::clsItemMaster()
{
    reset();
}

clsItemMaster::~clsItemMaster() = default;

void clsItemMaster::reset()
{
    ItemID.clear();
    ItemName.clear();
    ItemDesc.clear();
    MarkupIn = 0;
    MarkupOut = 0;
    DownTime = 0;
    ListCost = {};
    Freight = 0;
    SalesTax = 0;
    ItemStatus = 0;
    Packing = 0;
    VAT = 0;
    BarCode.clear();
    m_supplierId.clear();
    m_itemClassificationId.clear();
    m_unitOfMeasureId = 0;
    EndorseMedicine.clear();
    AverageCost = {};
    m_genericId.clear();
    m_manufacturerId.clear();
    SeniorCitizenDiscount = false;
    WithLotNumber = false;
    MedicareType.clear();
    MedicareCategory.clear();
    GLCode.clear();
    ByProduct = false;
    WithMedicare = false;
    ItemClassTag.clear();
    IsRetail = false;
}

void clsItemMaster::releaseSubRecords()
{
    m_supplier.reset();
    m_itemClass.reset();
    m_unitOfMeasure.reset();
    m_generic.reset();
    m_manufacturer.reset();
}

bool clsItemMaster::LoadItem(const QString &id, db::Connection *ActiveConnection)
{
    if (ActiveConnection)
        m_connection = ActiveConnection;
    if (id == ItemID)
        return true;
    releaseSubRecords();
    if (id.trimmed().isEmpty()) {
        reset();
        return true;
    }
    const db::Recordset rs = connectionOf(m_connection)
                                 .query(QStringLiteral("Select * From INVENTORY..tbInvMaster "
                                                       "Where ItemID = '")
                                        + db::quoteInner(id) + QLatin1Char('\''));
    if (rs.eof() && rs.bof()) {
        reset();
        return false;
    }
    ItemID = text(rs, QStringLiteral("ItemID"));
    ItemName = text(rs, QStringLiteral("ItemName"));
    ItemDesc = text(rs, QStringLiteral("ItemDesc"));
    MarkupIn = smallint(rs, QStringLiteral("MarkupIn"));
    MarkupOut = smallint(rs, QStringLiteral("MarkupOut"));
    DownTime = number(rs, QStringLiteral("DownTime"));
    ListCost = currency(rs, QStringLiteral("ListCost"));
    Freight = number(rs, QStringLiteral("Freight"));
    SalesTax = number(rs, QStringLiteral("SalesTax"));
    ItemStatus = smallint(rs, QStringLiteral("ItemStatus"));
    Packing = smallint(rs, QStringLiteral("Packing"));
    VAT = smallint(rs, QStringLiteral("VAT"));
    BarCode = text(rs, QStringLiteral("BarCode"));
    m_supplierId = text(rs, QStringLiteral("SupplierID"));
    m_itemClassificationId = text(rs, QStringLiteral("ItemClassificationID"));
    m_unitOfMeasureId = smallint(rs, QStringLiteral("UnitOfMeasureID"));
    EndorseMedicine = text(rs, QStringLiteral("OralInject"), QStringLiteral("X"));
    AverageCost = currency(rs, QStringLiteral("AverageCost"));
    m_genericId = text(rs, QStringLiteral("GenericID"));
    m_manufacturerId = text(rs, QStringLiteral("ManufacturerID"));
    SeniorCitizenDiscount = boolean(rs, QStringLiteral("IsSeniorDiscounted"));
    WithLotNumber = boolean(rs, QStringLiteral("WithLotNumber"));
    MedicareType = text(rs, QStringLiteral("MedicareType"), QStringLiteral("N"));
    MedicareCategory = text(rs, QStringLiteral("MedicareCategory"), QStringLiteral("A"));
    GLCode = text(rs, QStringLiteral("GLCode"));
    IsRetail
        = Session.ClientName == QLatin1String("TKRL") && boolean(rs, QStringLiteral("isRetail"));
    return true;
}

bool clsItemMaster::SearchItem(const QString &lstrItemCode)
{
    frmItemLookup lookup;
    lookup.SearchString = lstrItemCode;
    lookup.load();
    if (lookup.SingleMatch)
        Session.LookupResult = lookup.SearchString;
    else
        ui::showModal(lookup);
    const QString result = Session.LookupResult.toString();
    return !result.isEmpty() && LoadItem(result);
}

bool clsItemMaster::Update()
{
    db::Connection &connection = connectionOf(m_connection);
    auto number = [](double value, const char *pattern) {
        return format::formatNumber(value, QLatin1String(pattern));
    };
    auto quoted = [](const QString &value) {
        return db::quote(value);
    };
    auto bit = [](bool value) {
        return value ? QStringLiteral("1") : QStringLiteral("0");
    };

    db::Transaction transaction = connection.begin();
    bool exists = false;
    if (!ItemID.trimmed().isEmpty()) {
        exists = !connection
                      .query(QStringLiteral("Select ItemID From INVENTORY..tbInvMaster Where "
                                            "ItemID = '")
                             + db::quoteInner(ItemID) + QLatin1Char('\''))
                      .eof();
    } else {
        // A new item without a code takes the next number (a piece item's "P" mark ignored).
        const db::Recordset rs = connection.query(
            QStringLiteral("Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) "
                           ") + 1)  as MaxCode From INVENTORY..tbInvMaster"));
        ItemID = rs.eof() ? QString() : rs.text(QStringLiteral("MaxCode"));
        if (ItemID.isEmpty())
            ItemID = QStringLiteral("1");
    }

    if (exists) {
        connection.execute(
            QStringLiteral("Update INVENTORY..tbInvMaster Set ItemName = '")
            + db::quoteInner(ItemName) + QStringLiteral("', ItemDesc = ") + quoted(ItemDesc)
            + QStringLiteral(", SupplierId = ") + quoted(m_supplierId)
            + QStringLiteral(", MarkupIn = ") + number(MarkupIn, "#####0")
            + QStringLiteral(", MarkupOut = ") + number(MarkupOut, "#####0")
            + QStringLiteral(", DownTime = ") + number(DownTime, "##0.00")
            + QStringLiteral(", Listcost = ") + number(ListCost.toDouble(), "#######0.0000")
            + QStringLiteral(", ItemClassificationID = ") + quoted(m_itemClassificationId)
            + QStringLiteral(", ItemStatus = ") + number(ItemStatus, "######0")
            + QStringLiteral(", UnitOfMeasureID = ") + number(m_unitOfMeasureId, "######0")
            + QStringLiteral(", Packing = ") + number(Packing, "######0")
            + QStringLiteral(", BarCode = ") + quoted(BarCode) + QStringLiteral(", MedicareType = ")
            + quoted(MedicareType) + QStringLiteral(", IncludeInStatement = 1, OralInject = ")
            + quoted(EndorseMedicine) + QStringLiteral(", AverageCost = ")
            + number(AverageCost.toDouble(), "#######0.0000")
            + QStringLiteral(", ManufacturerID = ") + quoted(m_manufacturerId)
            + QStringLiteral(", IsSeniorDiscounted = ") + bit(SeniorCitizenDiscount)
            + QStringLiteral(", WithLOTNumber = ") + bit(WithLotNumber)
            + QStringLiteral(", MedicareCategory = ") + quoted(MedicareCategory)
            + QStringLiteral(", GLCode = ") + quoted(GLCode) + QStringLiteral(", ItemClass = ")
            + quoted(ItemClassTag) + QStringLiteral(" Where ItemID = '") + db::quoteInner(ItemID)
            + QLatin1Char('\''));
    } else {
        connection.execute(
            QStringLiteral("Insert Into INVENTORY..tbInvMaster (ItemID, ItemName, ItemDesc, "
                           "SupplierId, MarkupIn, MarkupOut, DownTime, Listcost, "
                           "ItemClassificationID, ItemStatus, UnitOfMeasureID, Packing, BarCode, "
                           "MedicareType, IncludeInStatement, OralInject, AverageCost, "
                           "ManufacturerID, IsSeniorDiscounted, WithLOTNumber, MedicareCategory, "
                           "GLCode) Values (")
            + quoted(ItemID) + QStringLiteral(", ") + quoted(ItemName) + QStringLiteral(", ")
            + quoted(ItemDesc) + QStringLiteral(", ") + quoted(m_supplierId) + QStringLiteral(", ")
            + number(MarkupIn, "#####0") + QStringLiteral(", ") + number(MarkupOut, "#####0")
            + QStringLiteral(", ") + number(DownTime, "##0.00") + QStringLiteral(", ")
            + number(ListCost.toDouble(), "#######0.0000") + QStringLiteral(", ")
            + quoted(m_itemClassificationId) + QStringLiteral(", ") + number(ItemStatus, "######0")
            + QStringLiteral(", ") + number(m_unitOfMeasureId, "######0") + QStringLiteral(", ")
            + number(Packing, "######0") + QStringLiteral(", ") + quoted(BarCode)
            + QStringLiteral(", ") + quoted(MedicareType) + QStringLiteral(", 1, ")
            + quoted(EndorseMedicine) + QStringLiteral(", ")
            + number(AverageCost.toDouble(), "#######0.0000") + QStringLiteral(", ")
            + quoted(m_manufacturerId) + QStringLiteral(", ") + bit(SeniorCitizenDiscount)
            + QStringLiteral(", ") + bit(WithLotNumber) + QStringLiteral(", ")
            + quoted(MedicareCategory) + QStringLiteral(", ") + quoted(GLCode)
            + QStringLiteral(")"));
    }
    transaction.commit();
    return true;
}

clsSupplier &clsItemMaster::Supplier()
{
    if (!m_supplier) {
        m_supplier = std::make_unique<clsSupplier>();
        m_supplier->setActiveConnection(m_connection);
        m_supplier->LoadSupplier(m_supplierId);
    }
    return *m_supplier;
}

clsSupplier &clsItemMaster::Manufacturer()
{
    if (!m_manufacturer) {
        m_manufacturer = std::make_unique<clsSupplier>();
        m_manufacturer->setActiveConnection(m_connection);
        m_manufacturer->LoadSupplier(m_manufacturerId);
    }
    return *m_manufacturer;
}

clsUnitOfMeasure &clsItemMaster::UnitOfMeasure()
{
    if (!m_unitOfMeasure) {
        m_unitOfMeasure = std::make_unique<clsUnitOfMeasure>();
        m_unitOfMeasure->setActiveConnection(m_connection);
        m_unitOfMeasure->LoadUOM(m_unitOfMeasureId);
    }
    return *m_unitOfMeasure;
}

clsItemClass &clsItemMaster::ItemClass()
{
    if (!m_itemClass) {
        m_itemClass = std::make_unique<clsItemClass>();
        m_itemClass->setActiveConnection(m_connection);
        m_itemClass->LoadItemClass(m_itemClassificationId);
    }
    return *m_itemClass;
}

clsGeneric &clsItemMaster::Generic()
{
    if (!m_generic) {
        m_generic = std::make_unique<clsGeneric>();
        m_generic->setActiveConnection(m_connection);
        m_generic->LoadGeneric(m_genericId);
    }
    return *m_generic;
}

void clsItemMaster::setSupplier(std::unique_ptr<clsSupplier> record)
{
    m_supplier = std::move(record);
}

void clsItemMaster::setManufacturer(std::unique_ptr<clsSupplier> record)
{
    m_manufacturer = std::move(record);
}

void clsItemMaster::setUnitOfMeasure(std::unique_ptr<clsUnitOfMeasure> record)
{
    m_unitOfMeasure = std::move(record);
}

void clsItemMaster::setItemClass(std::unique_ptr<clsItemClass> record)
{
    m_itemClass = std::move(record);
}

void clsItemMaster::setGeneric(std::unique_ptr<clsGeneric> record)
{
    m_generic = std::move(record);
}
