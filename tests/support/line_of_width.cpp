#include "line_of_width.h"

#include "render/subtitle_font.h"

#include <gtest/gtest.h>

namespace marvoxa::test {

QString LineOfWidth(const QFont& font, int width) {
    // Wide and narrow letters combined until the measure hits the width exactly.
    const QString wide = QStringLiteral("m");
    for (QChar narrow : {QLatin1Char('i'), QLatin1Char('l'), QLatin1Char('.'), QLatin1Char('1')}) {
        for (int wideCount = 0; wideCount < 80; ++wideCount) {
            for (int narrowCount = 0; narrowCount < 40; ++narrowCount) {
                const QString line = wide.repeated(wideCount) + QString(narrowCount, narrow);
                if (MeasureLine(font, line).width == width) {
                    return line;
                }
            }
        }
    }
    ADD_FAILURE() << "no line of width " << width;
    return {};
}

}  // namespace marvoxa::test
