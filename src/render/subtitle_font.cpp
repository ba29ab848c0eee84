#include "render/subtitle_font.h"

#include "render/script_faces.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <atomic>
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
    // Screens belong to the application's thread; threads that draw in parallel take the
    // value that thread saw last.
    static std::atomic<int> lastSeen{96};
    const QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() != application->thread()) {
        return lastSeen.load(std::memory_order_relaxed);
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen == nullptr ? 96 : qRound(screen->logicalDotsPerInch());
    lastSeen.store(dpi, std::memory_order_relaxed);
    return dpi;
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
    if (settings.wide) {
        // The engine scales the outlines before it rasterizes them, so the condensed glyphs
        // are drawn as crisply as the square ones, not squeezed afterwards.
        font.setStretch(kWideStretch);
    }
    // The chosen face first, as the system resolves its name (Arial is Liberation Sans), then
    // the project's face for each script it lacks, before any face the system would pick: what
    // draws a script does not depend on which other fonts happen to be installed.
    const QString chosen = QFontInfo(font).family();
    font.setFamilies(QStringList{chosen.isEmpty() ? settings.fontName : chosen} +
                     FallbackFamilies());
    return font;
}

QFont SpanFont(const QFont& base, const FontStyle& extra) {
    QFont font = base;
    font.setBold(base.bold() || extra.bold);
    font.setItalic(base.italic() || extra.italic);
    font.setUnderline(base.underline() || extra.underline);
    font.setStrikeOut(base.strikeOut() || extra.strikeOut);
    return font;
}

void SetSubtitleResolution(QImage& picture) {
    picture.setDotsPerMeterX(kSubtitleDotsPerMeter);
    picture.setDotsPerMeterY(kSubtitleDotsPerMeter);
}

QFontMetrics SubtitleMetrics(const QFont& font) {
    static const QImage device = [] {
        QImage picture(1, 1, QImage::Format_MonoLSB);
        SetSubtitleResolution(picture);
        return picture;
    }();
    return QFontMetrics(font, &device);
}

LineMetrics MeasureLine(const QFont& font, const QString& text) {
    const QSize size = SubtitleMetrics(font).size(kLineFlags, MeasuredText(text));
    return {size.width(), size.height()};
}

LineMetrics MeasureLine(const QFont& font, const StyledLine& line) {
    if (line.isPlain()) {
        return MeasureLine(font, line.text());
    }
    // Spans follow each other by their advances; the line is as high as its highest span.
    LineMetrics metrics{0, MeasureLine(font, QString()).height};
    for (const StyledSpan& span : line.spans) {
        const QFont spanFont = SpanFont(font, span.style);
        metrics.width += SubtitleMetrics(spanFont).horizontalAdvance(span.text);
        metrics.height = std::max(metrics.height, MeasureLine(spanFont, span.text).height);
    }
    return metrics;
}

void DrawLine(QPainter& painter, QPoint topLeft, const StyledLine& line) {
    if (line.isPlain()) {
        DrawLine(painter, topLeft, line.text());
        return;
    }
    const QFont base = painter.font();
    int x = topLeft.x();
    for (const StyledSpan& span : line.spans) {
        const QFont spanFont = SpanFont(base, span.style);
        painter.setFont(spanFont);
        DrawLine(painter, QPoint(x, topLeft.y()), span.text);
        x += SubtitleMetrics(spanFont).horizontalAdvance(span.text);
    }
    painter.setFont(base);
}

void DrawLine(QPainter& painter, QPoint topLeft, const QString& text, QRect* cell) {
    // A zero-sized cell with TextDontClip places the text by its top-left corner without
    // clipping it to the cell.
    painter.drawText(QRect(topLeft, QSize(0, 0)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | kLineFlags, text, cell);
}

}  // namespace marvoxa
