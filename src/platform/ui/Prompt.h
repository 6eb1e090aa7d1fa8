#pragma once

#include <QString>

namespace ui {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// The title every message box shows when its caller names none.
QString applicationTitle();

struct PromptRequest
{
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString title; // empty: the application's title
};

// Every message box of the program goes through the installed Prompt. The default shows a real
// QMessageBox; tests install a scripted one.
class Prompt
{
public:
    virtual ~Prompt() = default;
    virtual Answer show(const PromptRequest &request) = 0;

    static Prompt &instance();
    // Installs another prompt (not owned); nullptr restores the message-box one.
    static void install(Prompt *prompt);
};

// The one call the program makes: shows the text and answers with the button pressed.
Answer msgBox(const QString &text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString &title = QString());

} // namespace ui
