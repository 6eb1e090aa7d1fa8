#pragma once

// The statements that save a request document, built from the document alone. Each function
// gives the text the database receives; SaveStatements::build gives a whole save in the order
// it is sent.

#include <QString>
#include <QStringList>

class RequestDocument;
struct RequestLine;
struct RequestOrderLine;

namespace SaveStatements {

// What a save needs besides the document.
struct Context
{
    QString transDate; // "MM/dd/yyyy hh:mm:ss AP" of the server's clock, unquoted
    QString userId; // the document's user (the first saver)
    QString currentUser; // the logged-in employee: request orders and ZRWB verification
    bool lotNumbers = false; // switch "91"
    bool zrwbHeader = false; // site ZRWB: officers, department and section
    bool requestOrders = false; // site Q4VH
    bool verify = false; // stamp the verifier
    QString verifierId; // empty: not verified
};

QString deleteLines(const QString &lineTable, const QString &number);
QString insertLine(const QString &lineTable, const QString &number, const RequestLine &line,
                   const QString &location, const QString &target, const QString &transDate,
                   const QString &userId, const QString &remarks);
QString updateLotNumber(const QString &lineTable, const QString &number, const RequestLine &line);
QString deleteRequestOrders(const QString &roNumber);
QString insertRequestOrder(const QString &roNumber, const RequestOrderLine &line,
                           const QString &location, const QString &target, const QString &userId,
                           const QString &transDate, const QString &remarks);
QString updateIsRequest(const QString &lineTable, const QString &number, bool isRequest);
QString updateSiteHeader(const QString &lineTable, const QString &number, const QString &officer,
                         const QString &departmentId, const QString &sectionId,
                         const QString &requester);
QString updateVerifier(const QString &lineTable, const QString &number, const QString &verifier);
QString updateRequestOrderVerifier(const QString &roNumber, const QString &verifier);

// The user to keep on a document: the first saver's, when the document is stored.
QString requestUserId(const QString &number);
// What is stored of a document, read when it is opened and again inside the save.
QString storedState(const QString &lineTable, const QString &number);

// A number as it goes into a statement unquoted.
QString numberLiteral(double value);

// Every statement of one save of the document, in order.
QStringList build(const RequestDocument &document, const Context &context);

} // namespace SaveStatements
