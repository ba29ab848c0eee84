#include "sup/sup_stream_output.h"

namespace marvoxa {

namespace {

constexpr qsizetype kWriteSize = 64 * 1024;

}  // namespace

SupStreamOutput::SupStreamOutput(const QString& path) : file_(path) {}

Status SupStreamOutput::begin() {
    pending_.resize(0);
    pending_.reserve(kWriteSize + 4096);
    return file_.open();
}

Status SupStreamOutput::add(const EncodedCue& cue) {
    pending_ += cue.supPacket;
    return pending_.size() >= kWriteSize ? writePending() : Ok();
}

Status SupStreamOutput::writePending() {
    const Status written = file_.write(pending_);
    pending_.resize(0);  // keeps the room for the next piece
    return written;
}

Status SupStreamOutput::finish() {
    if (Status written = writePending(); !written) {
        return written;
    }
    return file_.finish();
}

Status SupStreamOutput::commit() {
    return file_.commit();
}

void SupStreamOutput::discard() {
    pending_.resize(0);
    file_.discard();
}

}  // namespace marvoxa
