#pragma once

// Report printing: every printed form is a template in the program's folder, prepared with its
// values and shown in the report viewer.

#include "platform/db/DatabaseError.h"
#include "platform/report/Report.h"

#include <QString>
#include <QStringList>

// The folder of the running program, where the templates are found. Tests point it elsewhere;
// an empty text restores the program's own folder.
QString ProgramFolder();
void setProgramFolder(const QString &folder);
// A template's full path: the program's folder followed by the name as the callers write it
// ("\DepartmentRequest.rpt", the backslash standing for the folder separator).
QString ReportPath(const QString &fileName);

// Opens the template and binds it: the title property gets the hospital's name, every table is
// pointed at the inventory database with the user's log-on, and the parameter fields take the
// values in order. The report stays in Session.Report. Failures reach the caller.
void PrepareReport(const QString &FileName, const QStringList &Params);
// Shows the prepared report modally under the title; reading the report's rows may fail.
void ShowReport(bool ShowTree, const QString &Title);
// The number of rows of the request in tbinvwithdrawrequest.
int CountRequestLines(const QString &DocumentNumber);

// Closes the prepared report (the viewer does when it unloads).
void ReleaseReport();

// Shows a print's failure: the error's description, a line break and the template's path.
void ShowPrintError(const QString &description, const QString &path);

// Runs a print; a missing or unusable template or a refused statement is shown with the path
// of the template being printed (path is read when the failure happens).
template<class Print>
bool printTrapped(const QString &path, Print &&print)
{
    try {
        print();
        return true;
    } catch (const report::ReportError &error) {
        ShowPrintError(error.message(), path);
    } catch (const db::DatabaseError &error) {
        ShowPrintError(error.message(), path);
    }
    return false;
}

// The hourglass for the life of the object.
class Hourglass final
{
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
    void restore(); // the normal pointer again before the object ends

private:
    bool m_active = true;
};
