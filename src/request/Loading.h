#pragma once

#include "request/RequestDocument.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace db {
class Recordset;
}

class frmMain;
struct MainControls;
struct MainFlags;

// The statements that read a document: the loader procedure, and at site Q4VH the request
// order's lines and header.
QString LoadRequestStatement(const QString &number);
QString RequestOrderLinesStatement(const QString &number);
QString RequestOrderHeaderStatement(const QString &number);

// The captions that tell a request ("Inventory Request") from a return ("Inventory Return").
void ShowDocumentKind(MainControls &c, bool isRequest);

// LoadRequest: one request document (the listing's selected one, or an empty new one) into the
// header controls and the lines grid, and at site Q4VH its request order into the request-order
// panel.
class Loading final
{
public:
    explicit Loading(frmMain &form);

    void LoadRequest();
    // Shows the form's document: header, lines, and whether it may be changed. Nothing that
    // reacts to the user's edits runs meanwhile.
    void ShowDocument();
    // Locks the document when its stored status forbids changes, with the reason on the form.
    void ApplyEditable();

private:
    struct RequestOrderHeader
    {
        DocumentLocation supplying;
        DocumentLocation requesting;
        QString number;
        QDateTime transDate;
        QString remarks;
    };
    void ApplyLinesLayout();
    // The header and lines of a stored document from the loader's rows.
    void LoadStoredDocument(db::Recordset &rs, RequestDocument::Loaded &loaded);
    void LoadRequestOrderLines(const QString &number);
    std::optional<RequestOrderHeader> ReadRequestOrderHeader(const QString &number);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
