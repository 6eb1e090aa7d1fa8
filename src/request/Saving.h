#pragma once

#include <QString>
#include <QStringList>

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

private:
    // The statements of one save, sent as one batch inside its transaction.
    void WriteDocument(const QString &lineTable, const QString &location, const QString &target,
                       const QString &transDate, bool verifierConfirmed, const QString &verifierID);
    void WriteRequestOrders(const QString &transDate, QStringList &commands);
    void AddVerification(const QString &lineTable, const QString &verifierID, bool zrwb,
                         QStringList &commands);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};

// A grid cell that goes into a statement without quotes: a plain number as the grid shows it,
// anything else as the number it reads as, so that no cell text can change the statement.
QString bareNumber(const QString &cell);
