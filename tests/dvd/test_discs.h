#pragma once

#include "dvd/title_set_info.h"
#include "dvd/vobu_walk.h"

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace marvoxa::test {

// A DVD folder built by the tests with ffmpeg, spumux and dvdauthor. Each is built once per
// test executable, on first use, and must not be changed: tests that damage a disc copy it.
struct TestDisc {
    bool built = false;  // false when a tool was missing or failed; that test has failed
    QString root;        // the folder that holds VIDEO_TS

    QString videoTs() const { return root + QStringLiteral("/VIDEO_TS"); }
    QString file(const QString& name) const { return videoTs() + QLatin1Char('/') + name; }
    QString ifo(int titleSet) const {
        return file(QStringLiteral("VTS_%1_0.IFO").arg(titleSet, 2, 10, QLatin1Char('0')));
    }
};

// PAL, 16:9. Title set 1 holds titles 1 and 2: title 1 plays a clip with a subtitle stream
// (English, two pictures) and chapters at 0, 1 and 2 s, then a second clip whose presentation
// times start again; title 2 plays a third clip with chapters at 0 and 1 s. Title set 2 holds
// title 3, a 4:3 clip.
const TestDisc& PalDisc();

// NTSC, 4:3, one title set: title 1 plays two clips, title 2 plays the second clip again, so
// dvdauthor gives both titles the same cells.
const TestDisc& NtscSharedDisc();

// NTSC, 4:3, no subtitles (dvdauthor's all-black palette): one title of 11 minutes in one VOB
// whose presentation times run on, with cells starting at 0, 2, 4, 6, 8 and 10 minutes.
const TestDisc& NtscLongDisc();

// PAL, 16:9: one title whose English stream has a wide (0x20) and a letterbox (0x21) variant.
const TestDisc& WideVariantsDisc();

// PAL, 16:9 with widescreen="nopanscan", no subtitles.
const TestDisc& WideNoPanScanDisc();

// The PAL disc with VTS_01_1.VOB cut in two at a sector inside a VOBU, the second part named
// VTS_01_2.VOB, as large title sets are on discs.
const TestDisc& PalSplitDisc();

// The sector of the PAL disc's title video at which PalSplitDisc's second file starts.
quint32 PalSplitSector();

// Copies the disc's VIDEO_TS folder into into/VIDEO_TS and returns into as a disc; lowerCase
// names the folder and its files as some file systems give them (video_ts/vts_01_0.ifo).
TestDisc CopyDisc(const TestDisc& disc, const QTemporaryDir& into, bool lowerCase = false);

// A title set of a test disc as the reading gives it: its files, its IFO and its VOBUs.
struct ReadTitleSet {
    DvdFolder folder;
    TitleSetInfo info;
    QList<VobuEntry> vobus;
};

// Reads the set; a failure fails the current test and gives nothing.
std::optional<ReadTitleSet> ReadWholeSet(const TestDisc& disc, int set);

}  // namespace marvoxa::test
