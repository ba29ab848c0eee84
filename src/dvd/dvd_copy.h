#pragma once

#include "common/result.h"
#include "dvd/dvd_target.h"
#include "dvd/subpicture_placement.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryDir;

namespace marvoxa {

struct SetSubpictureUse;

// One subtitle stream to add to the title.
struct NewTitleStream {
    QString language;              // two letters
    QList<TitleSubpicture> units;  // drawn for the title's shape (wide on a 16:9 title)
    // A second drawing for 4:3 screens that show the wide film letterboxed; empty when none.
    QList<TitleSubpicture> letterboxUnits;
    // The colours the units' colour indexes were drawn in (0x00YYCrCb per entry); none when
    // they name the title palette's entries as they stand.
    std::optional<std::array<quint32, 16>> palette;
};

struct DvdCopyRequest {
    const DvdTarget* target = nullptr;
    QList<NewTitleStream> streams;  // each becomes the next stream number of the set
    QString destination;            // the folder that receives VIDEO_TS
    // Told how far the copy has come; returning false stops it, and nothing is left behind.
    std::function<bool(qint64 done, qint64 total)> progress;
};

// Where one new stream went.
struct AddedTitleStream {
    int number = 0;        // in the set's stream table, from 0
    int id = 0;            // the sub-stream id of its packs (0x20 to 0x3f)
    int letterboxId = -1;  // of its letterbox drawing; -1 when it has none
};

struct DvdCopyReport {
    QString videoTs;  // where the copy goes on commit
    QList<AddedTitleStream> streams;
    QList<int> writtenPaletteEntries;      // the title palette's entries given new colours, from 0
    QList<quint32> writtenPaletteColours;  // 0x00YYCrCb, one for each of them
    int unitsAdded = 0;
    int afterEnd = 0;  // units left out: the title ends before them
    QString firstAfterEnd;
};

// A copy of a finished DVD with one more subtitle stream in one title: the title video with
// the stream's packs added and its NAV packs rewritten, the set's IFO and VIDEO_TS.IFO
// rewritten with their BUPs, every other file as it was. It is made in a hidden folder beside
// destination/VIDEO_TS, which only commit() puts in place, so a failure or discard() leaves no
// part of it behind, and an older VIDEO_TS there is replaced in one step. The source is only
// read.
class DvdCopy {
public:
    DvdCopy();
    ~DvdCopy();
    DvdCopy(const DvdCopy&) = delete;
    DvdCopy& operator=(const DvdCopy&) = delete;

    Result<DvdCopyReport> write(const DvdCopyRequest& request);
    Status commit();
    void discard();

private:
    // One try with what is known of the set's use of sub-streams and palette entries; when the
    // video shows more, fails with found set, having written nothing.
    Result<DvdCopyReport> writeOnce(const DvdCopyRequest& request, const SetSubpictureUse& use,
                                    std::optional<SetSubpictureUse>& found);

    std::unique_ptr<QTemporaryDir> folder_;
    QString target_;
};

// The command that makes a DVD image of the folder holding a VIDEO_TS, for the report.
QString DvdIsoCommand(const QString& videoTs);

}  // namespace marvoxa
