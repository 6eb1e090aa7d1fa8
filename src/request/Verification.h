#pragma once

#include <QString>

namespace db {
class Recordset;
}

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

    // Why the document in its present state (status and verifier as read now) may not be
    // marked deleted; empty when it may.
    static QString deletionRefusal(const QString &number, const db::Recordset &now);

private:
    // The employee who wrote the document on the details tab.
    QString documentAuthor() const;

    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
