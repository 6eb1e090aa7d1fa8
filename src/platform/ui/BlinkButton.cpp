#include "platform/ui/BlinkButton.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {

BlinkButton::BlinkButton(QWidget *parent)
    : QPushButton(parent)
{ }

void BlinkButton::setBackColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

const QPalette &BlinkButton::paletteFor(const QColor &color)
{
    const QRgb rgb = color.rgba();
    for (const Entry &entry : m_palettes) {
        if (entry.rgb == rgb)
            return entry.palette;
    }
    QPalette made = palette();
    made.setColor(QPalette::Button, color);
    made.setColor(QPalette::Window, color);
    m_palettes.push_back({rgb, made});
    return m_palettes.back().palette;
}

void BlinkButton::paintEvent(QPaintEvent *event)
{
    if (!m_color.isValid()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.palette = paletteFor(m_color);
    m_paintedKey = option.palette.cacheKey();
    painter.fillRect(rect(), option.palette.brush(QPalette::Button));
    painter.drawControl(QStyle::CE_PushButton, option);
}

void BlinkButton::changeEvent(QEvent *event)
{
    // The palettes follow the widget's own (a theme change) the next time they are needed.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        m_palettes.clear();
    QPushButton::changeEvent(event);
}

} // namespace ui
