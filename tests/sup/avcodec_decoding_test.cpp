// Decodes generated streams with libavcodec's DVD subtitle decoder, the one most players use,
// and compares what it shows with what was drawn.

#include "sup/generation.h"

#include "render/missing_glyphs.h"
#include "render/subtitle_font.h"
#include "subtitles/cue_notices.h"
#include "subtitles/display_events.h"
#include "subtitles/subtitle_loader.h"
#include "sup/pixel_classification.h"
#include "sup/time_stamps.h"
#include "sup_stream_reader.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGlyphRun>
#include <QRawFont>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextLayout>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/dict.h>
}

#include <memory>

namespace marvoxa {
namespace {

const RoleColours kColours{qRgb(85, 85, 85), qRgb(0, 0, 0), qRgb(255, 255, 255)};

// Palette entry k decodes as this colour, so a decoded colour names its entry.
quint32 EntryColour(int entry) {
    return 0x102030u + static_cast<quint32>(entry) * 0x010101u;
}

QByteArray DecoderPaletteOption() {
    QByteArray option;
    for (int entry = 0; entry < 16; ++entry) {
        option += QByteArray::number(EntryColour(entry), 16).rightJustified(6, '0');
        option += entry < 15 ? "," : "";
    }
    return option;
}

int EntryOfColour(quint32 argb) {
    for (int entry = 0; entry < 16; ++entry) {
        if ((argb & 0xffffffu) == EntryColour(entry)) {
            return entry;
        }
    }
    return -1;
}

struct DecoderContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};

class DvdSubtitleDecoder {
public:
    DvdSubtitleDecoder() {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_DVD_SUBTITLE);
        if (codec == nullptr) {
            ADD_FAILURE() << "libavcodec has no DVD subtitle decoder";
            return;
        }
        context_.reset(avcodec_alloc_context3(codec));
        AVDictionary* options = nullptr;
        av_dict_set(&options, "palette", DecoderPaletteOption().constData(), 0);
        const int opened = avcodec_open2(context_.get(), codec, &options);
        av_dict_free(&options);
        EXPECT_EQ(opened, 0);
    }

    // Decodes one subpicture unit; false when the decoder shows nothing for it.
    bool decode(const QByteArray& unit, AVSubtitle& subtitle) {
        AVPacket* packet = av_packet_alloc();
        packet->data = reinterpret_cast<uint8_t*>(const_cast<char*>(unit.constData()));
        packet->size = static_cast<int>(unit.size());
        int gotSubtitle = 0;
        const int used = avcodec_decode_subtitle2(context_.get(), &subtitle, &gotSubtitle, packet);
        av_packet_free(&packet);
        EXPECT_GE(used, 0);
        return gotSubtitle != 0;
    }

private:
    std::unique_ptr<AVCodecContext, DecoderContextDeleter> context_;
};

struct DrawnCue {
    QImage frame;
};

// What the encoded rows show: each row starts at frame column 1, the last drawn column is
// shown twice and the row's last pixel is background.
int ShownValue(const QImage& frame, int row, int column) {
    if (column >= 719) {
        return 0;
    }
    const int source = std::min(column + 1, 718);
    return static_cast<int>(ClassifyPixel(frame.pixel(source, row), kColours));
}

