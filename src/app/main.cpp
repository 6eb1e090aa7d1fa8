#include "platform/db/DatabaseError.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CurrentUser.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/StartUp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// The main form; closing it ends the program.
QWidget *createMainForm()
{
    auto *window = new frmMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
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

struct Options
{
    QCommandLineOption database {
        QStringLiteral("database"),
        QStringLiteral("Use the embedded database in FOLDER (created with the demo data when "
                       "the folder holds none)."),
        QStringLiteral("FOLDER")};
    QCommandLineOption odbc {
        QStringLiteral("odbc"),
        QStringLiteral("Connect to SQL Server through ODBC with this connection string, e.g. "
                       "\"DRIVER={FreeTDS};Server=host;Port=1433;Database=INVENTORY;"
                       "TDS_Version=7.4;UID=user;PWD=secret\"."),
        QStringLiteral("CONNECTION STRING")};
};

void describe(QCommandLineParser &parser, const Options &options)
{
    parser.setApplicationDescription(
        QStringLiteral("Stock requests of wards to the warehouse and pharmacy.\n\n"
                       "Without options the program uses the embedded demo database in the "
                       "user's data folder (created on first run); log in as employee DEMO "
                       "with the password demo."));
    parser.addHelpOption();
    parser.addOption(options.database);
    parser.addOption(options.odbc);
}

bool asksForHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options;
    // The help is text for a terminal: it needs no display.
    if (asksForHelp(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(ui::applicationTitle());
        QCommandLineParser parser;
        describe(parser, options);
        parser.process(app); // prints the help and ends the program
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        fputs("No display: run the program on a desktop, or under a virtual display with "
              "xvfb-run -a.\n",
              stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(ui::applicationTitle());

    QCommandLineParser parser;
    describe(parser, options);
    parser.process(app);

    user::ConnectionTarget target;
    target.databaseFolder = parser.value(options.database);
    target.odbcConnectionString = parser.value(options.odbc);
    if (!target.databaseFolder.isEmpty() && !target.odbcConnectionString.isEmpty()) {
        fputs("Use either --database or --odbc, not both.\n", stderr);
        return 2;
    }

    scheduleScreenshot();

    QWidget *mainForm = nullptr;
    try {
        mainForm = StartUp(&createMainForm, std::move(target));
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
