#pragma once

class frmMain;
struct MainControls;
struct MainFlags;

// The form's modes: New, Edit, Cancel and Exit, and the switch between the listing tab and the
// document tab.
class Modes final
{
public:
    explicit Modes(frmMain &form);

    void cmdNew_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    // The tab control changed its tab; previousTab is the tab selected before.
    void SSTab1_Click(int previousTab);

private:
    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
    bool m_inEdit = false;
};
