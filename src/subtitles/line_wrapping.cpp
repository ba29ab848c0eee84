#include "subtitles/line_wrapping.h"

#include "render/subtitle_font.h"

#include <QHash>

#include <limits>
#include <vector>

namespace marvoxa {

namespace {

// Character positions [start, end) of a piece that may begin or end a wrapped line.
struct Piece {
    qsizetype start = 0;
    qsizetype end = 0;
};

class LineWidths {
public:
    LineWidths(const StyledLine& line, const QFont& font) : line_(line), font_(font) {}

    int of(qsizetype from, qsizetype to) {
        const qint64 key = (static_cast<qint64>(from) << 32) | static_cast<qint64>(to);
        if (const auto found = cache_.constFind(key); found != cache_.cend()) {
            return *found;
        }
        const int width = MeasureLine(font_, SliceLine(line_, from, to)).width;
        cache_.insert(key, width);
        return width;
    }

private:
    const StyledLine& line_;
    const QFont& font_;
    QHash<qint64, int> cache_;
};

// The words of text, a word too wide for the frame cut into pieces that fit, each as long as
// it can be. A surrogate pair is never cut.
std::vector<Piece> Pieces(const QString& text, LineWidths& widths, int maxWidth) {
    std::vector<Piece> pieces;
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text.at(pos) == u' ') {
            ++pos;
            continue;
        }
        qsizetype end = pos;
        while (end < text.size() && text.at(end) != u' ') {
            ++end;
        }
        qsizetype start = pos;
        while (widths.of(start, end) >= maxWidth) {
            qsizetype cut = start + 1;
            while (cut < end) {
                const qsizetype next = cut + (text.at(cut).isHighSurrogate() ? 2 : 1);
                if (widths.of(start, next) >= maxWidth) {
                    break;
                }
                cut = next;
            }
            if (text.at(cut - 1).isHighSurrogate() && cut < end) {
                ++cut;
            }
            pieces.push_back({start, cut});
            start = cut;
        }
        pieces.push_back({start, end});
        pos = end;
    }
    return pieces;
}

}  // namespace

StyledLine SliceLine(const StyledLine& line, qsizetype from, qsizetype to) {
    StyledLine slice;
    qsizetype spanStart = 0;
    for (const StyledSpan& span : line.spans) {
        const qsizetype spanEnd = spanStart + span.text.size();
        const qsizetype begin = std::max(from, spanStart);
        const qsizetype end = std::min(to, spanEnd);
        if (begin < end) {
            slice.spans.append({span.text.mid(begin - spanStart, end - begin), span.style});
        }
        spanStart = spanEnd;
    }
    return slice;
}

QList<StyledLine> WrapLine(const StyledLine& line, const QFont& font, int maxWidth) {
    const QString text = line.text();
    LineWidths widths(line, font);
    if (widths.of(0, text.size()) < maxWidth) {
        return {line};
    }
    const std::vector<Piece> pieces = Pieces(text, widths, maxWidth);
    const auto count = static_cast<qsizetype>(pieces.size());
    if (count == 0) {
        return {line};
    }
    const auto width = [&](qsizetype first, qsizetype last) {  // pieces first..last-1 on a line
        return widths.of(pieces[first].start, pieces[last - 1].end);
    };

    // As few lines as filling each line greedily needs.
    qsizetype lineCount = 0;
    for (qsizetype first = 0; first < count; ++lineCount) {
        qsizetype last = first + 1;
        while (last < count && width(first, last + 1) < maxWidth) {
            ++last;
        }
        first = last;
    }

    // widest[k][j]: the narrowest widest line when pieces 0..j-1 fill k lines.
    constexpr int kNone = std::numeric_limits<int>::max();
    std::vector<std::vector<int>> widest(lineCount + 1, std::vector<int>(count + 1, kNone));
    std::vector<std::vector<qsizetype>> lineStart(lineCount + 1,
                                                  std::vector<qsizetype>(count + 1, 0));
    widest[0][0] = 0;
    for (qsizetype k = 1; k <= lineCount; ++k) {
        for (qsizetype j = 1; j <= count; ++j) {
            for (qsizetype i = j - 1; i >= k - 1; --i) {
                const int lineWidth = width(i, j);
                if (lineWidth >= maxWidth) {
                    break;  // adding pieces in front only widens the line
                }
                if (widest[k - 1][i] == kNone) {
                    continue;
                }
                const int candidate = std::max(widest[k - 1][i], lineWidth);
                if (candidate < widest[k][j]) {
                    widest[k][j] = candidate;
                    lineStart[k][j] = i;
                }
            }
        }
    }

    QList<StyledLine> wrapped;
    for (qsizetype k = lineCount, j = count; k > 0; --k) {
        const qsizetype i = lineStart[k][j];
        wrapped.prepend(SliceLine(line, pieces[i].start, pieces[j - 1].end));
        j = i;
    }
    return wrapped;
}

}  // namespace marvoxa
