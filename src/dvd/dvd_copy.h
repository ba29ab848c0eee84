#pragma once

#include "common/result.h"
#include "dvd/dvd_target.h"
#include "dvd/subpicture_placement.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QTemporaryDir;

namespace marvoxa {

struct DvdCopyRequest {
    const DvdTarget* target = nullptr;
    QString language;     // two letters, for the new stream
    QString destination;  // the folder that receives VIDEO_TS
    QList<TitleSubpicture> units;
    // Told how far the copy has come; returning false stops it, and nothing is left behind.
    std::function<bool(qint64 done, qint64 total)> progress;
};

struct DvdCopyReport {
    QString videoTs;  // where the copy goes on commit
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
    std::unique_ptr<QTemporaryDir> folder_;
    QString target_;
};

// The command that makes a DVD image of the folder holding a VIDEO_TS, for the report.
QString DvdIsoCommand(const QString& videoTs);

}  // namespace marvoxa
