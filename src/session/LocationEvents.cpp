#include "session/LocationEvents.h"

#include "platform/db/Connection.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"

#include <QRadioButton>
#include <QStringList>

bool cboLocation_Validate(ui::DataCombo &cboLocation)
{
    QString id;
    bool allowsRetail = false;
    const bool found = GetLocationByName(cboLocation.Text(), id, allowsRetail, true);
    cboLocation.Tag = id;
    return !found;
}

bool cboTargetLocation_Validate(ui::DataCombo &cboTargetLocation, const ui::DataCombo &cboLocation,
                                bool &targetAllowsRetail, QRadioButton *optYes, QRadioButton *optNo,
                                const std::function<void()> &applyRetailRules)
{
    QString id;
    if (!GetLocationByName(cboTargetLocation.Text(), id, targetAllowsRetail, false))
        return true;
    cboTargetLocation.Tag = id;
    if (cboLocation.Tag == cboTargetLocation.Tag) {
        ui::msgBox(QStringLiteral("Invalid Target Location..."), ui::Buttons::Ok,
                   ui::Icon::Critical);
        return true;
    }
    if (optYes && optNo) {
        if (targetAllowsRetail) {
            optYes->setEnabled(true);
            optNo->setEnabled(true);
            optYes->setChecked(true);
        } else {
            optYes->setEnabled(false);
            optNo->setEnabled(true);
            optNo->setChecked(true);
        }
    }
    if (applyRetailRules)
        applyRetailRules();
    return false;
}

void cboTargetLocation_Change(ui::DataCombo &cboTargetLocation, ui::DataCombo &cboLocation,
                              bool &targetAllowsRetail)
{
    // The requesting locations that draw only from the two central stores.
    static const QStringList centralOnly {
        QStringLiteral("33"), QStringLiteral("73"),  QStringLiteral("39"),
        QStringLiteral("28"), QStringLiteral("136"), QStringLiteral("82"),
        QStringLiteral("29"), QStringLiteral("140"), QStringLiteral("24"),
    };
    QString id;
    if (!GetLocationByName(cboTargetLocation.Text(), id, targetAllowsRetail, false))
        return;
    cboTargetLocation.Tag = id;
    if (centralOnly.contains(id))
        LoadSpecificLocation(cboLocation, QStringLiteral("('94','21')"));
    else
        LoadLocation(cboLocation, true, true, true, false, false);
    cboLocation.setEnabled(true);
}

bool cboDepartment_Validate(ui::DataCombo &cboDepartment, ui::DataCombo &cboSection)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("select * from Build_File..tbcoDepartment where department = ")
        + db::quote(cboDepartment.Text()));
    QString departmentId;
    if (!rs.eof()) {
        departmentId = rs.text(QStringLiteral("DepartmentID"));
        cboDepartment.Tag = departmentId;
    }
    LoadSection(cboSection, departmentId);
    return false;
}

bool cboSection_Validate(ui::DataCombo &cboSection)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("Select * from Build_file..tbCoSection where sectionname=")
        + db::quote(cboSection.Text()));
    if (!rs.eof())
        cboSection.Tag = rs.text(QStringLiteral("SectionID"));
    return false;
}
