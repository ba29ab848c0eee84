#include "render/subtitle_font.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QScreen>

#include <cmath>

namespace marvoxa {

namespace {

constexpr int kLineFlags = Qt::TextSingleLine | Qt::TextExpandTabs;

// An empty line still takes a full line height.
QString MeasuredText(const QString& text) {
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

}  // namespace

int DisplayDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 96;
    }
    return qRound(screen->logicalDotsPerInch());
}

int PointsToPixels(int points, int dpi) {
    return static_cast<int>(std::lround(points * static_cast<double>(dpi) / 72.0));
}

QFont SubtitleFont(const RenderSettings& settings) {
    QFont font(settings.fontName);
    font.setPixelSize(std::max(1, PointsToPixels(settings.fontSize, DisplayDpi())));
    font.setBold(settings.style.bold);
    font.setItalic(settings.style.italic);
    font.setUnderline(settings.style.underline);
    font.setStrikeOut(settings.style.strikeOut);
    font.setStyleStrategy(QFont::NoAntialias);
    // Left to the default, a display scaled up or set to another resolution switches the
    // hinting off and moves glyph pixels; the light vertical hinting is the default of a plain
    // display, so streams stay as they were there.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

void SetSubtitleResolution(QImage& picture) {
    picture.setDotsPerMeterX(kSubtitleDotsPerMeter);
    picture.setDotsPerMeterY(kSubtitleDotsPerMeter);
}

LineMetrics MeasureLine(const QFont& font, const QString& text) {
    // Measured on a picture like the ones drawn on, not on the screen.
    static const QImage device = [] {
        QImage picture(1, 1, QImage::Format_MonoLSB);
        SetSubtitleResolution(picture);
        return picture;
    }();
    const QSize size = QFontMetrics(font, &device).size(kLineFlags, MeasuredText(text));
    return {size.width(), size.height()};
}

void DrawLine(QPainter& painter, QPoint topLeft, const QString& text) {
    // A zero-sized cell with TextDontClip places the text by its top-left corner without
    // clipping it to the cell.
    painter.drawText(QRect(topLeft, QSize(0, 0)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | kLineFlags, text);
}

}  // namespace marvoxa
