// The IFO reader on arbitrary files: a refusal or a palette, never a crash or a hang.
#include "palette/ifo_reader.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("VTS_01_0.IFO"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        __builtin_trap();
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    const marvoxa::Result<marvoxa::IfoPaletteData> read = marvoxa::ReadIfoPalette(path);
    return read.ok() || !read.error().message.isEmpty() ? 0 : -1;
}
