// The only place that calls libavformat and libavcodec. It is built as a module of its own,
// loaded when the first container is read, so that the converter and the window start without
// loading libav and the many codec libraries it needs.
#include "subtitles/media_reader.h"

#include "common/regular_file.h"
#include "subtitles/ass_text.h"
#include "subtitles/cue_time.h"
#include "subtitles/subtitle_messages.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

namespace marvoxa {

namespace {

// What the demuxer complained of while a file was read on this thread; a complaint at error
// level (such as "File ended prematurely") means the events read are not all there are.
struct DemuxerComplaints {
    QString first;
};
thread_local DemuxerComplaints* tComplaints = nullptr;

void KeepDemuxerErrors(void* object, int level, const char* format, va_list arguments) {
    if (level > AV_LOG_ERROR || object == nullptr || tComplaints == nullptr ||
        !tComplaints->first.isEmpty()) {
        return;
    }
    const AVClass* objectClass = *static_cast<const AVClass* const*>(object);
    const AVClassCategory category = objectClass->get_category != nullptr
                                         ? objectClass->get_category(object)
                                         : objectClass->category;
    if (category != AV_CLASS_CATEGORY_DEMUXER) {
        return;
    }
    char line[512];
    int printPrefix = 0;  // the message alone, without the "[matroska,webm @ 0x...]" prefix
    av_log_format_line2(object, level, format, arguments, line, sizeof line, &printPrefix);
    tComplaints->first = QString::fromUtf8(line).trimmed();
}

// libav's own log would reach the converter's standard error as noise; the user reads this
// reader's messages instead.
void QuietLibav() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(KeepDemuxerErrors); });
}

QString LibavText(int status) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(status, text, sizeof text);
    return QString::fromUtf8(text);
}

// libavformat reads through the descriptor of a file already known to be regular, so a FIFO
// cannot stall it and a file name that is not UTF-8 still opens.
int ReadBytes(void* opaque, uint8_t* buffer, int size) {
    const int descriptor = *static_cast<int*>(opaque);
    ssize_t got = 0;
    do {
        got = ::read(descriptor, buffer, static_cast<size_t>(size));
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return AVERROR(errno);
    }
    return got == 0 ? AVERROR_EOF : static_cast<int>(got);
}

int64_t SeekBytes(void* opaque, int64_t offset, int whence) {
    const int descriptor = *static_cast<int*>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat status {};
        return ::fstat(descriptor, &status) == 0 ? status.st_size : AVERROR(errno);
    }
    const off_t position = ::lseek(descriptor, offset, whence & ~AVSEEK_FORCE);
    return position < 0 ? AVERROR(errno) : position;
}

// An open container and everything opened for it, closed in reverse order.
struct Container {
    Container() = default;
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;
    ~Container() {
        avformat_close_input(&format);
        if (io != nullptr) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }

    int descriptor = -1;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
};

Status OpenContainer(const QString& path, Container& container) {
    QuietLibav();
    const OpenedInput opened = OpenRegularFileForReading(path);
    if (opened.descriptor < 0) {
        return Error{ErrorKind::Io, opened.notRegular
                                        ? NotRegularFileMessage(path)
                                        : CannotOpenFileMessage(path, opened.errorNumber)};
    }
    container.descriptor = opened.descriptor;
    constexpr int kBufferSize = 64 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
    container.io = buffer == nullptr
                       ? nullptr
                       : avio_alloc_context(buffer, kBufferSize, 0, &container.descriptor,
                                            ReadBytes, nullptr, SeekBytes);
    container.format = container.io == nullptr ? nullptr : avformat_alloc_context();
    if (container.format == nullptr) {
        if (container.io == nullptr) {
            av_free(buffer);
        }
        return Error{ErrorKind::Io, QString(kCannotOpenFileMessage).arg(path)};
    }
    container.format->pb = container.io;
    container.format->flags |= AVFMT_FLAG_CUSTOM_IO;
    // The name only hints at the format; the bytes decide.
    const int status = avformat_open_input(
        &container.format, QFile::encodeName(QFileInfo(path).fileName()).constData(), nullptr,
        nullptr);
    if (status < 0) {
        return Error{ErrorKind::Format,
                     QStringLiteral("%1 cannot be read as a video or audio container; it may be "
                                    "damaged or cut short (libavformat: %2).")
                         .arg(path, LibavText(status))};
    }
    return Ok();
}