// Decodes every subpicture generated for the list and compares it with its frame as drawn;
// gives the frames.
QList<QImage> ExpectDecodedAsDrawn(const CueList& list, const RenderSettings& settings,
                                   const ColourRoles& roles) {
    QTemporaryDir folder;
    QList<QImage> frames;
    GenerationRequest request;
    request.cueList = &list;
    request.renderSettings = [&] { return settings; };
    request.colourRoles = [&] { return roles; };
    request.roleColours = kColours;
    request.outputFolder = folder.path();
    request.cueDrawn = [&](int, const QImage& frame) { frames.append(frame.copy()); };
    const Result<GeneratedStream> stream = GenerateSupStream(request);
    if (!stream) {
        ADD_FAILURE() << stream.error().message.toStdString();
        return {};
    }

    const auto packets = test::ReadSupStream(test::ReadFile(stream.value().streamPath));
    const std::vector<DisplayEvent> events = DisplayEvents(list).all();
    EXPECT_EQ(packets.size(), static_cast<qsizetype>(events.size()));
    DvdSubtitleDecoder decoder;
    for (qsizetype index = 0; index < std::min(packets.size(), frames.size()); ++index) {
        SCOPED_TRACE("subpicture " + std::to_string(index + 1));
        const DisplayEvent& cue = events[static_cast<size_t>(index)];
        EXPECT_EQ(packets[index].presentationTime, PresentationTime(cue.startMs));

        AVSubtitle subtitle{};
        if (!decoder.decode(packets[index].unit, subtitle)) {
            ADD_FAILURE() << "nothing decoded";
            continue;
        }
        const auto freeSubtitle = qScopeGuard([&] { avsubtitle_free(&subtitle); });
        EXPECT_EQ(subtitle.start_display_time, 0u);
        EXPECT_EQ(subtitle.end_display_time,
                  static_cast<uint32_t>((StopDelay(cue.durationMs) << 10) / 90));
        EXPECT_LE(std::abs(static_cast<long>(subtitle.end_display_time) - cue.durationMs), 12);
        if (subtitle.num_rects != 1) {
            ADD_FAILURE() << subtitle.num_rects << " pictures decoded";
            continue;
        }
        const AVSubtitleRect& rect = *subtitle.rects[0];

        // The colour command: value 3 antialias, 2 outline, 1 text.
        const auto* colours = reinterpret_cast<const quint32*>(rect.data[1]);
        EXPECT_EQ(EntryOfColour(colours[3]), roles.antialias);
        EXPECT_EQ(EntryOfColour(colours[2]), roles.outline);
        EXPECT_EQ(EntryOfColour(colours[1]), roles.text);
        EXPECT_EQ(colours[0] >> 24, 0u) << "background must be transparent";

        // The decoder crops to the shown pixels; every shown pixel of the frame must be there.
        const QImage& frame = frames[index];
        int shownInFrame = 0;
        for (int row = 0; row < frame.height(); ++row) {
            for (int column = 0; column < 720; ++column) {
                shownInFrame += ShownValue(frame, row, column) != 0 ? 1 : 0;
            }
        }
        int shownDecoded = 0;
        for (int y = 0; y < rect.h; ++y) {
            for (int x = 0; x < rect.w; ++x) {
                const int decoded = rect.data[0][y * rect.linesize[0] + x];
                const int expected = ShownValue(frame, rect.y + y, rect.x + x);
                EXPECT_EQ(decoded, expected)
                    << "at frame row " << rect.y + y << ", column " << rect.x + x;
                shownDecoded += decoded != 0 ? 1 : 0;
            }
        }
        EXPECT_GT(shownDecoded, 0);
        EXPECT_EQ(shownDecoded, shownInFrame);
        // Only the outline ring may touch the first and last rows shown: text or antialias
        // there means the area cut off ink beyond it. Rows at the frame's edges are cut anyway.
        for (const int y : {0, rect.h - 1}) {
            if (settings.outlineWidth < 2 || rect.y + y == 0 || rect.y + y == frame.height() - 1) {
                continue;
            }
            for (int x = 0; x < rect.w; ++x) {
                const int value = rect.data[0][y * rect.linesize[0] + x];
                EXPECT_TRUE(value == 0 || value == 2) << "value " << value << " on edge row "
                                                      << rect.y + y << ", column " << rect.x + x;
            }
        }
    }
    return frames;
}

CueList Cues(const QList<QPair<QString, QString>>& lines) {
    CueList list;
    list.encoding = TextEncoding::Utf8;
    int start = 0;
    for (const auto& [first, second] : lines) {
        list.cues.push_back({start, 2345, first.toUtf8(), second.toUtf8(), {}});
        start += 3000;
    }
    return list;
}

TEST(AvcodecDecoding, ShowsTheBundledExampleAsDrawn) {
    const SubtitleLoad load =
        LoadSubtitleFile(test::ExamplesDir() + QStringLiteral("/rethymno.srt"));
    ASSERT_FALSE(load.error.has_value());
    ASSERT_EQ(load.cueList.cues.size(), 12u);
    ExpectDecodedAsDrawn(load.cueList, RenderSettings{}, ColourRoles{1, 0, 3, 0});
}

