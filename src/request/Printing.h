#pragma once

class frmMain;
struct MainControls;

// The main form's printing: the View button prints the listed or open document (a request, a
// request order or both), the Reports menu opens the issued-requests period, and the blinking
// Acknowledge button opens the acknowledgement of issued stock.
class Printing final
{
public:
    explicit Printing(frmMain &form);

    void cmdView_Click();
    void cmdAcknowledge_Click();
    void mnuIssuedReports_Click();

private:
    frmMain &m_form;
    MainControls &m_c;
};
