#include "ui/subtitle_track_choice.h"

#include "subtitles/subtitle_loader.h"
#include "ui/prompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>

namespace marvoxa {

std::optional<int> AskSubtitleTrack(Prompts& prompts, QWidget* parent, const QString& path) {
    const QList<MediaTrack> tracks = TextTracksToChooseFrom(path);
    if (tracks.size() < 2) {
        return 0;
    }
    QStringList labels;
    for (const MediaTrack& track : tracks) {
        labels << SubtitleTrackLabel(track);
    }
    const std::optional<int> chosen =
        prompts.chooseSubtitleTrack(parent, QFileInfo(path).fileName(), labels);
    if (!chosen || *chosen < 0 || *chosen >= tracks.size()) {
        return std::nullopt;
    }
    return tracks[*chosen].subtitleNumber;
}

std::unique_ptr<QInputDialog> MakeTrackDialog(QWidget* parent, const QString& fileName,
                                              const QStringList& tracks) {
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setWindowTitle(QApplication::applicationDisplayName());
    dialog->setLabelText(
        QStringLiteral("%1 has %2 text subtitle tracks.\nWhich one should be loaded?")
            .arg(fileName)
            .arg(tracks.size()));
    dialog->setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog->setComboBoxItems(tracks);
    dialog->setTextValue(tracks.value(0));
    return dialog;
}

}  // namespace marvoxa
