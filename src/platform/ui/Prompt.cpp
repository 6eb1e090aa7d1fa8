#include "platform/ui/Prompt.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {

class MessageBoxPrompt final : public Prompt
{
public:
    Answer show(const PromptRequest &request) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(request.title.isEmpty() ? applicationTitle() : request.title);
        box.setText(request.text);
        switch (request.icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        }
        switch (request.buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return request.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
        }
    }
};

MessageBoxPrompt g_messageBox;
Prompt *g_prompt = nullptr;

} // namespace

QString applicationTitle()
{
    return QStringLiteral("Stock Request");
}

Prompt &Prompt::instance()
{
    return g_prompt ? *g_prompt : static_cast<Prompt &>(g_messageBox);
}

void Prompt::install(Prompt *prompt)
{
    g_prompt = prompt;
}

Answer msgBox(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    return Prompt::instance().show(PromptRequest {text, buttons, icon, title});
}

} // namespace ui
