#pragma once

class QDialog;

namespace ui {

// Every modal dialog of the program is shown through the installed Modal. The default runs
// QDialog::exec(); tests install one that hands the constructed dialog to the test, which acts
// on its controls and closes it.
class Modal
{
public:
    virtual ~Modal() = default;
    virtual int exec(QDialog &dialog) = 0;

    static Modal &instance();
    static void install(Modal *modal); // not owned; nullptr restores the default
};

// Shows the dialog modally and returns its result code.
int showModal(QDialog &dialog);

} // namespace ui
