#include "subtitles/srt_timing_line.h"

#include "subtitles/integer_text.h"

namespace marvoxa {
namespace {

constexpr qsizetype kStrictLength = 29;
constexpr qsizetype kStrictLengthWithMarks = 58;
constexpr qsizetype kTimecodeLength = 11;
constexpr qsizetype kArrowOffset = 13;
constexpr qsizetype kEndTimecodeOffset = 17;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks a line for the lenient timing form; every step either consumes what it expects or fails.
class LenientScanner {
public:
    explicit LenientScanner(const QByteArray& line) : line_(line) {}

    bool atEnd() const { return pos_ >= line_.size(); }
    bool atEndOrBlank() const { return atEnd() || IsBlank(line_.at(pos_)); }

    void skipBlanks() {
        while (!atEnd() && IsBlank(line_.at(pos_))) {
            ++pos_;
        }
    }

    bool take(char expected) {
        if (atEnd() || line_.at(pos_) != expected) {
            return false;
        }
        ++pos_;
        return true;
    }

    bool takeArrow() { return take('-') && take('-') && take('>'); }

    // One to maxDigits decimal digits; the value and the digit count come back.
    bool takeDigits(int maxDigits, int& value, int& digitCount) {
        value = 0;
        digitCount = 0;
        while (!atEnd() && IsDigit(line_.at(pos_)) && digitCount < maxDigits) {
            value = value * 10 + (line_.at(pos_) - '0');
            ++digitCount;
            ++pos_;
        }
        return digitCount > 0 && (atEnd() || !IsDigit(line_.at(pos_)));
    }

    // h:mm:ss,mmm with one or two digits for h, m and s, ',' or '.' and one to three digits.
    std::optional<double> takeTime() {
        int hours = 0;
        int minutes = 0;
        int seconds = 0;
        int fraction = 0;
        int digits = 0;
        int fractionDigits = 0;
        if (!takeDigits(2, hours, digits) || !take(':') || !takeDigits(2, minutes, digits) ||
            !take(':') || !takeDigits(2, seconds, digits) || !(take(',') || take('.')) ||
            !takeDigits(3, fraction, fractionDigits)) {
            return std::nullopt;
        }
        // Scale to three digits ("5" is 500 ms), then drop the third as the classic form does.
        for (int i = fractionDigits; i < 3; ++i) {
            fraction *= 10;
        }
        const int hundredths = fraction / 10;
        return ((hours * 3600.0 + minutes * 60.0 + seconds) * 100.0 + hundredths) * 10.0;
    }

private:
    const QByteArray& line_;
    qsizetype pos_ = 0;
};

}  // namespace

Result<double> TimecodeToMs(const QByteArray& text) {
    const Result<qint32> hundredths = IntegerFromText(text.mid(9, 2));
    if (!hundredths) {
        return hundredths.error();
    }
    const Result<qint32> hours = IntegerFromText(text.mid(0, 2));
    if (!hours) {
        return hours.error();
    }
    const Result<qint32> minutes = IntegerFromText(text.mid(3, 2));
    if (!minutes) {
        return minutes.error();
    }
    const Result<qint32> seconds = IntegerFromText(text.mid(6, 2));
    if (!seconds) {
        return seconds.error();
    }
    // Whole hundredths times ten: exact, so the result is always a whole multiple of 10 ms.
    const double totalHundredths =
        ((hours.value() * 3600.0 + minutes.value() * 60.0 + seconds.value()) * 100.0) +
        hundredths.value();
    return totalHundredths * 10.0;
}

bool HasStrictTimingShape(const QByteArray& line) {
    return (line.size() == kStrictLength || line.size() == kStrictLengthWithMarks) &&
           line.mid(kArrowOffset, 3) == QByteArrayLiteral("-->");
}

Result<TimingLine> ReadStrictTimingLine(const QByteArray& line) {
    const Result<double> start = TimecodeToMs(line.mid(0, kTimecodeLength));
    if (!start) {
        return start.error();
    }
    const Result<double> end = TimecodeToMs(line.mid(kEndTimecodeOffset, kTimecodeLength));
    if (!end) {
        return end.error();
    }
    return TimingLine{start.value(), end.value()};
}

std::optional<TimingLine> ReadLenientTimingLine(const QByteArray& line) {
    LenientScanner scanner(line);
    scanner.skipBlanks();
    const std::optional<double> start = scanner.takeTime();
    if (!start) {
        return std::nullopt;
    }
    scanner.skipBlanks();
    if (!scanner.takeArrow()) {
        return std::nullopt;
    }
    scanner.skipBlanks();
    const std::optional<double> end = scanner.takeTime();
    if (!end) {
        return std::nullopt;
    }
    // Whatever follows the end time (position marks, blanks) must be set off by a blank.
    if (!scanner.atEndOrBlank()) {
        return std::nullopt;
    }
    return TimingLine{*start, *end};
}

}  // namespace marvoxa
