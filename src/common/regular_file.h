#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace marvoxa {

// %1: the path. A FIFO, a device or a folder has no end to read up to, or none at all.
inline QString NotRegularFileMessage(const QString& path) {
    return QStringLiteral("%1 is not a regular file.").arg(path);
}

// The outcome of opening an input file: a descriptor of a regular file, or why there is none.
struct OpenedInput {
    int descriptor = -1;
    int errorNumber = 0;      // set when the file could not be opened
    bool notRegular = false;  // opened, but a FIFO, device or folder: already closed again
};

// Opens path read-only without waiting for a writer (a FIFO would block the open itself), then
// refuses anything that is not a regular file before a single byte is read.
inline OpenedInput OpenRegularFileForReading(const QString& path) {
    OpenedInput opened;
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        opened.errorNumber = errno;
        return opened;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        opened.notRegular = true;
        return opened;
    }
    // Reads of a regular file never block; clearing the flag keeps later reads ordinary.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    opened.descriptor = descriptor;
    return opened;
}

}  // namespace marvoxa
