#pragma once

#include "common/result.h"
#include "render/text_options.h"
#include "subtitles/cue_list.h"
#include "ui/more_streams_list.h"

#include <QList>
#include <QString>

#include <vector>

namespace marvoxa {

// A further subtitle file of the Options dialog, read for generation.
struct FurtherStream {
    QString path;
    QString language;  // as given, or from the file's name
    CueList cueList;
};

// The rows that name a file, in order.
QList<StreamChoice> FilledStreams(const QList<StreamChoice>& rows);

// Reads every further file (a video's first text track) with its language. A file without a
// language given or in its name, or one that cannot be read, refuses them all; the message
// names it. Languages are checked before any file is read.
Result<std::vector<FurtherStream>> LoadFurtherStreams(const QList<StreamChoice>& streams,
                                                      MarkupMode markup);

}  // namespace marvoxa
