#pragma once

#include "platform/ui/Modal.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

namespace testing_support {

// The test double of the modal-dialog seam: each dialog the program shows is handed to the next
// queued handler, which acts on its controls and closes it (accept(), reject(), a button click).
// The dialog is shown (not modal) while the handler runs, so focus and visibility behave.
// With no handler queued the dialog is rejected at once.
class ScriptedModal final : public ui::Modal
{
public:
    using Handler = std::function<void(QDialog &)>;

    ScriptedModal();
    ~ScriptedModal() override;

    int exec(QDialog &dialog) override;

    void expect(Handler handler) { m_handlers.push_back(std::move(handler)); }
    // Object names of the dialogs shown so far, in order.
    const QStringList &shown() const { return m_shown; }
    bool pending() const { return !m_handlers.empty(); }

private:
    std::deque<Handler> m_handlers;
    QStringList m_shown;
};

} // namespace testing_support
