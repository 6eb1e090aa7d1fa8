#include "support/ScriptedPrompt.h"

#include <QStringList>

namespace testing_support {

ScriptedPrompt::ScriptedPrompt()
{
    ui::Prompt::install(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    ui::Prompt::install(nullptr);
}

ui::Answer ScriptedPrompt::show(const ui::PromptRequest &request)
{
    m_shown.push_back(request);
    if (m_hook) {
        if (const std::optional<ui::Answer> a = m_hook(request))
            return *a;
    }
    if (!m_answers.empty()) {
        const ui::Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    if (request.buttons == ui::Buttons::Ok)
        return ui::Answer::Ok;
    return m_default;
}

QStringList ScriptedPrompt::texts() const
{
    QStringList out;
    for (const auto &r : m_shown)
        out << r.text;
    return out;
}

} // namespace testing_support
