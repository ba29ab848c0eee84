#pragma once

#include "common/result.h"
#include "dvd/dvd_copy_output.h"
#include "dvd/dvd_target.h"
#include "dvd/letterbox_drawing.h"
#include "palette/palette_state.h"
#include "ui/options_dialog.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace marvoxa {

// The titles of the DVD whose title set IFO lies at ifoPath, longest first; none when the IFO
// lies in no complete VIDEO_TS folder or its set cannot take one more stream.
QList<DvdTitleOption> DvdTitleOptions(const QString& ifoPath);

// The titles the Options dialog offers: the loaded DVD's while its IFO is the one in use (its
// palette, or the generic one standing in for it); none while no IFO is loaded, or the no-IFO
// box was ticked after loading it.
QList<DvdTitleOption> OfferedDvdTitles(const PaletteState& palette,
                                       const QList<DvdTitleOption>& loadedTitles);

// Where the copy of the DVD whose title set IFO lies at ifoPath goes unless the user chooses:
// beside the DVD's folder, named after it, "/films/MyFilm with subtitles" for
// /films/MyFilm/VIDEO_TS, so that the folder holds the copy alone.
QString DefaultDvdCopyFolder(const QString& ifoPath);

// The choices as the Options dialog shows them while offeredTitles are the loaded DVD's titles
// (none when no usable title set is in use): adding to the DVD ticked only when it is offered,
// a title among those offered, and the copy's folder filled in. Generation acts on these, never
// on a stored choice the dialog cannot show.
OptionsChoices ShownOptions(const OptionsChoices& stored,
                            const QList<DvdTitleOption>& offeredTitles, const QString& ifoPath);
// What is kept of choices made in a dialog that showed shown: a folder left at its default is
// not stored, so that it follows the next DVD; the DVD choices stay as stored while no DVD
// could be chosen.
OptionsChoices StoredOptions(const OptionsChoices& chosen, const OptionsChoices& stored,
                             const QList<DvdTitleOption>& offeredTitles, const QString& ifoPath);

// The window's side of adding the stream to the loaded IFO's DVD: the DVD opened for the
// chosen title and generation's output that writes the copy beside Generated.sup.
class WindowDvdCopy {
public:
    // Fails with the message to show when the DVD cannot take the stream. choices are the
    // shown ones: the copy goes into their folder. drawnIn is the palette the subtitles are
    // drawn in. With languages, several streams go into the copy, one a language, their
    // messages naming their files (sources); without, the one stream in the dialog's language.
    static Result<std::unique_ptr<WindowDvdCopy>> Open(const QString& ifoPath,
                                                       const OptionsChoices& choices,
                                                       const Palette& drawnIn,
                                                       const QStringList& languages = {},
                                                       const QStringList& sources = {});

    // A folder made for a copy that was cancelled or refused is not left behind empty.
    ~WindowDvdCopy();
    WindowDvdCopy(const WindowDvdCopy&) = delete;
    WindowDvdCopy& operator=(const WindowDvdCopy&) = delete;

    // Adds the copy to generation's outputs and, for a 16:9 title drawn wide, the letterbox
    // drawing as its second drawing, written beside the stream in streamFolder too.
    void addTo(GenerationRequest& request, const RenderSettings& settings,
               const QString& streamFolder);
    // The copy as an output of its own, for several streams; each stream's request then gets
    // its letterbox drawing, if the title has one, with addLetterboxTo.
    CueOutput* output() { return output_.get(); }
    void addLetterboxTo(GenerationRequest& request, const RenderSettings& settings,
                        const QString& streamFolder, int stream, const QString& fileName);
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
    QString folder_;
    bool folderExisted_ = true;
    std::unique_ptr<DvdCopyOutput> output_;
    std::vector<std::unique_ptr<LetterboxDrawing>> letterboxes_;
};

// The help lines of a copy, or none without one.
QStringList DvdCopyHelpLines(const WindowDvdCopy* copy);

}  // namespace marvoxa
