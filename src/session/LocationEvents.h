#pragma once

// The main form's location, department and section combo events. They are kept beside the
// reference lists so that every form shares one reading of the location rules.

#include <QString>
#include <functional>

class QRadioButton;

namespace ui {
class DataCombo;
}

// Validation of the supplying-location combo; returns Cancel.
bool cboLocation_Validate(ui::DataCombo &cboLocation);
// Validation of the requesting-location combo; sets targetAllowsRetail and the For Retail options
// (optYes = optConsumed(0), optNo = optConsumed(1)); then calls applyRetailRules (the main
// form's SetRetailOption(0)). Returns Cancel.
bool cboTargetLocation_Validate(ui::DataCombo &cboTargetLocation, const ui::DataCombo &cboLocation,
                                bool &targetAllowsRetail, QRadioButton *optYes, QRadioButton *optNo,
                                const std::function<void()> &applyRetailRules);
// The TVH rule on a change of the requesting combo's text (call only at site TVH).
void cboTargetLocation_Change(ui::DataCombo &cboTargetLocation, ui::DataCombo &cboLocation,
                              bool &targetAllowsRetail);
bool cboDepartment_Validate(ui::DataCombo &cboDepartment,
                            ui::DataCombo &cboSection); // never cancels
bool cboSection_Validate(ui::DataCombo &cboSection); // never cancels
