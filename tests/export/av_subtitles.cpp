#include "av_subtitles.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include <QFile>
#include <QScopeGuard>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace marvoxa::test {

namespace {

struct DecoderFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using Decoder = std::unique_ptr<AVCodecContext, DecoderFree>;

Decoder OpenDecoder(const AVCodecParameters* parameters, const QByteArray& paletteOption,
                    AVCodecID codecId = AV_CODEC_ID_DVD_SUBTITLE) {
    const AVCodec* codec = avcodec_find_decoder(codecId);
    if (codec == nullptr) {
        ADD_FAILURE() << "libavcodec has no decoder for " << avcodec_get_name(codecId);
        return nullptr;
    }
    Decoder decoder(avcodec_alloc_context3(codec));
    if (parameters != nullptr) {
        EXPECT_GE(avcodec_parameters_to_context(decoder.get(), parameters), 0);
    }
    AVDictionary* options = nullptr;
    if (!paletteOption.isEmpty()) {
        av_dict_set(&options, "palette", paletteOption.constData(), 0);
    }
    EXPECT_EQ(avcodec_open2(decoder.get(), codec, &options), 0);
    av_dict_free(&options);
    return decoder;
}

// Feeds one packet; true with the cue when the decoder shows one.
bool Decode(AVCodecContext* decoder, AVPacket* packet, int frameHeight, ShownCue& cue,
            int frameWidth = 720) {
    AVSubtitle subtitle{};
    int gotSubtitle = 0;
    EXPECT_GE(avcodec_decode_subtitle2(decoder, &subtitle, &gotSubtitle, packet), 0);
    if (gotSubtitle == 0) {
        return false;
    }
    const auto freeSubtitle = qScopeGuard([&] { avsubtitle_free(&subtitle); });
    cue.endDisplayMs = subtitle.end_display_time;
    cue.frame = QImage(frameWidth, frameHeight, QImage::Format_ARGB32);
    cue.frame.fill(0);
    for (unsigned r = 0; r < subtitle.num_rects; ++r) {
        const AVSubtitleRect& rect = *subtitle.rects[r];
        const auto* colours = reinterpret_cast<const quint32*>(rect.data[1]);
        for (int y = 0; y < rect.h; ++y) {
            for (int x = 0; x < rect.w; ++x) {
                const quint32 colour = colours[rect.data[0][y * rect.linesize[0] + x]];
                if (rect.x + x < cue.frame.width() && rect.y + y < cue.frame.height()) {
                    cue.frame.setPixel(rect.x + x, rect.y + y, (colour >> 24) == 0 ? 0 : colour);
                }
            }
        }
    }
    return true;
}

}  // namespace

int OpaquePixels(const QImage& frame) {
    int opaque = 0;
    for (int row = 0; row < frame.height(); ++row) {
        for (int column = 0; column < frame.width(); ++column) {
            opaque += qAlpha(frame.pixel(column, row)) != 0 ? 1 : 0;
        }
    }
    return opaque;
}

QByteArray PaletteOption(const QList<quint32>& colours) {
    QByteArray option;
    for (qsizetype entry = 0; entry < colours.size(); ++entry) {
        option += QByteArray::number(colours[entry] & 0xffffffu, 16).rightJustified(6, '0');
        option += entry + 1 < colours.size() ? "," : "";
    }
    return option;
}

ShownCue DecodeUnit(const QByteArray& unit, const QByteArray& paletteOption, int frameHeight) {
    ShownCue cue;
    Decoder decoder = OpenDecoder(nullptr, paletteOption);
    AVPacket* packet = av_packet_alloc();
    packet->data = reinterpret_cast<uint8_t*>(const_cast<char*>(unit.constData()));
    packet->size = static_cast<int>(unit.size());
    EXPECT_TRUE(Decode(decoder.get(), packet, frameHeight, cue));
    av_packet_free(&packet);
    return cue;
}

