#include "generated_outputs.h"

#include "export/spumux_output.h"
#include "export/vobsub_output.h"
#include "sup/generation.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace marvoxa::test {

CueList SpacedCues(const QList<QPair<QString, QString>>& lines, qint64 firstStartMs, qint64 stepMs,
                   qint64 durationMs) {
    CueList list;
    list.encoding = TextEncoding::Utf8;
    qint64 start = firstStartMs;
    for (const auto& [first, second] : lines) {
        list.cues.push_back({static_cast<qint32>(start),
                             static_cast<qint32>(durationMs),
                             first.toUtf8(),
                             second.toUtf8(),
                             {}});
        start += stepMs;
    }
    return list;
}

CueList EdgeCues(qint64 firstStartMs, qint64 stepMs, qint64 durationMs) {
    return SpacedCues({{QString(80, QLatin1Char('_')), QStringLiteral("left edge")},
                       {QStringLiteral("i"), QString()},
                       {QString(), QStringLiteral("Only the second line, Καλημέρα")},
                       {QStringLiteral("Overlapping"), QStringLiteral("lines")}},
                      firstStartMs, stepMs, durationMs);
}

GeneratedOutputs GenerateWithOutputs(const CueList& cues, const RenderSettings& settings,
                                     const Palette& palette, const ColourRoles& roles,
                                     const QString& folder) {
    VobSubOutput vobSub(folder, settings.standard, palette, QStringLiteral("en"));
    SpumuxOutput spumux(folder, palette);
    GenerationRequest request;
    request.cueList = &cues;
    request.renderSettings = [&] { return settings; };
    request.colourRoles = [&] { return roles; };
    request.roleColours = palette.roleColours(roles);
    request.outputFolder = folder;
    request.extraOutputs = {&vobSub, &spumux};
    const Result<GeneratedStream> stream = GenerateSupStream(request);
    GeneratedOutputs generated;
    EXPECT_TRUE(stream.ok()) << stream.error().message.toStdString();
    if (stream.ok()) {
        generated.packets = ReadSupStream(ReadFile(stream.value().streamPath));
        generated.extraPaths = vobSub.paths() + spumux.paths();
    }
    return generated;
}

}  // namespace marvoxa::test
