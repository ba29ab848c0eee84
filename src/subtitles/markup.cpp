#include "subtitles/markup.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace marvoxa {

namespace {

const QRegularExpression kTag(QStringLiteral(R"(<(/?)(i|b|u|s|font)(?:\s[^<>]*)?>)"),
                              QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kOverrideBlock(QStringLiteral(R"(\{\\[^}]*\})"));
const QRegularExpression kControlCode(QStringLiteral(R"(\{([A-Za-z]):([^}]*)\})"));
const QRegularExpression kPlacement(QStringLiteral(R"(\{[^}]*?\\an([1-9])[^}]*\})"));
const QRegularExpression kLineBreak(QStringLiteral(R"(\\[Nn])"));
const QRegularExpression kEntity(
    QStringLiteral(R"(&(?:(amp|lt|gt|quot|apos|nbsp)|#([0-9]{1,7})|#[xX]([0-9A-Fa-f]{1,6}));)"));

QRegularExpressionMatch MatchAt(const QRegularExpression& pattern, const QString& text,
                                qsizetype pos) {
    return pattern.match(text, pos, QRegularExpression::NormalMatch,
                         QRegularExpression::AnchorAtOffsetMatchOption);
}

// The character an entity stands for, or nothing for a number no character has.
std::optional<QString> EntityText(const QRegularExpressionMatch& entity) {
    static const QHash<QString, QString> kNamed{
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QString(QChar(0xA0))},
    };
    if (entity.hasCaptured(1)) {
        return kNamed.value(entity.captured(1));
    }
    const bool decimal = entity.hasCaptured(2);
    const uint codePoint =
        (decimal ? entity.captured(2) : entity.captured(3)).toUInt(nullptr, decimal ? 10 : 16);
    if (codePoint == 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return std::nullopt;
    }
    const char32_t character = codePoint;
    return QString::fromUcs4(&character, 1);
}

// Styles named by the letters of a MicroDVD {y:...} code.
FontStyle StyleOfCode(const QString& letters) {
    const QString lower = letters.toLower();
    return FontStyle{lower.contains(u'b'), lower.contains(u'i'), lower.contains(u'u'),
                     lower.contains(u's')};
}

// Open tags: a tag opened twice needs closing twice.
struct TagDepths {
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int strikeOut = 0;

    int* of(QChar tag) {
        switch (tag.toLower().unicode()) {
            case 'b':
                return &bold;
            case 'i':
                return &italic;
            case 'u':
                return &underline;
            case 's':
                return &strikeOut;
            default:
                return nullptr;
        }
    }
    FontStyle style() const {
        return FontStyle{bold > 0, italic > 0, underline > 0, strikeOut > 0};
    }
};

class CueMarkupParser {
public:
    CueMarkupParser(MarkupMode mode, bool microDvdCodes)
        : mode_(mode), microDvdCodes_(microDvdCodes) {}

    StyledLine parseLine(const QString& text) {
        line_ = StyledLine{};
        lineStyle_ = FontStyle{};
        for (qsizetype pos = 0; pos < text.size();) {
            pos = consumeMarkup(text, pos);
        }
        return line_;
    }

private:
    // Handles what starts at pos and returns where the next thing starts.
    qsizetype consumeMarkup(const QString& text, qsizetype pos) {
        const QChar c = text.at(pos);
        if (c == u'<') {
            if (const QRegularExpressionMatch tag = MatchAt(kTag, text, pos); tag.hasMatch()) {
                if (int* depth = tags_.of(tag.captured(2).at(0));
                    depth != nullptr && tag.captured(2).size() == 1) {
                    *depth = tag.captured(1).isEmpty() ? *depth + 1 : std::max(0, *depth - 1);
                }
                return tag.capturedEnd();
            }
        } else if (c == u'{') {
            if (const QRegularExpressionMatch block = MatchAt(kOverrideBlock, text, pos);
                block.hasMatch()) {
                return block.capturedEnd();
            }
            if (const QRegularExpressionMatch code = MatchAt(kControlCode, text, pos);
                microDvdCodes_ && code.hasMatch()) {
                if (code.captured(1) == QLatin1String("y")) {
                    lineStyle_ = CombinedStyle(lineStyle_, StyleOfCode(code.captured(2)));
                } else if (code.captured(1) == QLatin1String("Y")) {
                    cueStyle_ = CombinedStyle(cueStyle_, StyleOfCode(code.captured(2)));
                }
                return code.capturedEnd();
            }
        } else if (c == u'&') {
            if (const QRegularExpressionMatch entity = MatchAt(kEntity, text, pos);
                entity.hasMatch()) {
                if (const std::optional<QString> decoded = EntityText(entity)) {
                    append(*decoded);
                    return entity.capturedEnd();
                }
            }
        }
        append(QString(c));
        return pos + 1;
    }

    void append(const QString& text) {
        const FontStyle style =
            mode_ == MarkupMode::Render
                ? CombinedStyle(CombinedStyle(tags_.style(), lineStyle_), cueStyle_)
                : FontStyle{};
        if (!line_.spans.isEmpty() && line_.spans.last().style == style) {
            line_.spans.last().text += text;
        } else {
            line_.spans.append({text, style});
        }
    }

    MarkupMode mode_;
    bool microDvdCodes_;
    TagDepths tags_;
    FontStyle cueStyle_;
    FontStyle lineStyle_;
    StyledLine line_;
};

}  // namespace

QList<StyledLine> ParseCueMarkup(const QStringList& lines, MarkupMode mode, bool microDvdCodes) {
    QList<StyledLine> parsed;
    if (mode == MarkupMode::Text) {
        for (const QString& line : lines) {
            parsed.append(PlainLine(line));
        }
        return parsed;
    }
    CueMarkupParser parser(mode, microDvdCodes);
    for (const QString& line : lines) {
        for (const QString& part : line.split(kLineBreak)) {
            parsed.append(parser.parseLine(part));
        }
    }
    return parsed;
}

int CuePlacement(const QStringList& lines, MarkupMode mode) {
    if (mode == MarkupMode::Text) {
        return 0;
    }
    for (const QString& line : lines) {
        if (const QRegularExpressionMatch block = kPlacement.match(line); block.hasMatch()) {
            return block.captured(1).toInt();
        }
    }
    return 0;
}

}  // namespace marvoxa
