#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"
#include "dvd/subpicture_placement.h"
#include "dvd/subpicture_survey.h"
#include "dvd/title_set_info.h"
#include "dvd/title_timeline.h"

#include <QString>

#include <functional>

namespace marvoxa {

// Reads a set's title video once, on a thread of its own, checking every pack, and writes its
// copy into folder behind the reading: each cell's units are placed as soon as its video has
// been read, and the copy goes as far as the units placed allow, so reading and writing
// overlap. Each NAV pack is rewritten once every address it names has its place. timeline is the
// layout of the title that placer places units in; its cells get their VOBUs here. advance is told
// of every byte read and every byte copied and stops everything when it returns false
// (ErrorKind::Cancelled). Fails as the walk, the timeline, the placement and the writing do, and
// (ErrorKind::Format) when the IFO's VOBU address map disagrees with the NAV packs. subStreams
// are the new ones the placer fills; survey receives what the existing streams use.
Result<SubpicturePlacement> CopyTitleVideo(const DvdFolder& source, const TitleSetInfo& info,
                                           TitleTimeline& timeline, SubpicturePlacer& placer,
                                           const QList<int>& subStreams, const QString& folder,
                                           const std::function<bool(qint64 bytes)>& advance,
                                           SubpictureSurvey& survey);

}  // namespace marvoxa
