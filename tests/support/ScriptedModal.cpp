#include "support/ScriptedModal.h"

#include <QApplication>
#include <QEventLoop>

namespace testing_support {

ScriptedModal::ScriptedModal()
{
    ui::Modal::install(this);
}

ScriptedModal::~ScriptedModal()
{
    ui::Modal::install(nullptr);
}

int ScriptedModal::exec(QDialog &dialog)
{
    m_shown << dialog.objectName();
    dialog.setResult(QDialog::Rejected);
    if (m_handlers.empty()) {
        dialog.reject();
        return dialog.result();
    }
    Handler handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    dialog.show();
    QApplication::processEvents();
    handler(dialog);
    if (dialog.isVisible())
        dialog.hide();
    return dialog.result();
}

} // namespace testing_support