TEST(AvcodecDecoding, ShowsEdgeCasesAsDrawn) {
    const CueList edges = Cues(
        {{QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"), QStringLiteral("left edge")},
         {QStringLiteral("i"), QString()},
         {QString(), QStringLiteral("Only the second line, Καλημέρα")},
         {QStringLiteral("Overlapping"), QStringLiteral("lines")}});
    RenderSettings ntscLeft;
    ntscLeft.standard = VideoStandard::Ntsc;
    ntscLeft.align = QStringLiteral("left");
    ntscLeft.outlineWidth = 4;
    ntscLeft.bottomOffset = 16;
    ntscLeft.lineOverlap = 10;
    ntscLeft.fontSize = 36;
    ExpectDecodedAsDrawn(edges, ntscLeft, ColourRoles{7, 2, 15, 9});

    RenderSettings right;
    right.align = QStringLiteral("right");
    right.style = StyleFromName(QStringLiteral("Bold+It+Und"));
    right.outlineWidth = 2;
    right.bottomOffset = 491;
    ExpectDecodedAsDrawn(edges, right, ColourRoles{3, 3, 3, 0});
}

// Capitals with marks above them and stacked marks reach past the text cell; their ink and
// rings must all be in the subpicture.
TEST(AvcodecDecoding, KeepsEveryMarkAboveAndBelowTheLines) {
    const CueList marks =
        Cues({{QStringLiteral("ÒÉÂ ÅÇ Ñ ÊÎÔ Ÿ"), QStringLiteral("ŁÓDŹ ŻÓŁĆ Ś")},
              {QStringLiteral("ČŘŽŮ ŠĚ Ď"), QStringLiteral("ȘȚ ĂÂÎ ş ţ")},
              {QStringLiteral("Ỗ Ậ Ộ Ở Ẫ Ữ"), QStringLiteral("đồng Việt Nam ậ ỹ")},
              {QStringLiteral("á́́ Ë̄̆"), QStringLiteral("q̣̤̰ g̨")}});
    const struct {
        int size;
        const char* style;
        int outline;
        int bottomOffset;
    } looks[] = {{22, "Normal", 3, 30},
                 {36, "Bold+Italic", 4, 30},
                 {50, "Bold", 2, 60},
                 {12, "Italic", 2, 8}};
    for (const auto& look : looks) {
        SCOPED_TRACE(std::to_string(look.size) + " " + look.style);
        RenderSettings settings;
        settings.fontSize = look.size;
        settings.style = StyleFromName(QLatin1String(look.style));
        settings.outlineWidth = look.outline;
        settings.bottomOffset = look.bottomOffset;
        ExpectDecodedAsDrawn(marks, settings, ColourRoles{1, 0, 3, 0});
    }
}

// The faces the line's glyphs come from; "boxes" for Qt's stand-in where no face supports a
// script.
QSet<QString> FacesDrawing(const QFont& font, const QString& text) {
    QImage device(1, 1, QImage::Format_MonoLSB);
    SetSubtitleResolution(device);
    QTextLayout layout(text, font, &device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QSet<QString> faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        faces.insert(raw.fontTable("head").isEmpty() ? QStringLiteral("boxes") : raw.familyName());
    }
    return faces;
}

// One line in each script subtitles are written in: drawn without an empty box by the chosen
// face and the one face picked for the script, with ink in the decoded picture and no mark cut
// at the area's edge.
TEST(AvcodecDecoding, DrawsALineInEveryScriptInTheFacePickedForIt) {
    const struct {
        const char* script;
        const char* text;
        const char* face;
    } scripts[] = {
        {"Latin", "Ça s'écrit: Œuvre, Żółć, Ångström, Việt", "Liberation Sans"},
        {"Greek", "Καλημέρα κόσμε, Ἀθῆναι", "Liberation Sans"},
        {"Cyrillic", "Съешь же ещё этих булок", "Liberation Sans"},
        {"Arabic", "مرحبا بالعالم", "DejaVu Sans"},
        {"Hebrew", "שָׁלוֹם עולם", "Liberation Sans"},
        {"Devanagari", "क्षत्रिय त्रिशूल नमस्ते", "Noto Sans Devanagari"},
        {"Bengali", "আমি বাংলায় গান গাই", "Noto Sans Bengali"},
        {"Tamil", "வணக்கம் உலகம்", "Noto Sans Tamil"},
        {"Telugu", "నమస్కారం ప్రపంచం", "Noto Sans Telugu"},
        {"Kannada", "ನಮಸ್ಕಾರ ಪ್ರಪಂಚ", "Noto Sans Kannada"},
        {"Malayalam", "നമസ്കാരം ലോകം", "Noto Sans Malayalam"},
        {"Gurmukhi", "ਸਤਿ ਸ੍ਰੀ ਅਕਾਲ", "Noto Sans Gurmukhi"},
        {"Gujarati", "નમસ્તે દુનિયા", "Noto Sans Gujarati"},
        {"Oriya", "ନମସ୍କାର ବିଶ୍ୱ", "Noto Sans Oriya"},
        {"Sinhala", "ආයුබෝවන් ලෝකය", "Noto Sans Sinhala"},
        {"Thai", "สวัสดีชาวโลก ผู้ใหญ่", "Noto Sans Thai"},
        {"Lao", "ສະບາຍດີ ໂລກ", "DejaVu Sans"},
        {"Khmer", "សួស្តីពិភពលោក", "Noto Sans Khmer"},
        {"Myanmar", "မင်္ဂလာပါ ကမ္ဘာ", "Noto Sans Myanmar"},
        {"Syriac", "ܫܠܡܐ ܥܠܡܐ", "Noto Sans Syriac"},
        {"Georgian", "გამარჯობა მსოფლიო", "DejaVu Sans"},
        {"Armenian", "Բարեւ աշխարհ", "DejaVu Sans"},
        {"Ethiopic", "ሰላም ለዓለም", "Noto Sans Ethiopic"},
        {"Chinese", "海港的夜晚很安静。", "WenQuanYi Micro Hei"},
        {"Japanese", "港の夜は静かです。", "WenQuanYi Micro Hei"},
        {"Korean", "항구의 밤은 조용합니다.", "WenQuanYi Micro Hei"},
    };
    RenderSettings settings;
    const QFont font = SubtitleFont(settings);
    QList<QPair<QString, QString>> lines;
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.script);
        const QString text = QString::fromUtf8(script.text);
        EXPECT_EQ(FirstMissingGlyph(font, PlainLine(text)), 0u);
        QSet<QString> faces = FacesDrawing(font, text);
        EXPECT_TRUE(faces.contains(QLatin1String(script.face)));
        faces.remove(QLatin1String(script.face));
        faces.remove(QStringLiteral("Liberation Sans"));
        EXPECT_TRUE(faces.isEmpty()) << faces.values().join(u',').toStdString();
        lines.append({text, QString()});
    }
    const CueList list = Cues(lines);
    EXPECT_EQ(UndrawableCharactersNotice(list, settings), std::nullopt);
    ExpectDecodedAsDrawn(list, settings, ColourRoles{1, 0, 3, 0});
    settings.fontSize = 14;
    settings.style = StyleFromName(QStringLiteral("Bold+Italic"));
    settings.outlineWidth = 2;
    ExpectDecodedAsDrawn(list, settings, ColourRoles{1, 0, 3, 0});
}

