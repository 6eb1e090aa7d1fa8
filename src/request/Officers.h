#pragma once

#include <memory>

class frmMain;
class clsEmployee;
class QLabel;
class QLineEdit;
struct MainControls;

// The requester and the approving officer of a request: each id box is checked against the
// hospital's employees, or an employee is chosen from the list of users.
class Officers final
{
public:
    explicit Officers(frmMain &form);
    ~Officers();

    void cmdOfficer_Click();
    void cmdReq_Click();
    // Enter (13) runs the role's look-up; true when the key was taken.
    bool txtOfficer_KeyPress(int keyAscii);
    bool txtReqID_KeyPress(int keyAscii);
    // The id boxes take Enter themselves; other keys follow the form-wide rule.
    void installKeyHandlers();

private:
    // One record per role, made on first use.
    void LookUp(std::unique_ptr<clsEmployee> &employee, QLineEdit &idBox, QLabel &nameLabel);

    frmMain &m_form;
    MainControls &m_c;
    std::unique_ptr<clsEmployee> m_officer;
    std::unique_ptr<clsEmployee> m_requester;
};
