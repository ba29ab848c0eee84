#include "subtitles/text_decoding.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace marvoxa {
namespace {

struct CodePageEntry {
    quint8 charset;
    const char* codePage;
};

// GDI charset identifiers and the Windows code pages their fonts use, by glibc iconv name.
constexpr CodePageEntry kCodePages[] = {
    {0, "CP1252"},      // ANSI
    {1, "CP1252"},      // DEFAULT
    {2, "CP1252"},      // SYMBOL
    {77, "MACINTOSH"},  // MAC
    {128, "CP932"},     // SHIFTJIS
    {129, "CP949"},     // HANGEUL
    {130, "JOHAB"},     // JOHAB (CP1361)
    {134, "CP936"},     // GB2312
    {136, "CP950"},     // CHINESEBIG5
    {161, "CP1253"},    // GREEK
    {162, "CP1254"},    // TURKISH
    {177, "CP1255"},    // HEBREW
    {178, "CP1256"},    // ARABIC
    {186, "CP1257"},    // BALTIC
    {204, "CP1251"},    // RUSSIAN
    {222, "CP874"},     // THAI
    {238, "CP1250"},    // EASTEUROPE
    {255, "CP437"},     // OEM
};

const char* CodePageForCharset(quint8 charset) {
    for (const CodePageEntry& entry : kCodePages) {
        if (entry.charset == charset) {
            return entry.codePage;
        }
    }
    return "CP1252";
}

// Length of the valid UTF-8 sequence at pos (1 for ASCII), or 0 when none starts there.
// Overlong forms, surrogates and values beyond U+10FFFF are invalid.
qsizetype Utf8SequenceLength(const QByteArray& bytes, qsizetype pos) {
    const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    const unsigned char lead = byteAt(pos);
    if (lead < 0x80) {
        return 1;
    }
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > bytes.size()) {
        return 0;
    }
    // The second byte carries the range limits; the rest are plain continuation bytes.
    const unsigned char second = byteAt(pos + 1);
    if (second < low || second > high) {
        return 0;
    }
    for (qsizetype i = 2; i < length; ++i) {
        const unsigned char next = byteAt(pos + i);
        if (next < 0x80 || next > 0xBF) {
            return 0;
        }
    }
    return length;
}

struct Utf8Verdict {
    bool valid = true;
    bool multiByte = false;
};

Utf8Verdict JudgeUtf8(const QByteArray& bytes) {
    Utf8Verdict verdict;
    for (qsizetype pos = 0; pos < bytes.size();) {
        const qsizetype length = Utf8SequenceLength(bytes, pos);
        if (length == 0) {
            return {false, verdict.multiByte};
        }
        verdict.multiByte = verdict.multiByte || length > 1;
        pos += length;
    }
    return verdict;
}

class IconvHandle {
public:
    explicit IconvHandle(const char* fromCode) : handle_(iconv_open("UTF-8", fromCode)) {}
    ~IconvHandle() {
        if (isOpen()) {
            iconv_close(handle_);
        }
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool isOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

QString DecodeLegacy(const QByteArray& bytes, quint8 charset) {
    IconvHandle converter(CodePageForCharset(charset));
    if (!converter.isOpen()) {
        // Without the code page tables Latin-1 is the closest stand-in for CP1252.
        return QString::fromLatin1(bytes);
    }
    static constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";
    std::string output;
    char buffer[256];
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t converted = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        const int failure = converted == static_cast<size_t>(-1) ? errno : 0;
        output.append(buffer, static_cast<size_t>(out - buffer));
        if (failure == 0 || failure == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL (a sequence cut off at the end): mark one byte and go on after it.
        output.append(kReplacementUtf8);
        ++in;
        --inLeft;
        iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
    // Flush any shift state of stateful code pages.
    char* out = buffer;
    size_t outLeft = sizeof(buffer);
    iconv(converter.get(), nullptr, nullptr, &out, &outLeft);
    output.append(buffer, static_cast<size_t>(out - buffer));
    return QString::fromUtf8(output.data(), static_cast<qsizetype>(output.size()));
}

}  // namespace

TextEncoding DetectTextEncoding(const QByteArray& fileBytes, bool hadUtf8Bom) {
    if (hadUtf8Bom) {
        return TextEncoding::Utf8;
    }
    const Utf8Verdict verdict = JudgeUtf8(fileBytes);
    return verdict.valid && verdict.multiByte ? TextEncoding::Utf8 : TextEncoding::Legacy;
}

QString DecodeCueText(const QByteArray& bytes, TextEncoding encoding, quint8 charset) {
    const Utf8Verdict verdict = JudgeUtf8(bytes);
    if (encoding == TextEncoding::Utf8 || (verdict.valid && verdict.multiByte)) {
        return QString::fromUtf8(bytes);
    }
    return DecodeLegacy(bytes, charset);
}

std::optional<qsizetype> FirstCodePageLineAmongUtf8(const QList<QByteArray>& lines) {
    std::optional<qsizetype> firstCodePageLine;
    bool anyUtf8Line = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Utf8Verdict verdict = JudgeUtf8(lines[i]);
        anyUtf8Line = anyUtf8Line || (verdict.valid && verdict.multiByte);
        if (!verdict.valid && !firstCodePageLine) {
            firstCodePageLine = i;
        }
    }
    return anyUtf8Line ? firstCodePageLine : std::nullopt;
}

}  // namespace marvoxa
