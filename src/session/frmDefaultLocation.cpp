#include "session/frmDefaultLocation.h"

#include "platform/ui/DataCombo.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/Settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#if __has_include("platform/ui/ValidateOnLeave.h")
#include "platform/ui/ValidateOnLeave.h"
#define SR_VALIDATE_ON_LEAVE 1
#else
#define SR_VALIDATE_ON_LEAVE 0
#endif

frmDefaultLocation::frmDefaultLocation(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDefaultLocation"));
    setWindowTitle(QStringLiteral("Default Location"));

    auto *label = new QLabel(QStringLiteral("Default Location"), this);
    cboDefaultLocation = new ui::DataCombo(this);
    cboDefaultLocation->setObjectName(QStringLiteral("cboDefaultLocation"));
    cboDefaultLocation->setMinimumWidth(300);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(cboDefaultLocation, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmDefaultLocation::cmdOK_Click);
#if SR_VALIDATE_ON_LEAVE
    ui::setValidator(cboDefaultLocation,
                     [this](bool &cancel) { cancel = cboDefaultLocation_Validate(); });
#endif

    // The user's locations, the current default preselected.
    LoadLocation(*cboDefaultLocation, false, true, false, false, true);
}

bool frmDefaultLocation::cboDefaultLocation_Validate()
{
    QString id;
    bool allowsRetail = false;
    const bool found = GetLocationByName(cboDefaultLocation->Text(), id, allowsRetail, true);
    cboDefaultLocation->Tag = id;
    return !found;
}

void frmDefaultLocation::cmdOK_Click()
{
#if !SR_VALIDATE_ON_LEAVE
    // Without validation on leaving the combo, the choice is resolved here.
    if (cboDefaultLocation_Validate())
        return;
#endif
    Session.DefaultLocation = cboDefaultLocation->Tag;
    saveDefaultLocation(Session.DefaultLocation);
    accept();
}
