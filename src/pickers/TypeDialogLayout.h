#pragma once

class QDialog;
class QPushButton;
class QString;

namespace pickers {

// The shared look of the document type dialogs: the question, the two kind buttons side by side
// and the close button. Creates the buttons (children of the dialog) and names them.
void buildTypeDialog(QDialog &dialog, const QString &question, const QString &first,
                     const QString &second, QPushButton *(&buttons)[2], QPushButton *&cmdX);

} // namespace pickers
