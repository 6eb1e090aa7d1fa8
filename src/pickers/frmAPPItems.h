#pragma once

#include "pickers/clstemCollection.h"

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class FlexGrid;
}

// The annual plan items picker: the items the procurement plan lets the requesting location draw
// from the supplying location, ticked several at a time. The caller sets the two locations,
// shows the form and reads ChosenItems (empty when the user closed the form).
class frmAPPItems final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAPPItems(QWidget *parent = nullptr);

    QString SupplyingLocationID; // the main form's cboLocation
    QString RequestingLocationID; // the main form's cboTargetLocation
    bool ShowSelectAll = false;
    // Carried for the caller; the list does not read them.
    QString SearchString;
    QString LocationID;
    bool DrugsOrCsr = false;

    ChosenItemList ChosenItems;

    std::array<QRadioButton *, 2> optList {};
    QComboBox *cboCategory;
    QCheckBox *chkAllCategory;
    QCheckBox *chkAll;
    QLineEdit *txtSearch;
    ui::FlexGrid *flexMSHList;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

    // Loads the categories and the items (done when the form is first shown).
    void Form_Load();
    void LoadCategories();
    void LoadList();
    // The category identifier sent to the list: "%" for all categories.
    QString SelectedCategory() const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyEmptyLayout();
    void applyDataLayout();
    void txtSearch_Change();
    void cmdOK_Click();

    QGroupBox *m_listFrame;
    bool m_loaded = false;
    int m_markedRow = 0; // the row the last search marked, 0 for none
};
