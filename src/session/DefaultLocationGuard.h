#pragma once

// The double click on the main form's logo: asks for the hospital's OPD password and, when it
// matches, lets the user change the workstation's default location.
void ChangeDefaultLocation();