// A cue that starts while another is shown goes above it; the earlier one stays in place.
TEST(AvcodecDecoding, ShowsOverlappingCuesTogether) {
    CueList list = Cues({{QStringLiteral("First speaker"), QString()},
                         {QStringLiteral("Second"), QStringLiteral("speaker")}});
    list.cues[0] = {1000, 4000, "First speaker", {}, {}};
    list.cues[1].startMs = 2000;
    list.cues[1].durationMs = 1000;
    const QList<QImage> frames =
        ExpectDecodedAsDrawn(list, RenderSettings{}, ColourRoles{1, 0, 3, 0});
    ASSERT_EQ(frames.size(), 3);
    EXPECT_EQ(frames[0], frames[2]);
    const auto inkedRows = [](const QImage& frame) {
        QList<int> rows;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                if (frame.pixel(x, y) != qRgb(0, 0, 255)) {
                    rows << y;
                    break;
                }
            }
        }
        return rows;
    };
    const QList<int> alone = inkedRows(frames[0]);
    const QList<int> together = inkedRows(frames[1]);
    ASSERT_FALSE(alone.isEmpty());
    // The first cue's rows are untouched; the second cue's lines lie above them.
    for (int y = alone.front(); y <= alone.back(); ++y) {
        EXPECT_EQ(QByteArrayView(frames[1].constScanLine(y), 720 * 3),
                  QByteArrayView(frames[0].constScanLine(y), 720 * 3))
            << "row " << y;
    }
    EXPECT_LT(together.front(), alone.front() - 40);
}

// Every file of the collection with a timed cue, with every text option on: each cue, wrapped,
// tagged or many lines high, must come out of the decoder as drawn.
TEST(AvcodecDecoding, ShowsEveryCueOfTheCollectionWithAllTextOptions) {
    RenderSettings settings;
    settings.text = TextOptions{MarkupMode::Render, true, true};
    const QDir collection(test::SubtitleCollectionDir());
    const QStringList files = collection.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 20);
    int converted = 0;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const SubtitleLoad load = LoadSubtitleFile(collection.filePath(file), MarkupMode::Render);
        ASSERT_FALSE(load.error.has_value()) << load.error->message.toStdString();
        if (load.cueList.cues.empty()) {
            continue;
        }
        // Files in a Chinese code page are read with its charset, as a user would choose it.
        RenderSettings fileSettings = settings;
        fileSettings.charset = file.startsWith(QLatin1String("gb2312")) ? 134 : settings.charset;
        ExpectDecodedAsDrawn(load.cueList, fileSettings, ColourRoles{1, 0, 3, 0});
        ++converted;
    }
    EXPECT_EQ(converted, files.size() - 1) << "only no_timed_cues.srt has no cue";
}

}  // namespace
}  // namespace marvoxa
