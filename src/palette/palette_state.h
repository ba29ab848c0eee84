#pragma once

#include "common/colour_roles.h"
#include "common/role_colours.h"
#include "common/video_standard.h"
#include "palette/ifo_reader.h"
#include "palette/palette.h"

#include <QString>

#include <optional>

namespace marvoxa {

// Where the palette in use came from; generation reports it and writes its help text.
enum class PaletteCase { WithIfo, MonocromaticIfo, NoIfo };

// Shown, lines separated by \r, when a loaded IFO has no usable palette. intoDvd: the stream
// goes into a copy of the DVD, whose palette Marvoxa then writes itself.
QString MonocromaticIfoMessage(bool intoDvd = false);

// What the caller does after an IFO read was applied.
struct IfoLoadOutcome {
    PaletteCase paletteCase;  // WithIfo, or MonocromaticIfo: show MonocromaticIfoMessage()
    bool videoStandardChanged = false;  // the preview picture follows the new standard

    friend bool operator==(const IfoLoadOutcome&, const IfoLoadOutcome&) = default;
};

// The palette, the colour roles, the video standard and the palette flags, with the controls
// they enable, shared by the main window and the headless converter. The transitions change
// only this state and tell the caller what to show or redraw.
class PaletteState {
public:
    bool paletteReady() const { return paletteReady_; }
    bool noIfo() const { return noIfo_; }
    bool monoIfo() const { return monoIfo_; }
    bool noIfoBoxChecked() const { return noIfoBoxChecked_; }
    // While the generic palette is in use no IFO can be loaded.
    bool loadIfoEnabled() const { return !noIfoBoxChecked_; }
    // Only without an IFO does the user choose the standard; an IFO decides it.
    bool videoStandardButtonsEnabled() const { return videoStandardButtonsEnabled_; }
    VideoStandard videoStandard() const { return videoStandard_; }
    const std::optional<Palette>& palette() const { return palette_; }
    const ColourRoles& roles() const { return roles_; }
    // The display colours of the roles, or none while there is no palette.
    std::optional<RoleColours> roleColours() const;

    // The user's pick in a role box; allowed in every state.
    void setRoles(const ColourRoles& roles) { roles_ = roles; }

    // The user's click on Pal or Ntsc; ignored while the buttons are disabled. True when the
    // standard changed, so that the preview picture follows.
    bool chooseVideoStandard(VideoStandard standard);

    // Takes a freshly read IFO: its palette and roles when it has the three greys (With Ifo),
    // else the generic palette in the no-IFO box's mode, with the IFO's standard kept
    // (Monocromatic Ifo). Only while loadIfoEnabled().
    IfoLoadOutcome applyIfoRead(const IfoPaletteData& read);

    // Sets the no-IFO box as a click or the program does. Only a change runs its handler:
    // checking installs the generic palette, unchecking removes any palette. True when the
    // handler ran, so that the caller redraws.
    bool setNoIfoBoxChecked(bool checked);

    // The palette part of start-up and of the reset to defaults: all roles 0, paletteReady and
    // noIfo cleared; monoIfo and the palette itself stay.
    void applyStartUpDefaults();

    // The reset to defaults: applyStartUpDefaults(), then, after the window's other defaults,
    // the no-IFO box unchecked. Callers that do work in between call the two steps themselves.
    // True when unchecking ran the box's handler.
    bool resetToDefaults();

    // The case generation reports. None when the box is checked with neither flag set, which
    // only the moment between the two steps of a reset can show. A case with no palette()
    // (the box unchecked after a palette was removed) must not generate.
    std::optional<PaletteCase> generationCase() const;

private:
    void installGenericPalette();
    void enterNoIfoMode();
    void leaveNoIfoMode();

    bool paletteReady_ = false;
    bool noIfo_ = false;
    bool monoIfo_ = false;
    bool noIfoBoxChecked_ = false;
    bool videoStandardButtonsEnabled_ = false;
    VideoStandard videoStandard_ = VideoStandard::Pal;
    std::optional<Palette> palette_;
    ColourRoles roles_;
};

}  // namespace marvoxa
