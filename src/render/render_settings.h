#pragma once

#include "common/video_standard.h"
#include "render/text_options.h"

#include <QString>
#include <QStringList>

namespace marvoxa {

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    // Bold 1, italic 2, underline 4, strikeout 8.
    int bits() const;

    friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

// Every choice that changes how subtitle text is drawn or measured. The window reads it from
// its controls each time it draws; nothing caches it.
struct RenderSettings {
    QString fontName = QStringLiteral("Arial");
    int fontSize = 22;   // points
    quint8 charset = 1;  // GDI character-set identifier; picks the code page of legacy files
    FontStyle style;
    int outlineWidth = 3;  // pixels
    QString align = QStringLiteral("center");
    int bottomOffset = 30;  // pixels from the bottom edge, lifts the block
    int lineOverlap = -4;   // pixels the second line moves up towards the first
    VideoStandard standard = VideoStandard::Pal;
    // Markup, wrapping and how many lines are drawn.
    TextOptions text;
    // Drawn for a 16:9 title's anamorphic picture, which a wide screen stretches by 4/3:
    // glyphs and rings at 3/4 of their width, so that they look as the square drawing does.
    bool wide = false;

    friend bool operator==(const RenderSettings&, const RenderSettings&) = default;
};

// The entries of the window's lists, in list order.
const QStringList& FontSizeNames();
const QStringList& CharsetNames();
const QStringList& StyleNames();
const QStringList& OutlineWidthNames();
const QStringList& AlignNames();
QStringList ColorSlotNames();  // "Color 0" ... "Color 15"
// "text", "strip", "render": the markup modes in the order of MarkupMode.
const QStringList& MarkupModeNames();

inline constexpr int kDefaultFontSizeIndex = 8;      // "22"
inline constexpr int kDefaultCharsetIndex = 4;       // "DEFAULT"
inline constexpr int kDefaultStyleIndex = 0;         // "Normal"
inline constexpr int kDefaultOutlineWidthIndex = 1;  // "3"
inline constexpr int kDefaultAlignIndex = 0;         // "center"

inline constexpr int kBottomOffsetMin = 8;
inline constexpr int kBottomOffsetMax = 492;
inline constexpr int kLineOverlapMin = -14;
inline constexpr int kLineOverlapMax = 10;

// Exact, case-sensitive lookups; a name outside the table gives the default entry's value.
FontStyle StyleFromName(const QString& name);
quint8 CharsetFromName(const QString& name);
// "Color N" gives N + 1, the 1-based slot of palette entry N; anything else gives slot 1.
int ColorSlotFromName(const QString& name);

// The line overlap is always even: an odd track bar position moves up to the next even value.
int EvenLineOverlap(int position);

}  // namespace marvoxa
