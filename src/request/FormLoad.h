#pragma once

class frmMain;
struct MainControls;
struct MainFlags;

// The form's start-up and the routines that set it up for a site and a user: Form_Load with
// every site layout, LoadRights, LoadLocationLists, SetRetailOption and ClearAll.
class FormLoad final
{
public:
    explicit FormLoad(frmMain &form);

    void Form_Load();
    void LoadRights();
    void LoadLocationLists();
    void SetRetailOption(int mode);
    void ClearAll();
    // grdDetails back to its empty layout: ten columns, the header and one empty row.
    void ResetDetailsGrid();

private:
    frmMain &m_form;
    MainControls &m_c;
    MainFlags &m_flags;
};
