#include "render/subtitle_font.h"

#include <QFontMetrics>
#include <QGuiApplication>
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
    return font;
}

LineMetrics MeasureLine(const QFont& font, const QString& text) {
    const QSize size = QFontMetrics(font).size(kLineFlags, MeasuredText(text));
    return {size.width(), size.height()};
}

void DrawLine(QPainter& painter, QPoint topLeft, const QString& text) {
    // A zero-sized cell with TextDontClip places the text by its top-left corner without
    // clipping it to the cell.
    painter.drawText(QRect(topLeft, QSize(0, 0)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | kLineFlags, text);
}

}  // namespace marvoxa