QString Tag(const AVDictionary* tags, const char* key) {
    const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0);
    return entry == nullptr ? QString() : QString::fromUtf8(entry->value);
}

// The tracks and, for each, its stream index.
QList<std::pair<MediaTrack, int>> StreamsOf(const AVFormatContext& format) {
    QList<std::pair<MediaTrack, int>> streams;
    int subtitles = 0;
    for (unsigned int index = 0; index < format.nb_streams; ++index) {
        const AVStream& stream = *format.streams[index];
        const AVCodecParameters& parameters = *stream.codecpar;
        MediaTrack track;
        switch (parameters.codec_type) {
            case AVMEDIA_TYPE_VIDEO:
                track.kind = MediaTrack::Kind::Video;
                break;
            case AVMEDIA_TYPE_AUDIO:
                track.kind = MediaTrack::Kind::Audio;
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                track.kind = MediaTrack::Kind::Subtitle;
                track.subtitleNumber = ++subtitles;
                break;
            case AVMEDIA_TYPE_ATTACHMENT:
                continue;  // fonts that ASS tracks bring along: not tracks to the user
            default:
                break;
        }
        track.codec = QString::fromUtf8(avcodec_get_name(parameters.codec_id));
        track.language = Tag(stream.metadata, "language");
        track.title = Tag(stream.metadata, "title");
        const AVCodecDescriptor* descriptor = avcodec_descriptor_get(parameters.codec_id);
        track.text = track.kind == MediaTrack::Kind::Subtitle && descriptor != nullptr &&
                     (descriptor->props & AV_CODEC_PROP_TEXT_SUB) != 0 &&
                     avcodec_find_decoder(parameters.codec_id) != nullptr;
        streams.append({track, static_cast<int>(index)});
    }
    return streams;
}

QList<MediaTrack> TracksOnly(const QList<std::pair<MediaTrack, int>>& streams) {
    QList<MediaTrack> tracks;
    for (const auto& stream : streams) {
        tracks.append(stream.first);
    }
    return tracks;
}

struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

