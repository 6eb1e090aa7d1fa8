#include "session/StartUp.h"

#include "platform/ui/Shell.h"
#include "session/Inventory.h"
#include "session/Session.h"
#include "session/Settings.h"

#include <memory>

namespace {

// What start-up creates lives until the session ends.
std::unique_ptr<user::CurrentUser> g_currentUser;
std::unique_ptr<ui::Shell> g_shell;

} // namespace

QWidget *StartUp(std::function<QWidget *()> createMainForm, user::ConnectionTarget target)
{
    g_currentUser = std::make_unique<user::CurrentUser>(std::move(target));
    Session.CurrentUser = g_currentUser.get();
    g_shell = std::make_unique<ui::Shell>();
    Session.Shell = g_shell.get();

    Session.CurrentUser->PasswordDeptCode = QStringLiteral("4");
    Session.CurrentUser->ShowMain();
    if (!Session.CurrentUser->Connected())
        return nullptr;

    Session.Connection = &Session.CurrentUser->sqlconnection();
    LoadHospitalInfo();
    Session.DefaultLocation = readDefaultLocation();
    Session.InventoryAccess = QStringLiteral("A");

    QWidget *mainForm = createMainForm ? createMainForm() : nullptr;
    if (mainForm)
        mainForm->show();
    return mainForm;
}

void EndSession()
{
    resetSession();
    g_currentUser.reset();
    g_shell.reset();
}
