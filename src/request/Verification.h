#pragma once

class frmMain;
struct MainControls;
struct MainFlags;

// Verifying a request on saving, the save after a second person's confirmation, the verified
// listing switch and marking a listed request deleted.
class Verification final
{
public:
    explicit Verification(frmMain &form);

    void cmdVerify_Click();
    void cmdVerified_Click();
    void chkverified_Click();
    void cmdDeleteReq_Click();

private:
    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
