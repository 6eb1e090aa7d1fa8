#pragma once

// Document numbers of the main form: the next request number, the MRIS sequence, the
// request-order counter and the check of a typed number.

#include <QString>

// The next document number: the largest numeric request number plus one, or at site ZRWB with
// withdrawal entry the MRIS procedure's number; "1" when nothing is found. A database error is
// shown ("Error Message") and the number held so far is returned.
QString GetNewDocNumber();
// As GetNewDocNumber, but a database error passes to the caller: the save must not go on under
// a number it did not draw.
QString DrawNewDocNumber();
// Advances the MRIS sequence by one.
void UpdateMRISDocNumber();
// The next request-order counter text ("2026-15") from the server's year; advances the counter.
// Empty when the counter table has no row.
QString getNewRONumber();
// Does a request line with this number exist (blanks around the number ignored)?
bool Verify_DocumentNumber(const QString &strDocNum);