ShownFile DecodeSubtitleFile(const QString& path, const QByteArray& paletteOption, int frameHeight,
                             int nth) {
    ShownFile shown;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) != 0) {
        ADD_FAILURE() << "libavformat cannot open " << path.toStdString();
        return shown;
    }
    const auto closeInput = qScopeGuard([&] { avformat_close_input(&format); });
    EXPECT_GE(avformat_find_stream_info(format, nullptr), 0);
    // By their ids: a DVD's sub-stream ids, an index's "index:" numbers, an MKV's tracks.
    std::vector<std::pair<int, int>> subtitleStreams;  // id, stream index
    for (unsigned s = 0; s < format->nb_streams; ++s) {
        const AVStream* stream = format->streams[s];
        if (stream->codecpar->codec_id == AV_CODEC_ID_DVD_SUBTITLE) {
            subtitleStreams.emplace_back(stream->id, static_cast<int>(s));
        }
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            stream->start_time != AV_NOPTS_VALUE) {
            shown.videoStartTime = av_rescale_q(stream->start_time, stream->time_base, {1, 90000});
        }
    }
    std::sort(subtitleStreams.begin(), subtitleStreams.end());
    const int subtitleStream =
        nth < static_cast<int>(subtitleStreams.size()) ? subtitleStreams[nth].second : -1;
    if (subtitleStream < 0) {
        ADD_FAILURE() << path.toStdString() << " has no DVD subtitle stream " << nth;
        return shown;
    }
    const AVStream* stream = format->streams[subtitleStream];
    Decoder decoder = OpenDecoder(stream->codecpar, paletteOption);
    AVPacket* packet = av_packet_alloc();
    const auto freePacket = qScopeGuard([&] { av_packet_free(&packet); });
    // A unit split over several packets has its time in the first.
    qint64 presentationTime = 0;
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == subtitleStream) {
            if (packet->pts != AV_NOPTS_VALUE) {
                presentationTime = av_rescale_q(packet->pts, stream->time_base, {1, 90000});
            }
            ShownCue cue;
            cue.presentationTime = presentationTime;
            if (Decode(decoder.get(), packet, frameHeight, cue)) {
                shown.cues << cue;
            }
        }
        av_packet_unref(packet);
    }
    return shown;
}

ShownFile DecodePgsFile(const QString& path, QSize video) {
    ShownFile shown;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) != 0) {
        ADD_FAILURE() << "libavformat cannot open " << path.toStdString();
        return shown;
    }
    const auto closeInput = qScopeGuard([&] { avformat_close_input(&format); });
    EXPECT_GE(avformat_find_stream_info(format, nullptr), 0);
    const int streamIndex = av_find_best_stream(format, AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
    if (streamIndex < 0 ||
        format->streams[streamIndex]->codecpar->codec_id != AV_CODEC_ID_HDMV_PGS_SUBTITLE) {
        ADD_FAILURE() << path.toStdString() << " has no PGS stream";
        return shown;
    }
    const AVStream* stream = format->streams[streamIndex];
    Decoder decoder = OpenDecoder(stream->codecpar, {}, AV_CODEC_ID_HDMV_PGS_SUBTITLE);
    AVPacket* packet = av_packet_alloc();
    const auto freePacket = qScopeGuard([&] { av_packet_free(&packet); });
    // A display set is shown at its composition segment's time.
    qint64 presentationTime = 0;
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == streamIndex) {
            if (packet->size > 0 && packet->data[0] == 0x16 && packet->pts != AV_NOPTS_VALUE) {
                presentationTime = av_rescale_q(packet->pts, stream->time_base, {1, 90000});
            }
            ShownCue cue;
            cue.presentationTime = presentationTime;
            if (Decode(decoder.get(), packet, video.height(), cue, video.width())) {
                shown.cues << cue;
            }
        }
        av_packet_unref(packet);
    }
    return shown;
}

}  // namespace marvoxa::test
