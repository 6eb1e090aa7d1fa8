#pragma once

#include <QString>

namespace ui {

// Stand-in for the shell object: sends keystrokes to the focused control. The program sends only
// "{Tab}", which moves the focus to the next control as the Tab key would.
class Shell
{
public:
    void SendKeys(const QString &keys);
};

} // namespace ui
