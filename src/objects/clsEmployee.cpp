#include "objects/clsEmployee.h"

#include "objects/RecordFields.h"
#include "platform/db/Connection.h"

bool clsEmployee::Search(const QString &strEmployeeID)
{
    db::Recordset rs = records::connectionOf(m_connection)
                           .query(QStringLiteral("inventory..sp_Inv_SearchEmployee '")
                                  + db::quoteInner(strEmployeeID) + QLatin1Char('\''));
    // Only one employee may answer to the id: several matches name nobody.
    if (rs.recordCount() == 1) {
        LastName = rs.text(QStringLiteral("LastName"));
        FirstName = rs.text(QStringLiteral("FirstName"));
        MiddleName = rs.text(QStringLiteral("MiddleName"));
        CompleteName = rs.text(QStringLiteral("Employee Name"));
        EmployeeID = strEmployeeID;
        return true;
    }
    LastName.clear();
    FirstName.clear();
    MiddleName.clear();
    CompleteName.clear();
    EmployeeID.clear();
    return false;
}
