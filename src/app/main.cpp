#include "platform/db/DatabaseError.h"
#include "platform/ui/Prompt.h"
#include "platform/user/CommandLine.h"
#include "platform/user/CurrentUser.h"
#include "request/frmMain.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/StartUp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
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

bool asksForHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all"
            || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // The help and the version are text for a terminal: they need no display.
    if (asksForHelp(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("stockrequest"));
        QCoreApplication::setApplicationVersion(QStringLiteral(SR_VERSION));
        const user::CommandLine line = user::parseCommandLine(QCoreApplication::arguments());
        if (line.showVersion) {
            fputs("stockrequest " SR_VERSION "\n", stdout);
            return 0;
        }
        QCommandLineParser parser;
        user::describeOptions(parser);
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
    QApplication::setApplicationVersion(QStringLiteral(SR_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/stockrequest.svg")));

    user::CommandLine line = user::parseCommandLine(QApplication::arguments());
    if (!line.error.isEmpty()) {
        fputs(qPrintable(line.error + QStringLiteral("\nSee stockrequest --help.\n")), stderr);
        return 2;
    }
    if (!line.warning.isEmpty())
        fputs(qPrintable(line.warning + QLatin1Char('\n')), stderr);
    user::ConnectionTarget target = std::move(line.target);

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
