#include "platform/ui/Modal.h"

#include <QDialog>

namespace ui {

namespace {

class ExecModal final : public Modal
{
public:
    int exec(QDialog &dialog) override { return dialog.exec(); }
};

ExecModal g_exec;
Modal *g_modal = nullptr;

} // namespace

Modal &Modal::instance()
{
    return g_modal ? *g_modal : static_cast<Modal &>(g_exec);
}

void Modal::install(Modal *modal)
{
    g_modal = modal;
}

int showModal(QDialog &dialog)
{
    return Modal::instance().exec(dialog);
}

} // namespace ui
