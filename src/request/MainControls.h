#pragma once

// The main form's controls and flags as its concerns see them. Control arrays are indexed as on
// the screen; an index without a control (optOptions(5)) holds nullptr.

#include <QString>
#include <array>

class QLabel;
class QRadioButton;
class QLineEdit;
class QTimer;

namespace Ui {
class frmMain;
}

// Form-level flags shared by the routines of the main form. The kind of the document (request or
// return, consolidation or not) belongs to the document itself (RequestDocument).
struct MainFlags
{
    bool IsNewDocument = false; // the next load is for a new document
    bool CanVerify = false; // the user may verify requests
    bool TargetAllowsRetail = false; // the requesting location may take retail stock
    bool IsNewLine = true; // the grid's current row is empty: the entry adds a line
    bool VerifyOnSave = false; // the save is made for the verify button: stamp the verifier
};

struct MainControls
{
    Ui::frmMain *ui = nullptr;
    std::array<QRadioButton *, 8> optOptions {};
    std::array<QLabel *, 24> Label1 {};
    std::array<QRadioButton *, 2> optConsumed {};
    std::array<QRadioButton *, 2> optRequestOrder {};
    QLineEdit *txtEntry = nullptr; // the in-cell quantity editor laid over grdDetails
    QTimer *tmrRefresh = nullptr;
    QTimer *tmrAcknowledge = nullptr;
    QTimer *tmrBlinkAcknowledge = nullptr;
};

// Names of the columns of grdDetails.
namespace DetailsCol {
enum : int {
    Code = 0,
    Description = 1,
    UOM = 2,
    Quantity = 3,
    UnitCost = 4,
    TotalCost = 5,
    Retail = 6,
    isADS = 7,
    OnHand = 8,
    LotNumber = 9
};
}

// The site code tests of the form.
bool isSite(const char *code);
