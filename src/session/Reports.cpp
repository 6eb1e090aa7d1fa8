#include "session/Reports.h"

#include "platform/db/Connection.h"
#include "platform/report/Report.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/frmReportViewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <memory>

namespace {

QString g_programFolder;
// The one prepared report; Session.Report points at it.
std::unique_ptr<report::Report> g_report;

} // namespace

QString ProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    // Built, the templates sit beside the program; installed, in its data folder.
    const QDir program(QCoreApplication::applicationDirPath());
    const QString installed = program.filePath(QStringLiteral("../share/stockrequest/reports"));
    if (!program.exists(QStringLiteral("DepartmentRequest.rpt"))
        && QDir(installed).exists(QStringLiteral("DepartmentRequest.rpt")))
        return QDir::cleanPath(installed);
    return program.path();
}

void setProgramFolder(const QString &folder)
{
    g_programFolder = folder;
}

QString ReportPath(const QString &fileName)
{
    QString name = fileName;
    while (name.startsWith(QLatin1Char('\\')) || name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    return QDir(ProgramFolder()).filePath(name);
}

void PrepareReport(const QString &FileName, const QStringList &Params)
{
    const qsizetype n = Params.size() - 1;
    std::unique_ptr<report::Report> prepared = report::Report::open(FileName);
    prepared->ReportTitle = Session.Company;

    const user::CurrentUser *current = Session.CurrentUser;
    for (report::DatabaseTable &table : prepared->Tables()) {
        // The database in front of the first dot becomes the inventory database; a location
        // without a dot names no database and is left as the template has it.
        const qsizetype dot = table.Location.indexOf(QLatin1Char('.'));
        if (dot >= 0)
            table.Location = QStringLiteral("Inventory") + table.Location.mid(dot);
        table.LogOn.ServerName = current ? current->ServerName() : QString();
        table.LogOn.DatabaseName = QStringLiteral("Inventory");
        table.LogOn.UserID = current ? current->UserID() : QString();
        table.LogOn.Password = current ? current->ServerPassword() : QString();
    }

    if (n >= 0) {
        qsizetype i = 0;
        for (report::ParameterField &field : prepared->ParameterFields()) {
            if (i > n)
                break;
            const bool padded = field.Name == QLatin1String("{?@SupplierCode}")
                || field.Name == QLatin1String("{?SupplierID}");
            field.AddCurrentValue(padded ? Params.at(i) + QLatin1Char(' ') : Params.at(i));
            ++i;
        }
    }
    g_report = std::move(prepared);
    Session.Report = g_report.get();
}

void ShowReport(bool ShowTree, const QString &Title)
{
    frmReportViewer viewer;
    viewer.setShowGroupTree(ShowTree);
    viewer.setWindowTitle(Title);
    viewer.Form_Load();
    ui::showModal(viewer);
}

int CountRequestLines(const QString &DocumentNumber)
{
    db::Recordset rs = sqlconnection().query(
        QStringLiteral("select * from inventory..tbinvwithdrawrequest where documentnumber = '")
        + db::quoteInner(DocumentNumber) + QStringLiteral("' "));
    const int count = rs.recordCount();
    rs.close();
    return count;
}

void ReleaseReport()
{
    Session.Report = nullptr;
    g_report.reset();
}

void ShowPrintError(const QString &description, const QString &path)
{
    ui::msgBox(description + QStringLiteral("\r\n") + QDir::toNativeSeparators(path));
}

Hourglass::Hourglass()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

Hourglass::~Hourglass()
{
    restore();
}

void Hourglass::restore()
{
    if (!m_active)
        return;
    m_active = false;
    QGuiApplication::restoreOverrideCursor();
}
