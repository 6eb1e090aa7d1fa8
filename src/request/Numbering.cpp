#include "request/Numbering.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"
#include "session/Session.h"

namespace {

bool fromMRISSequence()
{
    return Session.ClientName == QLatin1String("ZRWB") && Session.IsWDEntered;
}

// The largest numeric number that either document table holds, plus one. Ordinary and
// consolidation requests share one series of numbers, so that neither kind of document is saved
// over the other. Inside the save's transaction the lock hints keep both tables' numbers, and
// the ranges past them, locked on SQL Server until the save commits, so a second save waits and
// then draws past the first; the embedded engine holds the inventory database locked for
// writing from the transaction's start. Both tables are read with the same expression.
QString largestNumberStatement()
{
    return QStringLiteral("Select (max(DocNum) + 1) as DocNum From (")
        + QStringLiteral("Select max(Cast(DocumentNumber as float)) as DocNum From "
                         "INVENTORY..tbInvWithdrawRequest with (updlock, holdlock) "
                         "where isnumeric(DocumentNumber) = 1 ")
        + QStringLiteral("union all ")
        + QStringLiteral("Select max(Cast(DocumentNumber as float)) as DocNum From "
                         "INVENTORY..tbInvWithdrawRequestConsolidation with (updlock, holdlock) "
                         "where isnumeric(DocumentNumber) = 1 ")
        + QStringLiteral(") A ");
}

QString docNumberSource()
{
    if (fromMRISSequence())
        return QStringLiteral("inventory..sp_inv_getMRISDocNum");
    return largestNumberStatement();
}

// The number read so far is kept in result, so that the trapping caller can return it.
void readDocNumber(QString &result, const QString &source)
{
    db::Recordset rs = sqlconnection().query(source);
    if (rs.recordCount() > 0)
        result = format::variantText(IfNull(rs.field(QStringLiteral("DocNum")), 1));
    rs.close();
}

// Does either document table hold this number?
bool numberHeld(const QString &number)
{
    const QString quoted = db::quoteInner(number.trimmed());
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select DocumentNumber From INVENTORY..tbInvWithdrawRequest with (updlock, "
                       "holdlock) where DocumentNumber = '")
        + quoted
        + QStringLiteral("' union all Select DocumentNumber From "
                         "INVENTORY..tbInvWithdrawRequestConsolidation with (updlock, holdlock) "
                         "where DocumentNumber = '")
        + quoted + QStringLiteral("'"));
    return !rs.eof();
}

// The MRIS sequence is the database's own; a number it hands out that a document already holds
// gives way to the next free one.
void drawDocNumber(QString &result)
{
    readDocNumber(result, docNumberSource());
    if (fromMRISSequence() && numberHeld(result))
        readDocNumber(result, largestNumberStatement());
}

} // namespace

QString GetNewDocNumber()
{
    QString result = QStringLiteral("1");
    try {
        drawDocNumber(result);
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical,
                   QStringLiteral("Error Message"));
    }
    return result;
}

QString DrawNewDocNumber()
{
    QString result = QStringLiteral("1");
    drawDocNumber(result);
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
