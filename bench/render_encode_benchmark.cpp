// Renders and encodes 1,500 two-line cues and prints cues per second: on one thread from the
// 24-bit frame and straight from the drawn layers, on every core as generation does, and with
// the literal pass-by-pass drawing.
// With --write-srt PATH [COUNT] it only writes the cues (1,500 or COUNT, repeating) as an SRT
// file, for timing marvoxa-cli.

#include "bench_cues.h"
#include "common/ordered_pipeline.h"
#include "literal_renderer.h"
#include "render/frame_canvas.h"
#include "render/subtitle_raster.h"
#include "sup/area_encoding.h"
#include "sup/raster_encoding.h"
#include "sup/sup_packet.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using namespace marvoxa;
using bench::CueText;
using bench::kCueCount;

const RoleColours kColours{qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(255, 255, 255)};

// Packs one encoded cue; returns the packet size so nothing is optimised away.
qsizetype PackCue(int index, const Result<FieldData>& fields, int areaTop, int areaHeight) {
    if (!fields) {
        std::fprintf(stderr, "%s\n", qPrintable(fields.error().message));
        std::exit(1);
    }
    const Result<QByteArray> packet =
        BuildSupPacket(index * 3000LL, 2500, ColourRoles{1, 0, 3, 0}, areaTop, areaHeight,
                       fields.value().top, fields.value().bottom);
    return packet ? packet.value().size() : 0;
}

// Encodes one cue from its 24-bit frame.
qsizetype EncodeCue(int index, const QImage& frame, int areaTop, int areaHeight) {
    return PackCue(index, EncodeArea(frame, areaTop, areaHeight, kColours), areaTop, areaHeight);
}

// Draws and encodes one cue straight from its layers, as generation does.
qsizetype DrawAndEncodeCue(int index, const CueText& cue, const RenderSettings& settings) {
    const RasterizedSubtitle subtitle = RasterizeSubtitle(cue.first, cue.second, settings);
    const int top = subtitle.layout.areaTop;
    const int height = subtitle.layout.areaHeight;
    return PackCue(index, EncodeRaster(subtitle.raster, top, height, kColours), top, height);
}

// Every core at once, outputs taken in cue order as generation takes them.
// CPU seconds the process has used, all threads together. On a shared machine the wall clock
// also counts time other programs held the cores; cues per CPU second do not.
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double CuesPerSecondOnEveryCore(const QList<CueText>& cues, const RenderSettings& settings) {
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = ProcessCpuSeconds();
    qsizetype bytes = 0;
    {
        // Eight cues a hand-over, as generation hands them to its threads.
        constexpr int kCuesPerBlock = 8;
        OrderedPipeline<qsizetype> pipeline;
        int submitted = 0;
        for (int taken = 0; taken < cues.size();) {
            if (submitted < cues.size() && !pipeline.full()) {
                const int end = std::min<int>(cues.size(), submitted + kCuesPerBlock);
                pipeline.submit([&cues, &settings, first = submitted, end] {
                    qsizetype blockBytes = 0;
                    for (int index = first; index < end; ++index) {
                        blockBytes += DrawAndEncodeCue(index, cues[index], settings);
                    }
                    return blockBytes;
                });
                submitted = end;
            } else {
                bytes += pipeline.takeNext();
                taken = std::min<int>(cues.size(), taken + kCuesPerBlock);
            }
        }
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double cpuSeconds = ProcessCpuSeconds() - cpuStart;
    std::printf(
        "    %lld cues on %d threads, %lld bytes of packets, %.3f s, %.3f CPU s: %.0f cues "
        "per CPU second\n",
        static_cast<long long>(cues.size()), QThread::idealThreadCount(),
        static_cast<long long>(bytes), seconds, cpuSeconds,
        static_cast<double>(cues.size()) / cpuSeconds);
    return static_cast<double>(cues.size()) / seconds;
}

double CuesPerSecond(const QList<CueText>& cues, int count,
                     const std::function<qsizetype(int, const CueText&)>& convert) {
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = ProcessCpuSeconds();
    qsizetype bytes = 0;
    for (int i = 0; i < count; ++i) {
        bytes += convert(i, cues[i]);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double cpuSeconds = ProcessCpuSeconds() - cpuStart;
    std::printf(
        "    %d cues, %lld bytes of packets, %.3f s, %.3f CPU s: %.0f cues per CPU second\n", count,
        static_cast<long long>(bytes), seconds, cpuSeconds, count / cpuSeconds);
    return count / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QList<CueText> cues = bench::MakeCues();
    const QStringList arguments = QGuiApplication::arguments();
    if ((arguments.size() == 3 || arguments.size() == 4) &&
        arguments[1] == QLatin1String("--write-srt")) {
        const int count = arguments.size() == 4 ? arguments[3].toInt() : kCueCount;
        if (!bench::WriteSrt(arguments[2], cues, count)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[2]));
            return 1;
        }
        return 0;
    }
    const RenderSettings settings;

    std::printf("one thread, encoded from the 24-bit frame:\n");
    FrameCanvas canvas;
    const double fromFrame = CuesPerSecond(cues, kCueCount, [&](int i, const CueText& cue) {
        const RasterizedSubtitle subtitle = RasterizeSubtitle(cue.first, cue.second, settings);
        const QImage& frame = canvas.draw(subtitle.raster, kColours);
        return EncodeCue(i, frame, subtitle.layout.areaTop, subtitle.layout.areaHeight);
    });

    std::printf("one thread, encoded from the drawn layers:\n");
    const double fromLayers = CuesPerSecond(cues, kCueCount, [&](int i, const CueText& cue) {
        return DrawAndEncodeCue(i, cue, settings);
    });

    std::printf("every core, encoded from the drawn layers, in cue order:\n");
    const double everyCore = CuesPerSecondOnEveryCore(cues, settings);

    std::printf("literal pass-by-pass drawing, one thread:\n");
    const double literal = CuesPerSecond(cues, kCueCount, [&](int i, const CueText& cue) {
        const SubtitleFrame frame =
            test::RenderSubtitleFrameLiterally(cue.first, cue.second, settings, kColours);
        return EncodeCue(i, frame.frame, frame.areaTop, frame.areaHeight);
    });

    std::printf(
        "cues/s: every core %.0f, one thread from layers %.0f, one thread from frame %.0f, "
        "literal %.0f\n",
        everyCore, fromLayers, fromFrame, literal);
    return 0;
}
