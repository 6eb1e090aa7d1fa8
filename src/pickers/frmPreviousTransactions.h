#pragma once

#include "pickers/clstemCollection.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ui {
class FlexGrid;
}

// "Previous Transactions": the earlier requests (ordinary and consolidation) between the same two
// locations, newest first, and the items of the selected one to tick. The caller sets the two
// locations, shows the form and reads ChosenItems (empty when cancelled).
class frmPreviousTransactions final : public QDialog
{
    Q_OBJECT

public:
    explicit frmPreviousTransactions(QWidget *parent = nullptr);

    QString SupplyingLocationID; // the main form's cboLocation
    QString RequestingLocationID; // the main form's cboTargetLocation

    ChosenItemList ChosenItems;

    QLineEdit *txtSearch;
    ui::FlexGrid *grdMRIS;
    ui::FlexGrid *grdDetails;
    QCheckBox *chkAll;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

    void Form_Load(); // done when the form is first shown
    void ClearChosen();
    void LoadPreviousList();
    void LoadPreviousDetails();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyListLayout();
    void applyDetailsLayout();
    void clearDetails();
    void grdDetails_DblClick();
    void cmdOK_Click();

    bool m_loaded = false;
    bool m_loadingList = false; // the list moves its own current row while it is filled
};
