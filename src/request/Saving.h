#pragma once

#include "request/RequestDocument.h"

#include <QString>

class frmMain;
struct MainControls;
struct MainFlags;

// Saving the document on the details tab: the Save button's checks, SaveRequest with its
// numbering, lines, request orders, site columns and verification stamp.
class Saving final
{
public:
    explicit Saving(frmMain &form);

    void cmdSave_Click();
    // Writes the document; true when it was written. A refusal (blank requesting location, a
    // statement the database refused) leaves the database as it was.
    bool SaveRequest();
    bool IsListEmpty();
    bool AllQuantitiesFilled();
    // The employee code to store as the document's user: the first saver's, else the current.
    QString GetRequestUserID();

    // The length of the Remarks column.
    static constexpr int RemarksLimit = 500;

private:
    bool RemarksFit();
    // Both locations name a location the user may use; else a message naming the field.
    bool LocationsResolved();
    void ShowNumbers();
    // The message for a save refused because the stored document changed since it was opened.
    static QString DescribeChange(const StoredState &opened, const StoredState &now);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};

// What is stored of a document in a line table.
StoredState ReadStoredState(const QString &lineTable, const QString &number);
// As above, from the table the document lives in: the requests, else the consolidation requests.
StoredState ReadStoredState(const QString &number);
