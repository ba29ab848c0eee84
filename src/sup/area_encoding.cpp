#include "sup/area_encoding.h"

#include "common/frame.h"
#include "sup/row_encoding.h"
#include "sup/row_runs.h"

namespace marvoxa {

namespace {

constexpr int kBytesPerPixel = 3;

Error OutsideFrameError(int firstRow, int lastRow, int frameHeight) {
    if (firstRow < 0) {
        return {ErrorKind::Limit,
                QStringLiteral("its rows %1 to %2 reach above the top of the %3-row picture. "
                               "Lower the bottom offset or use a smaller font.")
                    .arg(firstRow)
                    .arg(lastRow)
                    .arg(frameHeight)};
    }
    return {ErrorKind::Limit,
            QStringLiteral("its rows %1 to %2 reach below the bottom of the %3-row picture "
                           "(the last row is %4). Raise the bottom offset.")
                .arg(firstRow)
                .arg(lastRow)
                .arg(frameHeight)
                .arg(frameHeight - 1)};
}

}  // namespace

std::optional<Error> AreaOutsideFrame(int AreaTop, int AreaHeight, int frameHeight) {
    const int lastRow = AreaTop + AreaHeight - 1;
    if (AreaHeight > 0 && (AreaTop < 0 || lastRow >= frameHeight)) {
        return OutsideFrameError(AreaTop, lastRow, frameHeight);
    }
    return std::nullopt;
}

Result<FieldData> EncodeArea(const QImage& frame, int AreaTop, int AreaHeight,
                             const RoleColours& roles) {
    Q_ASSERT(AreaTop % 2 == 0);
    Q_ASSERT(AreaHeight >= 0);
    if (std::optional<Error> outside = AreaOutsideFrame(AreaTop, AreaHeight, frame.height())) {
        return *outside;
    }
    const int lastRow = AreaTop + AreaHeight - 1;

    const QImage rgb = frame.format() == kFrameFormat ? frame : frame.convertToFormat(kFrameFormat);
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * kBytesPerPixel;
    FieldData fields;
    RowRuns runs;
    for (int row = AreaTop; row <= lastRow; ++row) {
        QByteArray& field = row % 2 == 0 ? fields.top : fields.bottom;
        BuildRowRuns({rgb.constScanLine(row), rowBytes}, roles, runs);
        AppendEncodedRow(runs, field);
    }
    return fields;
}

}  // namespace marvoxa
