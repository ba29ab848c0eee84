#include "ui/preview_pictures.h"

#include "common/frame.h"
#include "render/subtitle_raster.h"

#include <QFileInfo>

namespace marvoxa {

QImage BuiltInPreviewPicture(VideoStandard standard) {
    return QImage(standard == VideoStandard::Pal
                      ? QStringLiteral(":/main_window/PreviewPal720x576")
                      : QStringLiteral(":/main_window/PreviewNtsc720x480"));
}

QImage PreviewBackground(VideoStandard standard, const QString& userPicturePath) {
    QImage picture;
    if (!userPicturePath.isEmpty() && QFileInfo(userPicturePath).isFile()) {
        picture.load(userPicturePath);
    }
    if (picture.isNull()) {
        picture = BuiltInPreviewPicture(standard);
    }
    const QSize frameSize(kFrameWidth, FrameHeight(standard));
    if (picture.size() != frameSize) {
        picture = picture.scaled(frameSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return picture.convertToFormat(kFrameFormat);
}

void DrawPreviewLines(QImage& picture, const PlacedLines& cue, const RenderSettings& settings,
                      const RoleColours& colours) {
    const RasterizedCue subtitle = RasterizeCue(QList<PlacedLines>{cue}, settings);
    PaintRaster(picture, subtitle.raster, colours);
}

QPixmap ColourRolesLegend() {
    return QPixmap(QStringLiteral(":/main_window/colors"));
}

}  // namespace marvoxa
