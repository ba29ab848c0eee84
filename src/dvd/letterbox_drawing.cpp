#include "dvd/letterbox_drawing.h"

#include <QDir>

namespace marvoxa {

std::unique_ptr<LetterboxDrawing> LetterboxDrawing::For(const DvdTarget& target,
                                                        const RenderSettings& settings,
                                                        DvdCopyOutput& copy,
                                                        const QString& outputFolder) {
    const VideoAttributes& video = target.info.video;
    if (!settings.wide || video.aspect != DisplayAspect::Wide ||
        !(video.letterboxAllowed || video.panScanAllowed)) {
        return nullptr;
    }
    return std::make_unique<LetterboxDrawing>(copy, outputFolder);
}

LetterboxDrawing::LetterboxDrawing(DvdCopyOutput& copy, const QString& outputFolder)
    : copy_(copy), stream_(OutputPath(outputFolder, kLetterboxStreamFileName)) {}

SecondDrawing LetterboxDrawing::secondDrawing() {
    SecondDrawing drawing;
    drawing.settings = [](const RenderSettings& wide) {
        RenderSettings square = wide;
        square.wide = false;
        return square;
    };
    drawing.outputs = {&stream_, copy_.letterboxInput()};
    return drawing;
}

QString LetterboxDrawing::report() const {
    return QStringLiteral(
               "The title is 16:9: players on a wide screen show the wide drawing (Generated.sup), "
               "on a 4:3 screen the letterbox drawing, with square pixels:\n%1\n")
        .arg(QDir::toNativeSeparators(stream_.paths().constFirst()));
}

}  // namespace marvoxa
