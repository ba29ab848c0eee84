#pragma once

#include <QFileInfo>
#include <QString>

#include <array>

namespace marvoxa {

// The kinds of file the main window's dialogs open; each kind keeps its own folder.
enum class FileKind { Ifo, Subtitle, Picture };

// The folder each kind of file was last opened from, so that its dialog opens there again:
// IFOs mostly lie on a DVD, subtitles beside the film.
class LastFolders {
public:
    // Empty before the first file of the kind: the dialog's own choice.
    QString of(FileKind kind) const { return folders_[static_cast<size_t>(kind)]; }
    void remember(FileKind kind, const QString& filePath) {
        folders_[static_cast<size_t>(kind)] = QFileInfo(filePath).absolutePath();
    }

private:
    std::array<QString, 3> folders_;
};

}  // namespace marvoxa
