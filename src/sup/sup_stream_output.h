#pragma once

#include "sup/cue_output.h"
#include "sup/file_writing.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace marvoxa {

// Generated.sup written packet by packet as cues are finished, so the stream never has to fit
// in memory. The file at the path changes only on commit(); a failure or discard() leaves the
// stream written before intact.
class SupStreamOutput : public CueOutput {
public:
    explicit SupStreamOutput(const QString& path);

    Status begin() override;
    Status add(const EncodedCue& cue) override;
    Status finish() override;
    Status commit() override;
    void discard() override;
    QStringList paths() const override { return {file_.path()}; }

private:
    // Writes what is gathered; packets go out in pieces of some ten kilobytes, not one by one.
    Status writePending();

    AtomicFile file_;
    QByteArray pending_;
};

}  // namespace marvoxa
