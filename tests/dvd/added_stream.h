#pragma once

#include "test_discs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace marvoxa::test {

// What the converter did when asked to add a stream to a DVD.
struct ConverterRun {
    int exitStatus = -1;
    QString out;
    QString err;
};

// Converts srt (written into outputFolder as cues.srt) with --into-dvd for the title set IFO,
// in German, writing into outputFolder; more arguments go before the subtitle file.
ConverterRun AddStream(const QString& ifo, const QString& outputFolder, const QByteArray& srt,
                       const QStringList& moreArguments = {});

// Four cues for the PAL disc's title 1: in its first cell, across a cell edge, in the clip
// whose times restart, and after the title's end. Each fits one pack: HandBrake 1.6 times a
// unit of several packs wrongly, spumux's own as well.
extern const QByteArray kPalCues;

// The PAL disc with kPalCues added to title 1 as a German stream, made once: root holds
// VIDEO_TS, Generated.sup and cues.srt.
const TestDisc& PalDiscWithAddedStream();
const ConverterRun& PalAddedRun();

}  // namespace marvoxa::test
