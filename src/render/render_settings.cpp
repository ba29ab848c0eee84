#include "render/render_settings.h"

#include <array>
#include <utility>

namespace marvoxa {

namespace {

struct NamedStyle {
    const char* name;
    FontStyle style;
};

// Strikeout never combines with another flag.
constexpr std::array<NamedStyle, 9> kStyles{{
    {"Normal", {false, false, false, false}},
    {"Bold", {true, false, false, false}},
    {"Italic", {false, true, false, false}},
    {"Underline", {false, false, true, false}},
    {"Bold+Italic", {true, true, false, false}},
    {"Bold+Under", {true, false, true, false}},
    {"Bold+It+Und", {true, true, true, false}},
    {"Italic+Under", {false, true, true, false}},
    {"StrikeOut", {false, false, false, true}},
}};

struct NamedCharset {
    const char* name;
    quint8 value;
};

// Windows GDI character-set identifiers.
constexpr std::array<NamedCharset, 18> kCharsets{{
    {"ANSI", 0},
    {"ARABIC", 178},
    {"BALTIC", 186},
    {"CHINESEBIG5", 136},
    {"DEFAULT", 1},
    {"EASTEUROPE", 238},
    {"GB2312", 134},
    {"GREEK", 161},
    {"HANGEUL", 129},
    {"HEBREW", 177},
    {"JOHAB", 130},
    {"MAC", 77},
    {"OEM", 255},
    {"RUSSIAN", 204},
    {"SHIFTJIS", 128},
    {"SYMBOL", 2},
    {"THAI", 222},
    {"TURKISH", 162},
}};

template <typename Table>
QStringList NamesOf(const Table& table) {
    QStringList names;
    for (const auto& entry : table) {
        names << QLatin1String(entry.name);
    }
    return names;
}

}  // namespace

int FontStyle::bits() const {
    return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strikeOut ? 8 : 0);
}

const QStringList& FontSizeNames() {
    static const QStringList names{
        QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"),
        QStringLiteral("18"), QStringLiteral("19"), QStringLiteral("20"), QStringLiteral("21"),
        QStringLiteral("22"), QStringLiteral("23"), QStringLiteral("24"), QStringLiteral("25"),
        QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("30"), QStringLiteral("32"),
        QStringLiteral("34"), QStringLiteral("36"), QStringLiteral("38"), QStringLiteral("40"),
        QStringLiteral("42"), QStringLiteral("44"), QStringLiteral("46"), QStringLiteral("48"),
        QStringLiteral("50")};
    return names;
}

const QStringList& CharsetNames() {
    static const QStringList names = NamesOf(kCharsets);
    return names;
}

const QStringList& StyleNames() {
    static const QStringList names = NamesOf(kStyles);
    return names;
}

const QStringList& OutlineWidthNames() {
    static const QStringList names{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
    return names;
}

const QStringList& AlignNames() {
    static const QStringList names{QStringLiteral("center"), QStringLiteral("left"),
                                   QStringLiteral("right")};
    return names;
}

const QStringList& MarkupModeNames() {
    static const QStringList names{QStringLiteral("text"), QStringLiteral("strip"),
                                   QStringLiteral("render")};
    return names;
}

QStringList ColorSlotNames() {
    QStringList names;
    for (int entry = 0; entry < 16; ++entry) {
        names << QStringLiteral("Color %1").arg(entry);
    }
    return names;
}

FontStyle StyleFromName(const QString& name) {
    for (const NamedStyle& entry : kStyles) {
        if (name == QLatin1String(entry.name)) {
            return entry.style;
        }
    }
    return kStyles[kDefaultStyleIndex].style;
}

quint8 CharsetFromName(const QString& name) {
    for (const NamedCharset& entry : kCharsets) {
        if (name == QLatin1String(entry.name)) {
            return entry.value;
        }
    }
    return kCharsets[kDefaultCharsetIndex].value;
}

int ColorSlotFromName(const QString& name) {
    const int index = ColorSlotNames().indexOf(name);
    return index < 0 ? 1 : index + 1;
}

int EvenLineOverlap(int position) {
    return position % 2 == 0 ? position : position + 1;
}

}  // namespace marvoxa
