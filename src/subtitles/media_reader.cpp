#include "subtitles/media_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <mutex>

namespace marvoxa {
namespace {

using ReadTracks = void (*)(const QString&, Result<QList<MediaTrack>>*);
using ReadSubtitles = void (*)(const QString&, int, MarkupMode, CueReading*);

// The libav module's entry points, or why it could not be loaded.
struct MediaModule {
    ReadTracks readTracks = nullptr;
    ReadSubtitles readSubtitles = nullptr;
    QString failure;
};

// Installed, the module lies beside the programs' folder (../lib/marvoxa under /usr); in the
// build tree it stays where it was built.
QStringList ModuleCandidates() {
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return {QDir(QFileInfo(program).path())
                .filePath(QStringLiteral(MARVOXA_MEDIA_MODULE_FROM_PROGRAMS)),
            QStringLiteral(MARVOXA_MEDIA_MODULE_BUILT)};
}

const MediaModule& LoadedModule() {
    static MediaModule module;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        QStringList reasons;
        for (const QString& path : ModuleCandidates()) {
            if (!QFileInfo::exists(path)) {
                reasons << QStringLiteral("%1 is missing").arg(QDir::toNativeSeparators(path));
                continue;
            }
            QLibrary library(path);
            // Never unloaded: its functions are called until the program ends.
            if (!library.load()) {
                reasons << library.errorString();
                continue;
            }
            module.readTracks =
                reinterpret_cast<ReadTracks>(library.resolve("marvoxa_read_media_tracks"));
            module.readSubtitles =
                reinterpret_cast<ReadSubtitles>(library.resolve("marvoxa_read_media_subtitles"));
            if (module.readTracks != nullptr && module.readSubtitles != nullptr) {
                return;
            }
            reasons << library.errorString();
        }
        module.failure = QStringLiteral(
                             "Subtitle tracks of videos cannot be read: the part of "
                             "Marvoxa that reads them could not be loaded (%1). "
                             "Install Marvoxa again.")
                             .arg(reasons.join(QStringLiteral("; ")));
    });
    return module;
}

Error ModuleError(const MediaModule& module) {
    return Error{ErrorKind::Io, module.failure};
}

}  // namespace

bool IsMediaFileName(const QString& fileName) {
    static const QStringList kExtensions{
        QStringLiteral("mkv"), QStringLiteral("mka"), QStringLiteral("mks"),  QStringLiteral("mp4"),
        QStringLiteral("m4v"), QStringLiteral("mov"), QStringLiteral("webm"), QStringLiteral("ts")};
    return kExtensions.contains(QFileInfo(fileName).suffix(), Qt::CaseInsensitive);
}

Result<QList<MediaTrack>> ReadMediaTracks(const QString& path) {
    const MediaModule& module = LoadedModule();
    if (module.readTracks == nullptr) {
        return ModuleError(module);
    }
    Result<QList<MediaTrack>> tracks = QList<MediaTrack>{};
    module.readTracks(path, &tracks);
    return tracks;
}

CueReading ReadMediaSubtitles(const QString& path, int track, MarkupMode markup) {
    const MediaModule& module = LoadedModule();
    CueReading reading;
    if (module.readSubtitles == nullptr) {
        reading.error = ModuleError(module);
        return reading;
    }
    module.readSubtitles(path, track, markup, &reading);
    return reading;
}

}  // namespace marvoxa
