#include "session/Inventory.h"

#include "platform/db/Connection.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/Prompt.h"
#include "session/Session.h"

#include <exception>

namespace {

// True when a bit column holds 0; NULL is no answer, so it is not 0.
bool isZero(const QVariant &value)
{
    return !value.isNull() && value.isValid() && value.toDouble() == 0.0;
}

QString errorDescription(const std::exception &error)
{
    if (const auto *dbError = dynamic_cast<const db::DatabaseError *>(&error))
        return dbError->message();
    return QString::fromLocal8Bit(error.what());
}

// Writes a column of every row into the combo's list at positions 0, 1, 2, ...
void fillList(ui::DataCombo &combo, const QString &statement, const QString &column)
{
    combo.Tag.clear();
    db::Recordset rs = sqlconnection().query(statement);
    // The list is emptied first so that no name of an earlier fill is left behind.
    combo.clearList();
    for (int i = 0; !rs.eof(); rs.moveNext(), ++i)
        combo.setListItem(i, rs.text(column));
}

} // namespace

void LoadSpecificLocation(ui::DataCombo &combo, const QString &idList)
{
    combo.Tag.clear();
    // The list is SQL text made by the program ("('21','119','20')"), inserted as it is.
    db::Recordset rs = sqlconnection().query(
        QStringLiteral(" select location,locationid from inventory..tbinvlocation where "
                       "locationid in ")
        + idList + QLatin1Char(' '));
    if (!rs.eof())
        combo.setListSource(rs, QStringLiteral("Location"));
}

void LoadLocation(ui::DataCombo &combo, bool excludeDispensing, bool selectDefault,
                  bool excludeWarehouse, bool orderingOnly, bool userLocations)
{
    try {
        combo.Tag.clear();
        QString sql;
        if (userLocations) {
            sql = QStringLiteral("INVENTORY..sp_Inv_UserLocation ") + db::quote(Employeecode());
        } else if (excludeWarehouse && excludeDispensing) {
            sql = QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where "
                                 "( isWarehouse = 0 or isDispensingArea = 0 ) AND ( Not Status = "
                                 "'I' or Status is Null ) ORDER BY Location");
        } else if (excludeWarehouse) {
            sql = QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where "
                                 "isWarehouse = 0 AND ( Not Status = 'I' or Status is Null ) "
                                 "ORDER BY Location");
        } else if (excludeDispensing) {
            sql = QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where "
                                 "isDispensingArea = 0 AND ( Not Status = 'I' or Status is Null ) "
                                 "ORDER BY Location");
        } else if (orderingOnly) {
            sql = QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where "
                                 "AllowOrder = 1 AND ( Not Status = 'I' or Status is Null ) ORDER "
                                 "BY Location");
        } else {
            sql = QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where "
                                 "Not Status = 'I' or Status is Null  ORDER BY Location");
        }
        db::Recordset rs = sqlconnection().query(sql);
        if (!rs.eof())
            combo.setListSource(rs, QStringLiteral("Location"));
        rs.close();

        if (selectDefault) {
            db::Recordset def = sqlconnection().query(
                QStringLiteral("Select Location From INVENTORY..tbInvLocation Where LocationID = ")
                + db::quote(Session.DefaultLocation));
            if (!def.eof()) {
                combo.setText(def.text(QStringLiteral("Location")));
                combo.Tag = Session.DefaultLocation;
            }
        }
    } catch (const std::exception &error) {
        ui::msgBox(QStringLiteral("Called from: Sub LoadLocation -") + errorDescription(error),
                   ui::Buttons::Ok);
    }
}

void LoadDepartment(ui::DataCombo &combo)
{
    fillList(combo, QStringLiteral("Select * from Build_file..tbcoDepartment order by department "),
             QStringLiteral("Department"));
}

void LoadSection(ui::DataCombo &combo, const QString &departmentId)
{
    fillList(combo,
             QStringLiteral("Select * from Build_file..tbcoSection where revenueid=")
                 + db::quote(departmentId) + QStringLiteral(" order by sectionname "),
             QStringLiteral("SectionName"));
}

bool GetLocationByName(const QString &name, QString &locationId, bool &allowsRetail,
                       bool checkAccess)
{
    try {
        db::Recordset rs = sqlconnection().query(
            QStringLiteral("Select * From INVENTORY..tbInvLocation Where Location = ")
            + db::quote(name));
        if (rs.eof()) {
            locationId.clear();
            allowsRetail = false;
            return false;
        }
        locationId = rs.text(QStringLiteral("LocationID"));
        const QString inventoryType
            = IfNull(rs.field(QStringLiteral("InventoryType")), QString()).toString();
        // Only a location that is both a warehouse and a dispensing area sells nothing retail.
        allowsRetail = isZero(rs.field(QStringLiteral("IsWareHouse")))
            || isZero(rs.field(QStringLiteral("isDispensingArea")));
        rs.close();
        if (!checkAccess)
            return true;

        const QString &access = Session.InventoryAccess;
        if (!access.isEmpty()
            && (access == QLatin1String("A") || inventoryType.isEmpty()
                || access.contains(inventoryType)))
            return true;
        locationId.clear();
        ui::msgBox(QStringLiteral("Unauthorized Access..."), ui::Buttons::Ok);
        return false;
    } catch (const std::exception &error) {
        ui::msgBox(errorDescription(error), ui::Buttons::Ok);
        return false;
    }
}

bool IsUserAuthorized(const QString &userId, const QString &locationId,
                      const QString &documentUserId)
{
    if (Session.ClientName == QLatin1String("JFX")) {
        if (documentUserId == userId)
            return true;
        ui::msgBox(QStringLiteral("User not Authorized for this Transaction."), ui::Buttons::Ok,
                   ui::Icon::Information);
        return false;
    }
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select * from inventory..tbinvuserlocation where userid = ")
        + db::quote(userId) + QStringLiteral(" and Locationid = ")
        + db::quote(locationId.trimmed()));
    if (rs.eof()) {
        ui::msgBox(QStringLiteral("User not Authorized for this Location."), ui::Buttons::Ok,
                   ui::Icon::Information);
        return false;
    }
    return true;
}
