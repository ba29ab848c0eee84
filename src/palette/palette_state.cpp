#include "palette/palette_state.h"

#include "palette/generic_palette.h"
#include "palette/role_selection.h"

namespace marvoxa {

QString MonocromaticIfoMessage(bool intoDvd) {
    const QString afterGeneration =
        intoDvd ? QStringLiteral(
                      "When it adds the subtitles to the DVD, Marvoxa writes these "
                      "colors into the copy's palette itself.")
                : QStringLiteral(
                      "After the generation of the sup file , Marvoxa will tell you "
                      "what to do using Ifoedit.");
    return QStringLiteral(
               "ATTENTION :\rYour loaded ifo has not a polycromatic color palette.\rProbably this "
               "ifo does not contain any subtitle and you are tryng to add the first one. "
               "\rMarvoxa will create an generic polycromatic color palette in order to generate "
               "a correct colored sup file.\r%1\rFor now just load your Srt and press Generate "
               "sup.")
        .arg(afterGeneration);
}

std::optional<RoleColours> PaletteState::roleColours() const {
    if (!palette_) {
        return std::nullopt;
    }
    return palette_->roleColours(roles_);
}

bool PaletteState::chooseVideoStandard(VideoStandard standard) {
    if (!videoStandardButtonsEnabled_ || standard == videoStandard_) {
        return false;
    }
    videoStandard_ = standard;
    return true;
}

IfoLoadOutcome PaletteState::applyIfoRead(const IfoPaletteData& read) {
    Q_ASSERT(loadIfoEnabled());
    palette_ = PaletteFromStoredValues(read.storedValues);
    const VideoStandard standard = VideoStandardFromAttributes(read.videoAttributes);
    const bool standardChanged = standard != videoStandard_;
    videoStandard_ = standard;
    paletteReady_ = true;

    const RoleSelection selection = SelectRoles(*palette_);
    roles_ = selection.roles;
    if (selection.usable) {
        setNoIfoBoxChecked(false);  // a no-op: Load Ifo is disabled while the box is checked
        monoIfo_ = false;
        noIfo_ = false;
        videoStandardButtonsEnabled_ = false;
        return {PaletteCase::WithIfo, standardChanged};
    }

    installGenericPalette();
    // Checking the box enters the no-IFO mode, which treats the case as No Ifo and frees the
    // standard; the flags and buttons are then put back to what the loaded IFO decided.
    setNoIfoBoxChecked(true);
    monoIfo_ = true;
    noIfo_ = false;
    videoStandardButtonsEnabled_ = false;
    return {PaletteCase::MonocromaticIfo, standardChanged};
}

bool PaletteState::setNoIfoBoxChecked(bool checked) {
    if (checked == noIfoBoxChecked_) {
        return false;
    }
    noIfoBoxChecked_ = checked;
    if (checked) {
        enterNoIfoMode();
    } else {
        leaveNoIfoMode();
    }
    return true;
}

void PaletteState::applyStartUpDefaults() {
    roles_ = ColourRoles{};
    paletteReady_ = false;
    noIfo_ = false;
}

bool PaletteState::resetToDefaults() {
    applyStartUpDefaults();
    return setNoIfoBoxChecked(false);
}

std::optional<PaletteCase> PaletteState::generationCase() const {
    if (noIfo_ && noIfoBoxChecked_) {
        return PaletteCase::NoIfo;
    }
    if (monoIfo_ && noIfoBoxChecked_) {
        return PaletteCase::MonocromaticIfo;
    }
    if (!noIfoBoxChecked_) {
        return PaletteCase::WithIfo;
    }
    return std::nullopt;
}

void PaletteState::installGenericPalette() {
    palette_ = GenericPalette();
    roles_ = kGenericRoles;
    paletteReady_ = true;
}

void PaletteState::enterNoIfoMode() {
    noIfo_ = true;
    monoIfo_ = false;
    installGenericPalette();
    videoStandardButtonsEnabled_ = true;
}

void PaletteState::leaveNoIfoMode() {
    noIfo_ = false;
    // Neither the generic palette nor an IFO palette shown before survives.
    palette_.reset();
    paletteReady_ = false;
    videoStandardButtonsEnabled_ = false;
}

}  // namespace marvoxa
