#pragma once

class frmMain;
struct MainControls;
struct MainFlags;

// The request lines grid grdDetails and the request-order grid fgRO: totals, the line counter,
// the location lock and the Details button.
class LinesGrid final
{
public:
    explicit LinesGrid(frmMain &form);

    void UpdateGrandTotal();
    void UpdateLineCounter();
    void LockLocations();
    void cmdDetails_Click();
    void InitRequestOrderGrid(bool clear);
    void UpdateROTotal();

private:
    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
