#pragma once

#include "palette/palette.h"
#include "sup/cue_output.h"
#include "sup/file_writing.h"

#include <QString>

#include <array>
#include <memory>

class QTemporaryDir;

namespace marvoxa {

// Writes Generated_spumux.xml and, in the folder Generated_spumux, one PNG picture per cue:
// what spumux needs to put the subtitles into a DVD's video. Each picture shows exactly the
// pixels of the cue's subpicture unit, in colours from which spumux makes the palette
// entries' own Y Cr Cb, so the DVD that dvdauthor builds carries the palette too.
class SpumuxOutput : public CueOutput {
public:
    // With a tag, the files of one of several streams: Generated_spumux.TAG.xml and the
    // folder Generated_spumux.TAG.
    SpumuxOutput(const QString& folder, const Palette& palette, bool forced = false,
                 const QString& tag = {});
    ~SpumuxOutput() override;

    Status begin() override;
    Status add(const EncodedCue& cue) override;
    Status finish() override;
    // The picture folder, which replaces the older one whole, then the script.
    Status commit() override;
    void discard() override;
    QStringList paths() const override;

    // "Generated_spumux/0001.png": how the script names the picture of a cue (index from 0).
    static QString PictureName(int cueIndex);

    // The script's file name, as the report and the dvdauthor commands name it.
    QString scriptName() const;

private:
    QString folder_;
    QString picturesName_;  // the picture folder's name
    bool forced_;
    std::array<QRgb, kPaletteSize> entryColours_;
    AtomicFile script_;
    std::unique_ptr<QTemporaryDir> pictures_;  // the new folder, until commit() moves it
    QStringList picturePaths_;
};

}  // namespace marvoxa
