#include "export/stream_set_outputs.h"

#include "export/dvd_commands.h"
#include "export/output_names.h"
#include "export/spumux_output.h"
#include "export/vobsub_output.h"
#include "pgs/pgs_output.h"
#include "sup/file_writing.h"
#include "sup/generation.h"
#include "sup/stream_tags.h"

#include <QDir>

namespace marvoxa {

namespace {

// Generated_dvdauthor.xml, written with the other files and put in place with them.
class DvdauthorProjectOutput : public CueOutput {
public:
    DvdauthorProjectOutput(const QString& folder, QByteArray content)
        : file_(OutputPath(folder, kDvdauthorProjectFileName)), content_(std::move(content)) {}

    Status begin() override { return file_.open(); }
    Status add(const EncodedCue&) override { return Ok(); }
    Status finish() override {
        if (Status written = file_.write(content_); !written) {
            return written;
        }
        return file_.finish();
    }
    Status commit() override { return file_.commit(); }
    void discard() override { file_.discard(); }
    QStringList paths() const override { return {file_.path()}; }

private:
    AtomicFile file_;
    QByteArray content_;
};

}  // namespace

std::vector<CueOutput*> StreamSetOutputs::ofStream(size_t stream) const {
    std::vector<CueOutput*> outputs;
    for (const auto* perStream : {&spumux, &pgs}) {
        if (stream < perStream->size()) {
            outputs.push_back((*perStream)[stream].get());
        }
    }
    return outputs;
}

std::vector<CueOutput*> StreamSetOutputs::sharedOutputs() const {
    std::vector<CueOutput*> outputs;
    for (const auto& output : shared) {
        outputs.push_back(output.get());
    }
    return outputs;
}

StreamSetOutputs MakeStreamSetOutputs(const ExtraOutputChoices& choices,
                                      const QStringList& languages, const QString& folder,
                                      VideoStandard standard, const Palette& palette, bool forced) {
    StreamSetOutputs outputs;
    outputs.languages = languages;
    outputs.tags = StreamTags(languages);
    if (choices.vobSub) {
        outputs.shared.push_back(
            std::make_unique<VobSubOutput>(folder, standard, palette, languages, forced));
    }
    if (choices.dvdauthor) {
        QStringList scripts;
        for (const QString& tag : outputs.tags) {
            auto spumux = std::make_unique<SpumuxOutput>(folder, palette, forced, tag);
            scripts << spumux->scriptName();
            outputs.spumux.push_back(std::move(spumux));
        }
        outputs.shared.push_back(std::make_unique<DvdauthorProjectOutput>(
            folder, DvdauthorProject(standard, scripts, languages)));
    }
    if (choices.pgs) {
        for (const QString& tag : outputs.tags) {
            outputs.pgs.push_back(std::make_unique<PgsOutput>(
                folder, choices.pgsSize,
                choices.pgsRateCode != 0 ? std::optional<quint8>(choices.pgsRateCode)
                                         : std::nullopt,
                forced, QStringLiteral("Generated_pgs.%1.sup").arg(tag)));
        }
    }
    return outputs;
}

QString StreamSetOutputsReport(const StreamSetOutputs& outputs, const QString& folder,
                               VideoStandard standard) {
    if (outputs.spumux.empty() && outputs.shared.empty() && outputs.pgs.empty()) {
        return {};
    }
    QString report = QStringLiteral("Also generated:\n");
    QStringList scripts;
    const auto list = [&report](const CueOutput& output) {
        for (const QString& path : output.paths()) {
            report += QDir::toNativeSeparators(path) + QLatin1Char('\n');
        }
    };
    for (const auto& output : outputs.shared) {
        list(*output);
    }
    for (const auto& output : outputs.pgs) {
        list(*output);
    }
    for (const auto& output : outputs.spumux) {
        list(*output);
        scripts << static_cast<const SpumuxOutput&>(*output).scriptName();
    }
    if (!scripts.isEmpty()) {
        report += QLatin1Char('\n') +
                  DvdAuthoringCommands(QDir(folder).absolutePath(), standard, scripts);
    }
    return report;
}

}  // namespace marvoxa
