#include "request/Numbering.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"
#include "session/Session.h"

namespace {

QString docNumberSource()
{
    if (Session.ClientName == QLatin1String("ZRWB") && Session.IsWDEntered)
        return QStringLiteral("inventory..sp_inv_getMRISDocNum");
    return QStringLiteral("Select (max(Cast(DocumentNumber as float)) + 1) as DocNum From "
                          "INVENTORY..tbInvWithdrawRequest where isnumeric(DocumentNumber) = 1 ");
}

// The number read so far is kept in result, so that the trapping caller can return it.
void readDocNumber(QString &result)
{
    db::Recordset rs = sqlconnection().query(docNumberSource());
    if (rs.recordCount() > 0)
        result = format::variantText(IfNull(rs.field(QStringLiteral("DocNum")), 1));
    rs.close();
}

} // namespace

QString GetNewDocNumber()
{
    QString result = QStringLiteral("1");
    try {
        readDocNumber(result);
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical,
                   QStringLiteral("Error Message"));
    }
    return result;
}

QString DrawNewDocNumber()
{
    QString result = QStringLiteral("1");
    readDocNumber(result);
    return result;
}

void UpdateMRISDocNumber()
{
    sqlconnection().execute(QStringLiteral(
        "Update inventory..tbInvMRISDocnum set SequenceNumber = SequenceNumber + 1 "));
}

QString getNewRONumber()
{
    db::Connection &connection = sqlconnection();
    QString result;
    db::Recordset rs = connection.query(QStringLiteral(
        "select cast(year(getdate()) as varchar(4)) + '-' +   cast(isnull(RONumber,0) "
        "+ 1 as varchar(10)) as RONumber from inventory..tbinvCANumber "));
    if (!rs.eof())
        result = rs.text(QStringLiteral("RONumber"));
    rs.close();
    // A Null counter counts as 0 here as in the number just read; "RONumber + 1" would leave it
    // Null and hand out the same number for ever.
    connection.execute(
        QStringLiteral("Update inventory..tbinvCANumber set RONumber = isnull(RONumber,0) + 1 "));
    return result;
}

bool Verify_DocumentNumber(const QString &strDocNum)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select DocumentNumber from Inventory..tbinvWithdrawRequest where "
                       "DocumentNumber = '")
        + db::quoteInner(strDocNum.trimmed()) + QStringLiteral("'"));
    const bool found = rs.recordCount() > 0;
    rs.close();
    return found;
}
