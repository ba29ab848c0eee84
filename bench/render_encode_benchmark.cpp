// Renders and encodes 1,500 two-line cues with the fast renderer and with the literal
// pass-by-pass drawing, and prints cues per second for both.
// With --write-srt PATH it only writes the same cues as an SRT file, for timing marvoxa-cli.

#include "literal_renderer.h"
#include "render/frame_canvas.h"
#include "render/subtitle_raster.h"
#include "sup/area_encoding.h"
#include "sup/sup_packet.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

using namespace marvoxa;

constexpr int kCueCount = 1500;
const RoleColours kColours{qRgb(128, 128, 128), qRgb(0, 0, 0), qRgb(255, 255, 255)};

struct CueText {
    QString first;
    QString second;
};

QList<CueText> MakeCues() {
    const QStringList words{
        QStringLiteral("harbour"), QStringLiteral("lighthouse"), QStringLiteral("Rethymno"),
        QStringLiteral("morning"), QStringLiteral("fishermen"),  QStringLiteral("walls"),
        QStringLiteral("the"),     QStringLiteral("and"),        QStringLiteral("sea"),
        QStringLiteral("bread"),   QStringLiteral("café"),       QStringLiteral("Fortezza")};
    QList<CueText> cues;
    for (int i = 0; i < kCueCount; ++i) {
        QString first;
        QString second;
        for (int w = 0; w < 5; ++w) {
            first += words[(i * 7 + w * 3) % words.size()] + QLatin1Char(' ');
            second += words[(i * 5 + w * 11 + 1) % words.size()] + QLatin1Char(' ');
        }
        cues.append({first.trimmed(), second.trimmed() + QLatin1Char('.')});
    }
    return cues;
}

// Encodes one drawn cue as generation does; returns the packet size so nothing is optimised
// away.
qsizetype EncodeCue(int index, const QImage& frame, int areaTop, int areaHeight) {
    const Result<FieldData> fields = EncodeArea(frame, areaTop, areaHeight, kColours);
    if (!fields) {
        std::fprintf(stderr, "%s\n", qPrintable(fields.error().message));
        std::exit(1);
    }
    const Result<QByteArray> packet =
        BuildSupPacket(index * 3000LL, 2500, ColourRoles{1, 0, 3, 0}, areaTop, areaHeight,
                       fields.value().top, fields.value().bottom);
    return packet ? packet.value().size() : 0;
}

double CuesPerSecond(const QList<CueText>& cues, int count,
                     const std::function<qsizetype(int, const CueText&)>& convert) {
    QElapsedTimer timer;
    timer.start();
    qsizetype bytes = 0;
    for (int i = 0; i < count; ++i) {
        bytes += convert(i, cues[i]);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("    %d cues, %lld bytes of packets, %.3f s\n", count,
                static_cast<long long>(bytes), seconds);
    return count / seconds;
}

QString SrtTime(qint64 ms) {
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3'600'000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60'000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

int WriteSrt(const QString& path, const QList<CueText>& cues) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    QTextStream srt(&file);
    for (int i = 0; i < cues.size(); ++i) {
        const qint64 start = 1000 + 3000LL * i;
        srt << i + 1 << "\r\n"
            << SrtTime(start) << " --> " << SrtTime(start + 2500) << "\r\n"
            << cues[i].first << "\r\n"
            << cues[i].second << "\r\n\r\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QList<CueText> cues = MakeCues();
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--write-srt")) {
        return WriteSrt(arguments[2], cues);
    }
    const RenderSettings settings;

    std::printf("fast renderer:\n");
    FrameCanvas canvas;
    const double fast = CuesPerSecond(cues, kCueCount, [&](int i, const CueText& cue) {
        const RasterizedSubtitle subtitle = RasterizeSubtitle(cue.first, cue.second, settings);
        const QImage& frame = canvas.draw(subtitle.raster, kColours);
        return EncodeCue(i, frame, subtitle.layout.areaTop, subtitle.layout.areaHeight);
    });

    std::printf("literal pass-by-pass drawing:\n");
    const double literal = CuesPerSecond(cues, kCueCount, [&](int i, const CueText& cue) {
        const SubtitleFrame frame =
            test::RenderSubtitleFrameLiterally(cue.first, cue.second, settings, kColours);
        return EncodeCue(i, frame.frame, frame.areaTop, frame.areaHeight);
    });

    std::printf("fast: %.0f cues/s, literal: %.0f cues/s, fast/literal: %.1fx\n", fast, literal,
                fast / literal);
    return 0;
}
