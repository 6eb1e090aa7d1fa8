#pragma once

#include "platform/db/EmbeddedConnection.h"
#include "platform/user/CurrentUser.h"
#include "session/EncodePassword.h"
#include "session/Session.h"
#include "support/TestEnvironment.h"

#include <QStringList>
#include <memory>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testing_support {

// A fresh database with the employee TESTER logged in.
class LoggedInTest : public LoggedInDatabaseTest
{
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        logIn(QStringLiteral("TESTER"));
    }

    // The hospital's locations, one of each kind the lists tell apart, and TESTER's rights.
    //  id   name              warehouse dispensing order status type
    //  21   CENTRAL SUPPLY    1         0          1     NULL   D
    //  20   MAIN PHARMACY     1         1          0     A      X
    //  30   WARD 3            0         0          0     NULL   D
    //  31   WARD 4 CLOSED     0         0          1     I      D
    //  40   DISPENSING 1      0         1          1     NULL   NULL
    //  41   O'BRIEN WARD      0         0          NULL  NULL   P
    //  94   STORE ROOM        1         0          0     NULL   D
    void addLocations()
    {
        sql(QStringLiteral("DELETE INVENTORY..tbInvLocation"));
        sql(QStringLiteral("DELETE INVENTORY..tbinvUserLocation"));
        const char *const locations[] = {
            "'21', 'CENTRAL SUPPLY', 1, 0, 1, NULL, 'D'",
            "'20', 'MAIN PHARMACY', 1, 1, 0, 'A', 'X'",
            "'30', 'WARD 3', 0, 0, 0, NULL, 'D'",
            "'31', 'WARD 4 CLOSED', 0, 0, 1, 'I', 'D'",
            "'40', 'DISPENSING 1', 0, 1, 1, NULL, NULL",
            "'41', 'O''BRIEN WARD', 0, 0, NULL, NULL, 'P'",
            "'94', 'STORE ROOM', 1, 0, 0, NULL, 'D'",
        };
        for (const char *row : locations)
            sql(QStringLiteral("INSERT INTO INVENTORY..tbInvLocation (LocationID, Location, "
                               "IsWareHouse, isDispensingArea, AllowOrder, Status, InventoryType) "
                               "VALUES (%1)")
                    .arg(QLatin1String(row)));
        const char *const rights[][2]
            = {{"TESTER", "30"}, {"TESTER", "41"}, {"TESTER", "31"}, {"OTHER", "21"}};
        for (const auto &right : rights)
            sql(QStringLiteral("INSERT INTO INVENTORY..tbinvUserLocation (UserID, LocationID) "
                               "VALUES ('%1', '%2')")
                    .arg(QLatin1String(right[0]), QLatin1String(right[1])));
    }

    // An employee of the password table, stored as the hospital's programs store it.
    void addEmployee(const QString &id, const QString &password)
    {
        sql(QStringLiteral("INSERT INTO Password..tbPasswordMain (EmployeeID, Password, LastName, "
                           "FirstName) VALUES (%1, %2, 'TEST', 'USER')")
                .arg(db::quote(id),
                     db::quote(EncodePassword(QStringLiteral("E"), QString::fromLatin1(PasswordKey),
                                              password))));
    }
};

} // namespace testing_support
