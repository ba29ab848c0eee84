#include "render/font_fallback_warnings.h"

#include <QString>
#include <QtGlobal>

namespace marvoxa {

namespace {

QtMessageHandler previousHandler = nullptr;

void DropFontFallbackWarnings(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    if (type == QtWarningMsg && message.contains(QLatin1String("OpenType support missing for"))) {
        return;
    }
    previousHandler(type, context, message);
}

}  // namespace

void QuietFontFallbackWarnings() {
    if (previousHandler == nullptr) {
        previousHandler = qInstallMessageHandler(DropFontFallbackWarnings);
    }
}

}  // namespace marvoxa
