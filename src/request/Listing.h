#pragma once

#include <QString>

class frmMain;
struct MainControls;
struct MainFlags;

// The filter of the listing as the controls show it when the listing is loaded.
struct ListingFilter
{
    QString employeeCode;
    bool requestOrders = false; // site Q4VH with "Request Order" chosen
    bool lotNumbers = false; // switch "91"
    int option = 0; // the selected status option: 0-4 (withdrawals), 6 or 7 (request orders)
    bool verified = false;
    QString search; // the search box as typed
    bool newestFirst = false; // site MKWV
};

// The statement that lists the documents for a filter.
QString ListingStatement(const ListingFilter &filter);

// The first tab: the listing of the user's documents, its filters and refresh, the way into a
// listed document, and the notice of issued stock waiting for acknowledgement.
class Listing final
{
public:
    explicit Listing(frmMain &form);

    void LoadListing();
    bool HasDocumentsToAcknowledge();
    void optOptions_Click(int index);
    void optRequestOrder_Click(int index);
    void txtSearch_KeyPress(int keyAscii);
    void tmrRefresh_Timer();
    void grdListing_DblClick();
    void cmdList_Click();
    void tmrAcknowledge_Timer();
    void tmrBlinkAcknowledge_Timer();

    ListingFilter currentFilter() const;

private:
    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
