#pragma once

// The shared routines every form uses: the hospital information, the site switches, the
// null-replacement helper, the reference lists and the location rights.

#include <QString>
#include <QVariant>

namespace ui {
class DataCombo;
}
namespace db {
class Connection;
}

// The replacement when the value is null, else the value.
QVariant IfNull(const QVariant &value, const QVariant &replacement);

// The session connection (the current user's sqlconnection).
db::Connection &sqlconnection();
// The logged-in user's employee code, read afresh each time.
QString Employeecode();

// Fills the hospital fields of the session from INVENTORY..tbHospitalInfo.
void LoadHospitalInfo();
// The site switches: on when the key's row exists and its KeyValue reads as true (NULL: off).
bool GetInvSwitch(const QString &idkey);
bool GetPharmaSwitch(const QString &idkey);

// Reference lists. A location combo shows the location's name and keeps its LocationID in Tag.
void LoadSpecificLocation(ui::DataCombo &combo, const QString &idList);
void LoadLocation(ui::DataCombo &combo, bool excludeDispensing, bool selectDefault,
                  bool excludeWarehouse, bool orderingOnly, bool userLocations);
void LoadDepartment(ui::DataCombo &combo);
void LoadSection(ui::DataCombo &combo, const QString &departmentId);

// Resolves a location name to its identifier; with checkAccess, also tests the user's
// inventory access to the location's type (and says so when refused).
bool GetLocationByName(const QString &name, QString &locationId, bool &allowsRetail,
                       bool checkAccess);
// The item identifier for a bar code, or the code itself.
QString GetItemIDByBarcode(const QString &code);
// May the user open a document of this requesting location and document user.
bool IsUserAuthorized(const QString &userId, const QString &locationId,
                      const QString &documentUserId);

// The hospital's OPD password (patient_data..tbhospitalinfo), empty when none.
QString GetOPDPassword();
