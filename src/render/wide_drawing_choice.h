#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace marvoxa {

// Which screen the subtitles are drawn for.
enum class AspectChoice {
    FromIfo,      // wide when the IFO's video is 16:9, else square
    FourByThree,  // square pixels, as for a 4:3 picture, whatever the IFO says
    Wide,         // for a 16:9 anamorphic picture, also without an IFO
};

// "auto", "4:3", "16:9": the converter's --aspect values and the settings file's, in the order
// of AspectChoice.
const QStringList& AspectChoiceNames();
std::optional<AspectChoice> AspectChoiceFromName(const QString& name);

// Whether cues are drawn wide (RenderSettings::wide) for the choice and the IFO's video.
bool DrawsWide(AspectChoice choice, bool ifoVideoWide);

// Said when the IFO's 16:9 video, not the user's choice, makes the drawing wide; else none.
std::optional<QString> IfoWideNotice(AspectChoice choice, bool ifoVideoWide);

}  // namespace marvoxa
