#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QInputDialog;
class QWidget;

namespace marvoxa {

class Prompts;

// The subtitle track to load from the file at path, counting from 1 among its subtitle tracks:
// 0 (loading takes the first text track, or explains why there is none) unless the file is a
// video with several text tracks, when the user chooses among them; nothing when the user
// cancels.
std::optional<int> AskSubtitleTrack(Prompts& prompts, QWidget* parent, const QString& path);

// The question of AskSubtitleTrack: a list of the tracks, the first one selected.
std::unique_ptr<QInputDialog> MakeTrackDialog(QWidget* parent, const QString& fileName,
                                              const QStringList& tracks);

}  // namespace marvoxa
