#pragma once

#include "common/result.h"
#include "dvd/dvd_copy_output.h"
#include "dvd/dvd_target.h"
#include "ui/options_dialog.h"

#include <QList>
#include <QString>

#include <memory>

namespace marvoxa {

// The titles of the DVD whose title set IFO lies at ifoPath, longest first; none when the IFO
// lies in no complete VIDEO_TS folder or its set cannot take one more stream.
QList<DvdTitleOption> DvdTitleOptions(const QString& ifoPath);

// The window's side of adding the stream to the loaded IFO's DVD: the DVD opened for the
// chosen title and generation's output that writes the copy beside Generated.sup.
class WindowDvdCopy {
public:
    // Fails with the message to show when the DVD cannot take the stream. drawnIn is the
    // palette the subtitles are drawn in.
    // With languages, several streams go into the copy, one a language, their messages naming
    // their files (sources); without, the one stream in the dialog's language.
    static Result<std::unique_ptr<WindowDvdCopy>> Open(
        const QString& ifoPath, const OptionsChoices& choices, const QString& outputFolder,
        const Palette& drawnIn, const QStringList& languages = {}, const QStringList& sources = {});

    CueOutput* output() { return output_.get(); }
    void setProgress(std::function<bool(qint64 done, qint64 total)> progress) {
        output_->setProgress(std::move(progress));
    }

    // Said before generating when the title's palette is not the loaded one; else empty.
    QString paletteNotice() const;
    // Said after generating: where the copy is, the ISO command and any cues left out.
    QString report() const;
    // After generating: what the help file and the completion message say of the copy.
    QStringList helpLines() const;

private:
    explicit WindowDvdCopy(DvdTarget target) : target_(std::move(target)) {}

    DvdTarget target_;
    QStringList languages_;
    std::unique_ptr<DvdCopyOutput> output_;
};

// The help lines of a copy, or none without one.
QStringList DvdCopyHelpLines(const WindowDvdCopy* copy);

}  // namespace marvoxa
