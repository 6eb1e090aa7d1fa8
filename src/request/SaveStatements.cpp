#include "request/SaveStatements.h"

#include "platform/db/Connection.h"
#include "platform/format/Format.h"
#include "request/FormHelpers.h"
#include "request/RequestDocument.h"

namespace SaveStatements {

namespace {

QString q(const QString &text)
{
    return db::quoteInner(text);
}

QString noCommas(QString text)
{
    return text.remove(QLatin1Char(','));
}

} // namespace

QString numberLiteral(double value)
{
    return format::numberText(value);
}

QString deleteLines(const QString &lineTable, const QString &number)
{
    return QStringLiteral("Delete INVENTORY..") + lineTable
        + QStringLiteral(" Where DocumentNumber = '") + q(number) + QStringLiteral("'");
}

QString insertLine(const QString &lineTable, const QString &number, const RequestLine &line,
                   const QString &location, const QString &target, const QString &transDate,
                   const QString &userId, const QString &remarks)
{
    return QStringLiteral("Insert INVENTORY..") + lineTable
        + QStringLiteral(" (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, "
                         "LocationID, TargetLocationID, TransDate, UserID, Remarks) ")
        + QStringLiteral("Values ('") + q(trimBlanks(number)) + QStringLiteral("','")
        + q(line.itemId) + QStringLiteral("',") + numberLiteral(line.quantity) + QStringLiteral(",")
        + line.unitCost.toString() + QStringLiteral(",'") + q(line.retail) + QStringLiteral("', '")
        + (line.ads ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral("', '")
        + q(location) + QStringLiteral("', '") + q(target) + QStringLiteral("', '") + q(transDate)
        + QStringLiteral("', '") + q(userId) + QStringLiteral("', '") + q(remarks)
        + QStringLiteral("')");
}

QString updateLotNumber(const QString &lineTable, const QString &number, const RequestLine &line)
{
    return QStringLiteral("update INVENTORY..") + lineTable + QStringLiteral(" ")
        + QStringLiteral(" set lotnumber = '") + q(line.lotNumber) + QStringLiteral("' ")
        + QStringLiteral(" where documentnumber = '") + q(trimBlanks(number)) + QStringLiteral("' ")
        + QStringLiteral(" and itemid = '") + q(line.itemId) + QStringLiteral("' ");
}

QString deleteRequestOrders(const QString &roNumber)
{
    return QStringLiteral("Delete INVENTORY..tbinvRequestOrder Where DocumentNumber = '")
        + q(roNumber) + QStringLiteral("'");
}

QString insertRequestOrder(const QString &roNumber, const RequestOrderLine &line,
                           const QString &location, const QString &target, const QString &userId,
                           const QString &transDate, const QString &remarks)
{
    // Request orders lose the single quotes of their remarks.
    const QString plainRemarks = QString(remarks).remove(QLatin1Char('\''));
    return QStringLiteral("Insert into inventory..tbinvRequestOrder(Documentnumber, ")
        + QStringLiteral("locationid,targetlocationid,itemid,qty,unitcost,totalcost,userid,"
                         "transdate,Remarks) values( ")
        + QStringLiteral(" '") + q(roNumber) + QStringLiteral("', '") + q(location)
        + QStringLiteral("', '") + q(target) + QStringLiteral("', ") + QStringLiteral(" '")
        + q(line.itemId) + QStringLiteral("','") + q(noCommas(line.quantity))
        + QStringLiteral("', '") + q(noCommas(line.unitCost)) + QStringLiteral("', ")
        + QStringLiteral(" '") + q(noCommas(line.totalCost)) + QStringLiteral("','") + q(userId)
        + QStringLiteral("','") + q(transDate) + QStringLiteral("', '") + q(plainRemarks)
        + QStringLiteral("') ");
}

QString updateIsRequest(const QString &lineTable, const QString &number, bool isRequest)
{
    return QStringLiteral(" update INVENTORY..") + lineTable + QStringLiteral("  set isrequest = '")
        + (isRequest ? QStringLiteral("True") : QStringLiteral("False"))
        + QStringLiteral("' where documentnumber =  '") + q(trimBlanks(number))
        + QStringLiteral("' ");
}

QString updateSiteHeader(const QString &lineTable, const QString &number, const QString &officer,
                         const QString &departmentId, const QString &sectionId,
                         const QString &requester)
{
    return QStringLiteral(" update INVENTORY..") + lineTable
        + QStringLiteral("  set ApprovingOfficerID = '") + q(trimBlanks(officer))
        + QStringLiteral("', ") + QStringLiteral(" DepartmentID = '") + q(departmentId)
        + QStringLiteral("' , SectionID = '") + q(sectionId) + QStringLiteral("' , ")
        + QStringLiteral(" Requestedby = '") + q(trimBlanks(requester)) + QStringLiteral("'")
        + QStringLiteral(" where documentnumber =  '") + q(trimBlanks(number))
        + QStringLiteral("' ");
}

QString updateVerifier(const QString &lineTable, const QString &number, const QString &verifier)
{
    return QStringLiteral("Update Inventory..") + lineTable + QStringLiteral(" set Verifiedby = '")
        + q(verifier) + QStringLiteral("', verifiedDate = GetDate() where DocumentNumber = '")
        + q(trimBlanks(number)) + QStringLiteral("'");
}

QString updateRequestOrderVerifier(const QString &roNumber, const QString &verifier)
{
    return QStringLiteral("Update Inventory..tbInvRequestOrder set Verifiedby = '") + q(verifier)
        + QStringLiteral("', verifiedDate = GetDate() where DocumentNumber = '") + q(roNumber)
        + QStringLiteral("'");
}

QString requestUserId(const QString &number)
{
    return QStringLiteral("select top 1 isnull(UserID,'') as UserID from "
                          "inventory..tbInvWithdrawRequest where documentnumber = '")
        + q(number) + QStringLiteral("'");
}

QString storedState(const QString &lineTable, const QString &number)
{
    return QStringLiteral("select ItemID, Quantity, UnitCost, ForRetail, isADS, lotnumber, "
                          "Status, Verifiedby, verifiedDate, ProcessBy, DepartmentID, SectionID "
                          "from INVENTORY..")
        + lineTable + QStringLiteral(" where DocumentNumber = '") + q(number)
        + QStringLiteral("' order by LineID");
}

QStringList build(const RequestDocument &document, const Context &context)
{
    QStringList statements;
    const QString table = document.lineTable();
    const QString number = document.number();
    const QString location = document.locationId();
    const QString target = document.targetLocationId();

    // The document's lines are replaced wholesale.
    statements << deleteLines(table, number);
    for (const RequestLine &line : document.lines()) {
        if (trimBlanks(line.itemId).isEmpty())
            continue;
        statements << insertLine(table, number, line, location, target, context.transDate,
                                 context.userId, document.remarks());
        if (context.lotNumbers)
            statements << updateLotNumber(table, number, line);
    }

    if (context.requestOrders) {
        // Request orders always go from the supplying to the requesting location, whatever
        // the kind of document, under the current user.
        const QString roNumber = document.requestOrderNumber();
        statements << deleteRequestOrders(roNumber);
        for (const RequestOrderLine &line : document.requestOrders()) {
            if (line.description.isEmpty())
                continue;
            statements << insertRequestOrder(roNumber, line, document.supplying().id,
                                             document.requesting().id, context.currentUser,
                                             context.transDate, document.remarks());
        }
    }

    if (context.lotNumbers)
        statements << updateIsRequest(table, number, document.isRequest());
    if (context.zrwbHeader)
        statements << updateSiteHeader(table, number, document.officerId(),
                                       document.department().id, document.section().id,
                                       document.requesterId());
    if (context.verify && !context.verifierId.isEmpty()) {
        statements << updateVerifier(table, number, context.verifierId);
        if (context.requestOrders && !context.zrwbHeader)
            statements << updateRequestOrderVerifier(document.requestOrderNumber(),
                                                     context.verifierId);
    }
    return statements;
}

} // namespace SaveStatements
