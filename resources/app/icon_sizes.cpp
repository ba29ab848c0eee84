// Writes the application icon in the sizes of the desktop's hicolor theme, from the one drawn
// icon: FOLDER/<N>x<N>/marvoxa.png for each size N.
// Usage: marvoxa_icon_sizes ICON.png FOLDER N...

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "Usage: %s ICON.png FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || icon.width() != icon.height()) {
        std::fprintf(stderr, "%s: %s is no square picture\n", argv[0], argv[1]);
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1) {
            std::fprintf(stderr, "%s: %s is no size\n", argv[0], argv[i]);
            return 2;
        }
        // The icon is drawn from whole pixels: whole multiples keep its edges sharp, smaller
        // sizes average the pixels each new one covers.
        const Qt::TransformationMode mode =
            size % icon.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
        const QImage scaled = icon.convertToFormat(QImage::Format_ARGB32)
                                  .scaled(size, size, Qt::IgnoreAspectRatio, mode);
        const QString sized = QStringLiteral("%1x%1").arg(size);
        if (!folder.mkpath(sized) ||
            !scaled.save(folder.filePath(sized + QStringLiteral("/marvoxa.png")), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %dx%d icon in %s\n", argv[0], size, size,
                         argv[2]);
            return 1;
        }
    }
    return 0;
}
