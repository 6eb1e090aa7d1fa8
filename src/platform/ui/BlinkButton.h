#pragma once

#include <QColor>
#include <QPalette>
#include <QPushButton>

namespace ui {

// A command button drawn in a back colour of its own that can change many times a second
// (a blinking notice) without growing anything: each colour gets one palette, made the first
// time the colour is used and kept, so that the style draws the same few pictures again
// instead of caching new ones for every change. The widget's own palette is never touched.
class BlinkButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit BlinkButton(QWidget *parent = nullptr);

    void setBackColor(const QColor &color);
    QColor BackColor() const { return m_color; }

    // The palettes made so far (one per colour used) and the cache key of the palette of the
    // last paint; they show that blinking creates nothing new.
    int paletteCount() const { return static_cast<int>(m_palettes.size()); }
    qint64 paintedPaletteKey() const { return m_paintedKey; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    const QPalette &paletteFor(const QColor &color);

    struct Entry
    {
        QRgb rgb;
        QPalette palette;
    };
    std::vector<Entry> m_palettes;
    QColor m_color;
    qint64 m_paintedKey = 0;
};

} // namespace ui
