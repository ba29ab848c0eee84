#pragma once

#include "subtitles/text_decoding.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <vector>

namespace marvoxa {

// One subtitle. Text fields hold the file's bytes exactly as read: no trimming, no markup removal,
// no character-set conversion (DecodeCueText does that when the text is drawn or measured).
struct Cue {
    qint32 startMs = 0;
    // End minus start; never checked, so it may be zero or negative.
    qint32 durationMs = 0;
    QByteArray firstLine;
    // Empty when the cue has one line.
    QByteArray secondLine;
    // What the cue selector shows for the cue.
    QByteArray displayEntry;

    friend bool operator==(const Cue&, const Cue&) = default;
};

// The loaded subtitles in file order; nothing is sorted, merged or de-duplicated.
struct CueList {
    std::vector<Cue> cues;
    // The file's lines before parsing, without their terminators.
    QList<QByteArray> rawLines;
    TextEncoding encoding = TextEncoding::Legacy;
    // SRT, WebVTT and ASS: each cue's text lines after the second, as read, by cue position (empty
    // when the file had none, and ending with the last cue that has any); drawn only when all lines
    // are asked for.
    std::vector<QList<QByteArray>> furtherLines;
    // Read from a SUB/TXT file: "|" separates lines and MicroDVD control codes may appear.
    bool frameNumbered = false;
};

}  // namespace marvoxa
