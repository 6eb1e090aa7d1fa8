#pragma once

#include <QString>

class frmMain;
struct MainControls;
struct MainFlags;

// The captions that tell a request ("Inventory Request") from a return ("Inventory Return").
void ShowDocumentKind(MainControls &c, bool isRequest);

// LoadRequest: one request document (the listing's selected one, or an empty new one) into the
// header controls and the lines grid, and at site Q4VH its request order into the request-order
// panel.
class Loading final
{
public:
    explicit Loading(frmMain &form);

    void LoadRequest();

private:
    void ApplyLinesLayout();
    void LoadRequestOrder(const QString &number);

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
