#pragma once

#include "platform/db/Connection.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class FlexGrid;
}

// One tagged conversion of an issue document into the pieces of another item.
struct PieceTransfer
{
    QString SourceItem;
    QString ReceivingItem;
    QString SourceLocation;
    QString DocumentNo;
    QString Transdate;
    double QtyTransferred = 0;
    double QtyReceived = 0;
    double AveCostSource = 0;
    double AveCostRec = 0;
    double ListCostSource = 0;
    double ListCostRec = 0;
    QString UserID;
    QString TargetLocation;
};

// The receiving side confirms the stock a supplying location issued to one of the user's
// locations (issue documents in status 'F'); acknowledging posts the movement and sets 'P'.
class frmAcknowledgement final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAcknowledgement(QWidget *parent = nullptr);
    ~frmAcknowledgement() override;

    void Form_Load();
    void LoadMRISList();
    void LoadMRISDetails();
    bool IsMRISAcknowledged(const QString &RecordNumber);
    // Posts the document, the asked-for piece and kit conversions included. On success the
    // posting stays open in one transaction until the status update has run
    // (cmdAcknowledge_Click commits it); a failure throws and rolls back. A document that no
    // longer waits (another workstation acknowledged it) posts nothing.
    void PostAcknowledgement(const QString &RecordNumber, QString &TransNum, bool &Success);
    void TransferItemsToPieces(const QString &RecordNumber);
    void TransferKitsToPieces(const QString &RecordNumber);
    void PostItemTransfer(const PieceTransfer &row, bool &Success);
    void PostKitTransfer(const PieceTransfer &row, bool &Success);
    void PrintMRIS(const QString &TargetLocationID, const QString &TransNum,
                   const QString &RecordNumber);

    void txtSearch_Change();
    void grdMRIS_EnterCell();
    void cmdAcknowledge_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();

    QLabel *Label1 = nullptr;
    QLineEdit *txtSearch = nullptr;
    ui::FlexGrid *grdMRIS = nullptr;
    QLabel *Label2 = nullptr;
    ui::FlexGrid *grdDetails = nullptr;
    QPushButton *cmdAcknowledge = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void transferToPieces(const QString &RecordNumber, bool kits);
    void postTransfer(const PieceTransfer &row, bool kits, bool &Success);
    // The document was acknowledged elsewhere (status "P") or no longer waits: the user is
    // told by whom, and the list is read again.
    void refuseTaken(const QString &RecordNumber, const QString &status);
    QString acknowledgedBy(const QString &RecordNumber);

    std::optional<db::Transaction> m_posting;
    std::optional<QString> m_takenStatus; // the status found when it was no longer 'F'
    std::optional<db::DatabaseError> m_transferError; // why the last conversion row failed
    int m_itemsPosted = 0;
    int m_kitsPosted = 0;
    bool m_loadingList = false; // the list moves its own current row while it is filled
};
