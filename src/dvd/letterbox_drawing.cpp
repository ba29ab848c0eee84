#include "dvd/letterbox_drawing.h"

#include <QDir>

namespace marvoxa {

QString TaggedLetterboxFileName(const QString& tag) {
    return QStringLiteral("Generated_letterbox.%1.sup").arg(tag);
}

std::unique_ptr<LetterboxDrawing> LetterboxDrawing::For(const DvdTarget& target,
                                                        const RenderSettings& settings,
                                                        DvdCopyOutput& copy,
                                                        const QString& outputFolder, int stream,
                                                        const QString& fileName) {
    const VideoAttributes& video = target.info.video;
    if (!settings.wide || video.aspect != DisplayAspect::Wide ||
        !(video.letterboxAllowed || video.panScanAllowed)) {
        return nullptr;
    }
    return std::make_unique<LetterboxDrawing>(
        copy, QDir::cleanPath(QDir(outputFolder).absoluteFilePath(fileName)), stream);
}

LetterboxDrawing::LetterboxDrawing(DvdCopyOutput& copy, const QString& path, int stream)
    : copy_(copy), file_(path), stream_(stream) {}

SecondDrawing LetterboxDrawing::secondDrawing() {
    SecondDrawing drawing;
    drawing.settings = [](const RenderSettings& wide) {
        RenderSettings square = wide;
        square.wide = false;
        return square;
    };
    drawing.outputs = {&file_, copy_.letterboxInput()};
    return drawing;
}

QString LetterboxDrawing::report(const DvdCopyReport& copy) const {
    const auto id = [](int value) {
        return QStringLiteral("0x") +
               QString::number(value, 16).rightJustified(2, QLatin1Char('0'));
    };
    const AddedTitleStream added = copy.streams.value(stream_);
    return QStringLiteral(
               "The title is 16:9: wide screens show the subtitles' wide drawing (sub-stream %1), "
               "4:3 screens their letterbox drawing, with square pixels (sub-stream %2), also "
               "written as:\n%3\n")
        .arg(id(added.id), id(added.letterboxId),
             QDir::toNativeSeparators(file_.paths().constFirst()));
}

}  // namespace marvoxa
