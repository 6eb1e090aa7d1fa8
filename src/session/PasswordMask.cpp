#include "session/PasswordMask.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

// QLineEdit takes its mask character from the style, so one hint is changed for the box only.
class MiddleDotStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_LineEdit_PasswordCharacter)
            return 0xB7;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void useMiddleDotMask(QLineEdit *edit)
{
    auto *style = new MiddleDotStyle;
    // The box keeps the style alive; the widget holds it only by a guarded pointer.
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}
