#pragma once

#include <QString>

class QEvent;
class QWidget;
class clsItem;
class frmMain;
struct MainControls;
struct MainFlags;

// The item-entry fields of the main form: resolving a typed code (bar code, exact code or a pick
// from the item lookup), the item's figures at the location, the side figures (blocked stock,
// pending requests, plan balance) and the quantity and unit-cost fields.
class ItemEntry final
{
public:
    explicit ItemEntry(frmMain &form);

    // Leaves cancel false: the focus may always leave the code field.
    void txtProdCode_Validate(bool &cancel);
    void ShowItemDetails();
    void LoadBlockedQty();
    bool IsItemPending();
    void LoadPPMP(const QString &ItemCode);
    // The "..." button: the item lookup for the text in the code field.
    void cmdCode_Click();

    void txtWithdraw_Validate(bool &cancel);
    void txtUnitCost_Validate(bool &cancel);
    // Typing a quantity or a unit cost enables the Update button.
    void txtWithdraw_Change();
    void txtUnitCost_Change();
    void ComputeLineTotal();

    // Enter in the unit cost goes to the Update button.
    void installHooks();

private:
    bool txtUnitCost_Event(QEvent *event);
    // The item's figures into the detail fields (the name, costs, stock, unit, limits, ADS).
    void showFigures(clsItem &item);
    void showADS(const clsItem &item);
    void focusIfShown(QWidget *widget);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
