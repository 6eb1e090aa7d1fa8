#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace tsql {

// The text of RAISERROR's message: its placeholders (%d %i %u %o %x %X %s with the flags - + 0 #
// and blank, a width and a precision, either of them * to take the next argument; %% for a
// percent sign) filled from the arguments in order. A missing or NULL argument reads "(null)".
// Throws tsql::Error with the server's message for a placeholder that does not fit its
// argument.
QString raiseMessage(const QString &format, const std::vector<QVariant> &args);

} // namespace tsql
