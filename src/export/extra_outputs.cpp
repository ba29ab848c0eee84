#include "export/extra_outputs.h"

#include "export/dvd_commands.h"
#include "export/spumux_output.h"
#include "export/vobsub_output.h"
#include "pgs/pgs_output.h"

#include <QDir>

namespace marvoxa {

std::vector<std::unique_ptr<CueOutput>> MakeExtraOutputs(const ExtraOutputChoices& choices,
                                                         const QString& folder,
                                                         VideoStandard standard,
                                                         const Palette& palette, bool forced) {
    std::vector<std::unique_ptr<CueOutput>> outputs;
    if (choices.vobSub) {
        outputs.push_back(
            std::make_unique<VobSubOutput>(folder, standard, palette, choices.language, forced));
    }
    if (choices.dvdauthor) {
        outputs.push_back(std::make_unique<SpumuxOutput>(folder, palette, forced));
    }
    if (choices.pgs) {
        outputs.push_back(std::make_unique<PgsOutput>(
            folder, choices.pgsSize,
            choices.pgsRateCode != 0 ? std::optional<quint8>(choices.pgsRateCode) : std::nullopt,
            forced));
    }
    return outputs;
}

QString ExtraOutputsReport(const std::vector<std::unique_ptr<CueOutput>>& outputs,
                           const ExtraOutputChoices& choices, const QString& folder,
                           VideoStandard standard) {
    if (outputs.empty()) {
        return {};
    }
    QString report = QStringLiteral("Also generated:\n");
    for (const auto& output : outputs) {
        for (const QString& path : output->paths()) {
            report += QDir::toNativeSeparators(path) + QLatin1Char('\n');
        }
    }
    if (choices.dvdauthor) {
        report += QLatin1Char('\n') +
                  DvdAuthoringCommands(QDir(folder).absolutePath(), standard, choices.language);
    }
    return report;
}

}  // namespace marvoxa
