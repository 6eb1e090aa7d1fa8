#pragma once

#include "platform/db/Recordset.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QPushButton;

namespace ui {
class FlexGrid;
}

// The component items of a kit: the caller sets ItemID to the kit's code, shows the form, then
// reads AllItems (take every component) and ItemID (the picked component, or still the kit).
class frmKitEntry final : public QDialog
{
    Q_OBJECT

public:
    explicit frmKitEntry(QWidget *parent = nullptr);

    QString ItemID;
    bool AllItems = false;
    // After a pick: the picked component's quantity in one kit, as the grid shows it.
    QString Quantity;

    QCheckBox *chkAddAllItems;
    ui::FlexGrid *flexMSHDetails;
    QPushButton *cmdSelect;
    QPushButton *cmdClose;

    // Fills the grid with the kit's components (done when the form is first shown).
    void Form_Load();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyLayout();
    void cmdSelect_Click();

    db::Recordset m_components;
    bool m_loaded = false;
};
