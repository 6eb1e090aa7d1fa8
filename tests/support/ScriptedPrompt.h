#pragma once

#include "platform/ui/Prompt.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace testing_support {

// The test double of the message-box seam: records every message shown and answers from a
// script (Ok / the default answer when the script is empty).
class ScriptedPrompt final : public ui::Prompt
{
public:
    ScriptedPrompt();
    ~ScriptedPrompt() override;

    ui::Answer show(const ui::PromptRequest &request) override;

    // Queues the answers for the next message boxes, in order.
    void answer(ui::Answer answer) { m_answers.push_back(answer); }
    // Called for every message before the script answers; an answer it gives is taken instead
    // (a test acts at the moment a question is open, or answers by the text asked).
    void setHook(std::function<std::optional<ui::Answer>(const ui::PromptRequest &)> hook)
    {
        m_hook = std::move(hook);
    }
    // Answer given when the script is empty: Ok for Ok boxes, else this (Yes by default).
    void setDefaultAnswer(ui::Answer answer) { m_default = answer; }

    const std::vector<ui::PromptRequest> &shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.empty() ? QString() : m_shown.back().text; }
    void clear() { m_shown.clear(); }

private:
    std::deque<ui::Answer> m_answers;
    std::vector<ui::PromptRequest> m_shown;
    ui::Answer m_default = ui::Answer::Yes;
    std::function<std::optional<ui::Answer>(const ui::PromptRequest &)> m_hook;
};

} // namespace testing_support