// The decoder's ASS script header, as lines.
QList<QByteArray> HeaderLines(const AVCodecContext& decoder) {
    if (decoder.subtitle_header == nullptr || decoder.subtitle_header_size <= 0) {
        return {};
    }
    QList<QByteArray> lines = QByteArray(reinterpret_cast<const char*>(decoder.subtitle_header),
                                         decoder.subtitle_header_size)
                                  .split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

qint32 ClampedMs(int64_t ms) {
    return static_cast<qint32>(std::clamp<int64_t>(ms, std::numeric_limits<qint32>::min(),
                                                   std::numeric_limits<qint32>::max()));
}

// Adds the cue of one decoded event, "ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,
// Effect,Text", shown from startMs to endMs.
void AddEvent(const QByteArray& dialogue, qint32 startMs, qint32 endMs,
              const QHash<QString, AssStyle>& styles, MarkupMode markup, CueReading& reading) {
    const QList<QByteArray> fields = SplitAssFields(dialogue, 9);
    AppendTextCue(
        reading, startMs, endMs,
        fields.size() < 9
            ? QList<QByteArray>()
            : AssEventLines(fields[8], FindAssStyle(styles, QString::fromUtf8(fields[2])), markup));
}

Result<CueReading> ReadTrack(const QString& path, int track, MarkupMode markup) {
    DemuxerComplaints complaints;
    tComplaints = &complaints;
    const auto stopListening = qScopeGuard([] { tComplaints = nullptr; });

    Container container;
    if (const Status opened = OpenContainer(path, container); !opened) {
        return opened.error();
    }
    const QList<std::pair<MediaTrack, int>> streams = StreamsOf(*container.format);
    const Result<MediaTrack> chosen = ChooseSubtitleTrack(TracksOnly(streams), track, path);
    if (!chosen) {
        return chosen.error();
    }
    const int streamIndex = std::find_if(streams.cbegin(), streams.cend(), [&](const auto& stream) {
                                return stream.first.subtitleNumber == chosen.value().subtitleNumber;
                            })->second;
    for (unsigned int index = 0; index < container.format->nb_streams; ++index) {
        container.format->streams[index]->discard =
            static_cast<int>(index) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    const AVStream& stream = *container.format->streams[streamIndex];
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    std::unique_ptr<AVCodecContext, CodecContextFree> decoder(avcodec_alloc_context3(codec));
    const auto cannotDecode = [&] {
        return Error{ErrorKind::Format,
                     QStringLiteral("libavcodec cannot decode subtitle track %1 (%2) of %3.")
                         .arg(chosen.value().subtitleNumber)
                         .arg(chosen.value().codec, path)};
    };
    if (decoder == nullptr || avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0) {
        return cannotDecode();
    }
    decoder->pkt_timebase = stream.time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) {
        return cannotDecode();
    }
    const QHash<QString, AssStyle> styles = ReadAssStyles(HeaderLines(*decoder));
    // Transport streams carry a broadcast clock; their pictures, made into a DVD's video, start
    // at the file's first time, and so must the subtitles.
    const int64_t clockStart = (container.format->iformat->flags & AVFMT_TS_DISCONT) != 0 &&
                                       container.format->start_time != AV_NOPTS_VALUE
                                   ? av_rescale_q(container.format->start_time,
                                                  AVRational{1, AV_TIME_BASE}, stream.time_base)
                                   : 0;
    const auto ms = [&](int64_t ticks) {
        return av_rescale_q(ticks - clockStart, stream.time_base, AVRational{1, 1000});
    };

    CueReading reading;
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    if (packet == nullptr) {
        return cannotDecode();
    }
    const auto damaged = [&](const QString& why) {
        return Error{ErrorKind::Format,
                     QStringLiteral("%1 is damaged or cut short; libavformat stopped reading it: "
                                    "%2")
                         .arg(path, why)};
    };
    for (;;) {
        const int status = av_read_frame(container.format, packet.get());
        if (status == AVERROR_EOF) {
            break;
        }
        if (status < 0) {
            return damaged(complaints.first.isEmpty() ? LibavText(status) : complaints.first);
        }
        const auto unref = qScopeGuard([&packet] { av_packet_unref(packet.get()); });
        const int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index != streamIndex || time == AV_NOPTS_VALUE) {
            continue;
        }
        AVSubtitle subtitle{};
        int gotSubtitle = 0;
        if (avcodec_decode_subtitle2(decoder.get(), &subtitle, &gotSubtitle, packet.get()) < 0) {
            return Error{ErrorKind::Format,
                         QStringLiteral("The subtitle at %1 of track %2 of %3 cannot be decoded.")
                             .arg(FormatCueTime(ms(time)))
                             .arg(chosen.value().subtitleNumber)
                             .arg(path)};
        }
        if (gotSubtitle == 0) {
            continue;  // MP4's empty samples that fill the time between subtitles
        }
        const auto freeSubtitle = qScopeGuard([&subtitle] { avsubtitle_free(&subtitle); });
        const int64_t startMs = ms(time) + subtitle.start_display_time;
        const int64_t endMs = packet->duration > 0 ? ms(time + packet->duration)
                              : subtitle.end_display_time != std::numeric_limits<uint32_t>::max()
                                  ? ms(time) + subtitle.end_display_time
                                  : startMs;
        for (unsigned int rect = 0; rect < subtitle.num_rects; ++rect) {
            const AVSubtitleRect& event = *subtitle.rects[rect];
            AddEvent(event.type == SUBTITLE_ASS && event.ass != nullptr ? QByteArray(event.ass)
                                                                        : QByteArray(),
                     ClampedMs(startMs), ClampedMs(endMs), styles, markup, reading);
        }
    }
    if (!complaints.first.isEmpty()) {
        return damaged(complaints.first);
    }
    return reading;
}

}  // namespace

}  // namespace marvoxa

// The module's entry points, found by name when it is loaded (see media_reader.cpp); each hands
// its result over through the pointer it is given.
extern "C" Q_DECL_EXPORT void marvoxa_read_media_tracks(
    const QString& path, marvoxa::Result<QList<marvoxa::MediaTrack>>* tracks) {
    using namespace marvoxa;
    Container container;
    if (const Status opened = OpenContainer(path, container); !opened) {
        *tracks = opened.error();
        return;
    }
    *tracks = TracksOnly(StreamsOf(*container.format));
}

extern "C" Q_DECL_EXPORT void marvoxa_read_media_subtitles(const QString& path, int track,
                                                           marvoxa::MarkupMode markup,
                                                           marvoxa::CueReading* reading) {
    using namespace marvoxa;
    Result<CueReading> read = ReadTrack(path, track, markup);
    if (read) {
        *reading = std::move(read).value();
        return;
    }
    *reading = CueReading{};
    reading->error = read.error();
}
