#include "platform/db/DatabaseError.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/StartUp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// Until the request form is wired in: a window naming the logged-in user and the hospital.
QWidget *createPlaceholderMainForm()
{
    auto *window = new QMainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Visual Halvex - Inventory Request"));
    auto *label = new QLabel(window);
    label->setObjectName(QStringLiteral("lblSession"));
    label->setAlignment(Qt::AlignCenter);
    label->setText(QStringLiteral("<h2>%1</h2><p>%2</p><p>Logged in as <b>%3</b></p>"
                                  "<p>Server: %4</p><p>Date: %5</p>")
                       .arg(Session.Company.toHtmlEscaped(), Session.Address1.toHtmlEscaped(),
                            Employeecode().toHtmlEscaped(),
                            Session.CurrentUser->ServerName().toHtmlEscaped(),
                            Session.CurDate.toHtmlEscaped()));
    window->setCentralWidget(label);
    window->resize(1024, 700);
    return window;
}

// With SR_SCREENSHOT=path set, the window in front is saved to that file after
// SR_SCREENSHOT_DELAY milliseconds (default 1500): how the documentation's pictures are taken.
void scheduleScreenshot()
{
    const QString path = qEnvironmentVariable("SR_SCREENSHOT");
    if (path.isEmpty())
        return;
    bool ok = false;
    int delay = qEnvironmentVariableIntValue("SR_SCREENSHOT_DELAY", &ok);
    if (!ok || delay <= 0)
        delay = 1500;
    QTimer::singleShot(delay, qApp, [path] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window)
            window = QApplication::activeWindow();
        if (!window) {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->isVisible()) {
                    window = w;
                    break;
                }
            }
        }
        if (window)
            window->grab().save(path);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stock requests of wards to the warehouse and pharmacy.\n\n"
                       "Without options the program uses the embedded demo database in the "
                       "user's data folder (created on first run); log in as employee DEMO "
                       "with the password demo."));
    parser.addHelpOption();
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral("Use the embedded database in FOLDER (created with the demo data when "
                       "the folder holds none)."),
        QStringLiteral("FOLDER"));
    const QCommandLineOption odbcOption(
        QStringLiteral("odbc"),
        QStringLiteral("Connect to SQL Server through ODBC with this connection string, e.g. "
                       "\"DRIVER={FreeTDS};Server=host;Port=1433;Database=INVENTORY;"
                       "TDS_Version=7.4;UID=user;PWD=secret\"."),
        QStringLiteral("CONNECTION STRING"));
    parser.addOption(databaseOption);
    parser.addOption(odbcOption);
    parser.process(app);

    user::ConnectionTarget target;
    target.databaseFolder = parser.value(databaseOption);
    target.odbcConnectionString = parser.value(odbcOption);
    if (!target.databaseFolder.isEmpty() && !target.odbcConnectionString.isEmpty()) {
        fputs("Use either --database or --odbc, not both.\n", stderr);
        return 2;
    }

    scheduleScreenshot();

    QWidget *mainForm = nullptr;
    try {
        mainForm = StartUp(&createPlaceholderMainForm, std::move(target));
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok, ui::Icon::Critical);
        EndSession();
        return 1;
    }
    if (!mainForm) {
        EndSession();
        return 0;
    }
    const int code = QApplication::exec();
    EndSession();
    return code;
}
