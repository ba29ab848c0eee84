// Decodes generated streams with libavcodec's DVD subtitle decoder, the one most players use,
// and compares what it shows with what was drawn.

#include "sup/generation.h"

#include "subtitles/subtitle_loader.h"
#include "sup/pixel_classification.h"
#include "sup/time_stamps.h"
#include "sup_stream_reader.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>

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

void ExpectDecodedAsDrawn(const CueList& list, const RenderSettings& settings,
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
    ASSERT_TRUE(stream.ok()) << stream.error().message.toStdString();

    const auto packets = test::ReadSupStream(test::ReadFile(stream.value().streamPath));
    ASSERT_EQ(packets.size(), static_cast<qsizetype>(list.cues.size()));
    DvdSubtitleDecoder decoder;
    for (qsizetype index = 0; index < packets.size(); ++index) {
        SCOPED_TRACE("cue " + std::to_string(index + 1));
        const Cue& cue = list.cues[static_cast<size_t>(index)];
        EXPECT_EQ(packets[index].presentationTime, PresentationTime(cue.startMs));

        AVSubtitle subtitle{};
        ASSERT_TRUE(decoder.decode(packets[index].unit, subtitle));
        const auto freeSubtitle = qScopeGuard([&] { avsubtitle_free(&subtitle); });
        EXPECT_EQ(subtitle.start_display_time, 0u);
        EXPECT_EQ(subtitle.end_display_time,
                  static_cast<uint32_t>((StopDelay(cue.durationMs) << 10) / 90));
        EXPECT_LE(std::abs(static_cast<long>(subtitle.end_display_time) - cue.durationMs), 12);
        ASSERT_EQ(subtitle.num_rects, 1u);
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
                ASSERT_EQ(decoded, expected)
                    << "at frame row " << rect.y + y << ", column " << rect.x + x;
                shownDecoded += decoded != 0 ? 1 : 0;
            }
        }
        EXPECT_GT(shownDecoded, 0);
        EXPECT_EQ(shownDecoded, shownInFrame);
    }
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
