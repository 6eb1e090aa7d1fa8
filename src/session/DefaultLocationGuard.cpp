#include "session/DefaultLocationGuard.h"

#include "platform/db/DatabaseError.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Prompt.h"
#include "session/Inventory.h"
#include "session/frmDefaultLocation.h"
#include "session/frmPassword.h"

void ChangeDefaultLocation()
{
    frmPassword &password = frmPassword::instance();
    ui::showModal(password);
    try {
        if (password.EnteredPassword != GetOPDPassword())
            return;
    } catch (const db::DatabaseError &error) {
        ui::msgBox(error.message(), ui::Buttons::Ok);
        return;
    }
    frmDefaultLocation dialog;
    ui::showModal(dialog);
}
