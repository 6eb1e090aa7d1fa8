#pragma once

class QLineEdit;

// Masks a password box with the middle dot (U+00B7), the mask the hospital's other programs show.
void useMiddleDotMask(QLineEdit *edit);
