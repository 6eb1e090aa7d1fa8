#include "session/Inventory.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"
#include "session/Session.h"

namespace {

// A column read as a Boolean: a true bit or any non-zero number is true; NULL reads as false.
bool toBoolean(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        return format::isNumeric(text) && format::numericValue(text) != 0.0;
    }
    return value.toDouble() != 0.0;
}

bool switchOn(const QString &statement)
{
    db::Recordset rs = sqlconnection().query(statement);
    return !rs.eof() && toBoolean(rs.field(QStringLiteral("KeyValue")));
}

} // namespace

db::Connection &sqlconnection()
{
    if (Session.CurrentUser && Session.CurrentUser->Connected())
        return Session.CurrentUser->sqlconnection();
    if (Session.Connection)
        return *Session.Connection;
    throw db::DatabaseError(QStringLiteral("The database connection is not open."), QString());
}

QString Employeecode()
{
    return Session.CurrentUser ? Session.CurrentUser->Employeecode() : QString();
}

void LoadHospitalInfo()
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select *, GetDate() as CurDate From Inventory..tbHospitalInfo"));
    if (rs.eof()) {
        ui::msgBox(QStringLiteral("No Hospital information was found"), ui::Buttons::Ok,
                   ui::Icon::Information, QStringLiteral("MESSAGE"));
        return;
    }
    Session.Company = rs.text(QStringLiteral("Company"));
    Session.Address1 = rs.text(QStringLiteral("Address1"));
    Session.CurDate = format::variantText(rs.field(QStringLiteral("CurDate")));
    Session.ClientName = rs.text(QStringLiteral("ClientName"));
    Session.AllowWDZeroOnHand = toBoolean(rs.field(QStringLiteral("AllowWDZeroOnHand")));
    Session.IsWDEntered = toBoolean(IfNull(rs.field(QStringLiteral("IsWDEntered")), 0));
    rs.close();
}

bool GetInvSwitch(const QString &idkey)
{
    return switchOn(QStringLiteral("Select KeyValue from Inventory..tbinvSwitch where idkey = ")
                    + db::quote(idkey) + QLatin1Char(' '));
}

bool GetPharmaSwitch(const QString &idkey)
{
    return switchOn(QStringLiteral("Select KeyValue from Inventory..tbPharmaSwitch where idkey = ")
                    + db::quote(idkey));
}

QString GetItemIDByBarcode(const QString &code)
{
    if (code.isEmpty())
        return code;
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select ItemID from INVENTORY..tbInvMaster Where Barcode = ")
        + db::quote(code));
    if (rs.eof())
        return code;
    return rs.text(QStringLiteral("ItemID"));
}

QString GetOPDPassword()
{
    db::Recordset rs
        = sqlconnection().query(QStringLiteral(" select isnull(OPDPassword,'') as OPDPassword from "
                                               "patient_data..tbhospitalinfo "));
    if (rs.eof())
        return QString();
    return rs.text(QStringLiteral("OPDPassword"));
}
