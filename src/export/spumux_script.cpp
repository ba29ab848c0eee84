#include "export/spumux_script.h"

namespace marvoxa {

namespace {

QString XmlAttribute(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

QString SpumuxTime(qint64 milliseconds) {
    const qint64 hundredths = (milliseconds + 5) / 10;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(hundredths / 360'000, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QByteArray SpumuxScriptHead() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<subpictures>\n"
           "  <stream>\n";
}

QByteArray SpumuxScriptEntry(qint64 startMs, qint64 durationMs, const QString& picturePath,
                             int xOffset, int yOffset, bool forced) {
    return QStringLiteral(
               "    <spu start=\"%1\" end=\"%2\" image=\"%3\" xoffset=\"%4\" "
               "yoffset=\"%5\"%6/>\n")
        .arg(SpumuxTime(startMs), SpumuxTime(startMs + durationMs), XmlAttribute(picturePath))
        .arg(xOffset)
        .arg(yOffset)
        .arg(forced ? QLatin1String(" force=\"yes\"") : QLatin1String(""))
        .toUtf8();
}

QByteArray SpumuxScriptTail() {
    return "  </stream>\n"
           "</subpictures>\n";
}

}  // namespace marvoxa
