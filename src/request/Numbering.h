#pragma once

// Document numbers of the main form: the next request number, the MRIS sequence, the
// request-order counter and the check of a typed number.

#include <QString>

// The next document number: the largest numeric number of ordinary and consolidation requests
// plus one, or at site ZRWB with withdrawal entry the MRIS procedure's number (unless a document
// holds it); "1" when nothing is found. A database error is
// shown ("Error Message") and the number held so far is returned.
QString GetNewDocNumber();
// As GetNewDocNumber, but a database error passes to the caller: the save must not go on under
// a number it did not draw. Called inside the save's transaction, it keeps the number drawn
// from every other save until that transaction ends.
QString DrawNewDocNumber();
// Advances the MRIS sequence by one.
void UpdateMRISDocNumber();
// The next request-order counter text ("2026-15") from the server's year; advances the counter.
// Empty when the counter table has no row.
QString getNewRONumber();
// Does a request line with this number exist (blanks around the number ignored)?
bool Verify_DocumentNumber(const QString &strDocNum);
