#pragma once

#include "dvd/dvd_copy.h"
#include "palette/palette.h"
#include "sup/cue_output.h"

#include <functional>

namespace marvoxa {

// Generation's output that adds the stream to a copy of the DVD: it keeps every subpicture
// unit as Generated.sup holds it and, once the last is in, writes the copy beside the
// destination's VIDEO_TS; commit() puts it in place with the other outputs. The colours of
// drawnIn that the units name and the title's palette lacks are written into the copy.
class DvdCopyOutput : public CueOutput {
public:
    DvdCopyOutput(const DvdTarget& target, const QString& language, const QString& destination,
                  const Palette& drawnIn);
    // Several streams in one copy, one a language, fed stream after stream; a unit's messages
    // name its stream's file, from sources.
    DvdCopyOutput(const DvdTarget& target, const QStringList& languages, const QStringList& sources,
                  const QString& destination, const Palette& drawnIn);

    // Told how far the copy has come; returning false stops it.
    void setProgress(std::function<bool(qint64 done, qint64 total)> progress) {
        progress_ = std::move(progress);
    }

    Status begin() override;
    Status add(const EncodedCue& cue) override;
    Status finish() override;
    Status commit() override;
    void discard() override;
    QStringList paths() const override;

    // After finish(): what went into the copy.
    const DvdCopyReport& report() const { return report_; }

    // Takes the letterbox drawing of the same cues, for a 16:9 title's letterbox sub-stream;
    // generation fills it with its second drawing. Without it the stream has one drawing.
    CueOutput* letterboxInput() { return &letterbox_; }

private:
    // Keeps the units of one drawing as the copy takes them.
    class UnitList : public CueOutput {
    public:
        Status begin() override {
            clear();
            return Ok();
        }
        Status add(const EncodedCue& cue) override;
        Status finish() override { return Ok(); }
        Status commit() override { return Ok(); }
        void discard() override {}
        QStringList paths() const override { return {}; }

        void clear();

        qsizetype streams = 1;
        QStringList sources;                  // a unit's messages name its stream's file
        QList<QList<TitleSubpicture>> units;  // a stream each
    };

    const DvdTarget& target_;
    QStringList languages_;
    QString destination_;
    std::array<quint32, kPaletteSize> colours_{};
    UnitList units_;
    UnitList letterbox_;
    std::function<bool(qint64, qint64)> progress_;
    DvdCopy copy_;
    DvdCopyReport report_;
};

}  // namespace marvoxa
