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

    // True while the entry holds an item: the code a look-up resolved, or the code of the grid
    // line being changed. Add stays disabled otherwise.
    bool HoldsItem() const;

    // Enter in the unit cost goes to the Update button; Enter on the button presses it.
    void installHooks();

private:
    bool txtUnitCost_Event(QEvent *event);
    bool cmdOK_Event(QEvent *event);
    // Empties every figure of the item looked up before, its retail choice and its ADS box.
    void ClearItem();
    void ResetRetail();
    // Tells the user when the look-up lists no item for the code; false when it lists some.
    bool TellNotFound(const QString &code, const QString &locationName, const QString &locationId);
    // Whether the site takes the retail option of a line from the item master.
    bool retailFromMaster() const;
    // A kit is an item with component rows. Asks whether its components are wanted and, when
    // they are, puts the chosen ones on the request; false when the kit is to be taken as an
    // ordinary item.
    bool IsKit(const QString &code);
    bool AddKit(const QString &kitCode);
    // The item's figures into the detail fields (the name, costs, stock, unit, limits, ADS).
    void showFigures(clsItem &item);
    void showADS(const clsItem &item);
    void focusIfShown(QWidget *widget);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
    // The item code the last look-up resolved; empty after one that failed.
    QString m_resolved;
};
