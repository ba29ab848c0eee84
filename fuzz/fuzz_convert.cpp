// The whole convert path on arbitrary subtitle bytes: load, decode, draw, encode and pack each
// cue as generation does. The first byte picks the form, the standard, the style, the markup
// mode and the line options.
#include "render/frame_canvas.h"
#include "render/subtitle_raster.h"
#include "subtitles/cue_lines.h"
#include "subtitles/display_events.h"
#include "subtitles/subtitle_loader.h"
#include "sup/area_encoding.h"
#include "sup/sup_packet.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

namespace {

// Enough cues to cross from one cue to the next; more only slows the search down.
constexpr size_t kMaxCues = 4;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // fonts need it
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace marvoxa;
    if (size == 0) {
        return 0;
    }
    const uint8_t choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const auto markup = static_cast<MarkupMode>(((choice >> 4) & 3) % 3);
    const SubtitleLoad load = LoadSubtitleBytes(
        bytes, (choice & 1) != 0 ? QStringLiteral("x.sub") : QStringLiteral("x.srt"), markup);

    RenderSettings settings;
    settings.standard = (choice & 2) != 0 ? VideoStandard::Ntsc : VideoStandard::Pal;
    settings.style.bold = (choice & 4) != 0;
    settings.text = TextOptions{.wrap = (choice & 8) != 0, .allLines = (choice & 0x40) != 0};
    settings.outlineWidth = (choice & 0x80) != 0 ? 4 : 2;
    const RoleColours colours{0xff555555u, 0xff000000u, 0xffffffffu};
    const ColourRoles roles{1, 0, 3, 0};

    settings.text.markup = markup;
    FrameCanvas canvas;
    // Overlapping cues are drawn together, each in its {\an} place.
    const DisplayEventList events = DisplayEvents(load.cueList);
    for (size_t i = 0; i < std::min(events.size(), kMaxCues); ++i) {
        const DisplayEvent event = events[i];
        QList<PlacedLines> blocks;
        for (size_t cue : event.cues) {
            const CueLines lines = DrawnCueLines(load.cueList, cue, settings);
            blocks.append(PlacedLines{lines.drawn, lines.placement});
        }
        const RasterizedCue subtitle = RasterizeCue(blocks, settings);
        const QImage& frame = canvas.draw(subtitle.raster, colours);
        const Result<FieldData> fields =
            EncodeArea(frame, subtitle.layout.areaTop, subtitle.layout.areaHeight, colours);
        if (!fields) {
            continue;
        }
        const Result<QByteArray> packet =
            BuildSupPacket(event.startMs, event.durationMs, roles, subtitle.layout.areaTop,
                           subtitle.layout.areaHeight, fields.value().top, fields.value().bottom,
                           (choice & 1) != 0);
        if (packet && packet.value().size() < 10) {
            __builtin_trap();  // every packet has its header
        }
    }
    return 0;
}
