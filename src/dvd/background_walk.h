#pragma once

#include "common/result.h"
#include "dvd/dvd_folder.h"
#include "dvd/vobu_walk.h"

#include <QList>
#include <QtGlobal>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace marvoxa {

// The walk of a set's title video on a thread of its own, so that the copy can be written
// behind it while the disk still reads ahead: reading and writing then overlap.
class BackgroundWalk {
public:
    // Starts reading at once.
    explicit BackgroundWalk(const DvdFolder& folder);
    // Stops the walk if it still runs and waits for its thread.
    ~BackgroundWalk();
    BackgroundWalk(const BackgroundWalk&) = delete;
    BackgroundWalk& operator=(const BackgroundWalk&) = delete;

    struct Progress {
        quint32 sectorsRead = 0;
        bool finished = false;
    };
    // Waits until at least sectors have been read or the walk has ended, or for at most a
    // tenth of a second, and tells how far it has come.
    Progress waitFor(quint32 sectors);

    // The SCRs of the sectors read so far (27 MHz); only those below sectorsRead are set.
    const std::vector<qint64>& clocks() const { return clocks_; }
    // The VOBUs found so far, in sector order.
    QList<VobuEntry> vobus();

    // Once finished: what the existing subpicture streams of the video use.
    const SubpictureSurvey& survey() const { return survey_; }

    // Asks the walk to stop at its next run of sectors.
    void cancel();

    // Once finished: the walk's outcome, as WalkTitleVobus gives it.
    Result<QList<VobuEntry>> result();

private:
    std::vector<qint64> clocks_;
    SubpictureSurvey survey_;
    std::mutex mutex_;
    std::condition_variable changed_;
    QList<VobuEntry> found_;
    quint32 sectorsRead_ = 0;
    bool cancelled_ = false;
    std::optional<Result<QList<VobuEntry>>> result_;
    std::thread thread_;
};

}  // namespace marvoxa
