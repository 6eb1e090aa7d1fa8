#pragma once

// Small readings shared by the main form's concerns.

#include <QString>
#include <QVariant>

class QDateTimeEdit;
class RequestDocument;

// Shows a date-time given as text (the server's general date text, or a date read from the
// database) in a date picker; text that is no date leaves the picker as it was.
void setTransDate(QDateTimeEdit *picker, const QVariant &value);

// Trim: removes the blanks (spaces only) at both ends.
QString trimBlanks(const QString &text);

// A bit column as the program tests it: true, a non-zero number, or the text "True"/"1".
bool isTrueValue(const QVariant &value);

// A number column read as a number, NULL (or no number) read as 0.
double numberValue(const QVariant &value);

struct MainFlags;
// The open document's kind as people name it: "withdrawal request", "consolidation request" or
// "return".
QString documentKind(const RequestDocument &document);
