#pragma once

#include <QString>
#include <QVariant>

namespace user {
class CurrentUser;
}
namespace db {
class Connection;
}
namespace report {
class Report;
}
namespace ui {
class Shell;
}

// The process-wide session context, set at start-up and read everywhere.
struct SessionContext
{
    user::CurrentUser *CurrentUser = nullptr;
    ui::Shell *Shell = nullptr;
    db::Connection *Connection = nullptr;

    QString Company;
    QString Address1;
    QString CurDate; // the server's date and time at the last LoadHospitalInfo, general date text
    QString ClientName;
    bool AllowWDZeroOnHand = false;
    bool IsWDEntered = false;
    QString DefaultLocation;
    QString InventoryAccess;
    bool ConsolidateIR = false;
    report::Report *Report = nullptr;
    QVariant LookupResult;
};

extern SessionContext Session;

// Back to the state before start-up (tests start every case from here).
void resetSession();
