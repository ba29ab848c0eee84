#pragma once

#include "common/colour_roles.h"
#include "palette/palette_state.h"
#include "render/render_settings.h"
#include "render/styled_line.h"
#include "subtitles/cue_list.h"
#include "ui/form1_controls.h"
#include "ui/last_folders.h"
#include "ui/options_dialog.h"
#include "ui/swatch_row.h"

#include <QImage>
#include <QLatin1String>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

namespace marvoxa {

class GenerationSession;
class Prompts;
class WindowDvdCopy;
class WindowScroller;

inline constexpr QLatin1String kForm1Caption("Marvoxa By Pellorn");
inline constexpr QLatin1String kCheckingSubtitleCaption(
    "Marvoxa By Pellorn Checking Subtitle Length...");
inline constexpr QLatin1String kLoadSubtitleFirstMessage("Please load an Srt/Sub/Txt subtitle.");
inline constexpr QLatin1String kStopGeneratingQuestion(
    "Stop generating and close Marvoxa? Nothing will be written: the files generated before stay "
    "as they are.");

// The main window: loads the palette and the subtitle file, holds the style controls, previews
// the subtitles and generates the stream. Every message box and file dialog goes through the
// Prompts given at construction. Drawing, measuring and generating read the controls at the
// moment they run; the window keeps no copy of the settings.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(Prompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // The window ButtonAbout shows, not modal.
    void setAboutWindow(QWidget* about);
    // Places the window in the middle of its screen; for a start without a saved placement. A
    // screen too small for the window gets it smaller, with scroll bars.
    void centreOnScreen();
    WindowScroller& scroller() const { return *scroller_; }

    // Every control by its name, for the settings storage and for tests. The saved ones are
    // ComboBox5 to ComboBox8, ComboBoxOutlineWidth, ComboBoxAlign, offset, offset_or and the
    // hidden LabelImageChangedPAL and LabelImageChangedNTSC.
    const Form1Controls& controls() const { return c_; }

    // The state flags.
    bool paletteReady() const { return palette_.paletteReady(); }
    bool subsLoaded() const { return subsLoaded_; }
    bool linesFit() const { return linesFit_; }
    bool loadFailed() const { return loadFailed_; }
    bool noIfo() const { return palette_.noIfo(); }
    bool monoIfo() const { return palette_.monoIfo(); }
    bool generating() const { return generating_; }

    const CueList& cueList() const { return cueList_; }
    const std::optional<Palette>& palette() const { return palette_.palette(); }
    const SwatchRow& swatchRow() const { return swatchRow_; }
    // What the preview area shows: the background, with subtitle lines when drawn.
    const QImage& previewPicture() const { return previewPicture_; }

    // The choices of the Options dialog. Setting them redraws nothing: for restoring.
    const OptionsChoices& options() const { return options_; }
    void setOptions(const OptionsChoices& choices) { options_ = choices; }

    // The current values of the style controls and the options, and of the role boxes.
    RenderSettings renderSettings() const;
    ColourRoles colourRoles() const;

signals:
    // The window is shown for the first time; stored choices may now replace the defaults.
    // The preview background is loaded right after, with any restored picture paths.
    void firstShown();
    // The user closes the window; choices may be saved now.
    void aboutToClose();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandlers();

    // Handlers, named after control and event.
    void FormCreate();
    void FormActivate();
    void BitBtnSetDefaultValuesClick();
    void Button1Click();
    void i_dont_have_ifoClick(bool checked);
    void PalClick();
    void NtscClick();
    void Button2Click();
    void Button3Click();
    void ButtonAboutClick();
    void BitBtnChangeImageClick();
    void ButtonOptionsClick();

    // The loads behind Load Ifo and Load Srt ,Sub, also for a dropped file.
    void loadIfo(const QString& path);
    void loadSubtitle(const QString& path);
    void ComboBox5Change();
    void ComboBox1Change();
    void ComboBox6Change();
    void ComboBox7Change();
    void offsetChange();
    void offset_orChange();
    void ListBox1Click();

    // The nine start-up steps shared by FormCreate and the reset button.
    void applyStartUpDefaults();

    // Palette view: swatch row and role boxes, then the enabled and checked controls.
    void showPalette();
    void mirrorPaletteControls();

    // Subtitle checks.
    void CheckAllCueLines();
    void MeasureCueLines(const QList<StyledLine>& lines, const RenderSettings& settings);
    // Lines beyond the second and characters no font draws, each reported once.
    void showTextNotices(bool linesLeftOut, bool undrawableCharacters);
    void fillCueSelector();
    void redecodeCueSelector();

    // Preview.
    void LoadPreviewBackground();
    // placement as an {\anN} override gives it, 0 for none.
    void RenderPreview(const QList<StyledLine>& lines, const RenderSettings& settings,
                       int placement = 0);
    void previewSampleLines(bool withFullStop);
    void previewSelectedCue();
    // The previews every style control asks for: the sample lines, then the selected cue.
    void restyle();
    void showPreviewPicture();

    // Generation (form1_generation.cpp): runs generate(session) with the window locked and
    // "Generate Sup" reading "Cancel"; the loaded file with the further streams of the Options
    // dialog, each a stream of its own.
    template <typename Generate>
    auto whileGenerating(int cueCount, bool withDvdCopy, Generate generate);
    void generateStreamSet(PaletteCase paletteCase, const QList<StreamChoice>& further);
    // The DVD copy the Options dialog shows ticked, with its palette notice said; none when it
    // is not ticked. False when it cannot be made: the message is shown.
    bool openShownDvdCopy(std::unique_ptr<WindowDvdCopy>& copy, const QStringList& languages = {},
                          const QStringList& sources = {});

    Prompts& prompts_;
    Form1Controls c_;
    SwatchRow swatchRow_;
    WindowScroller* scroller_ = nullptr;
    QPointer<QWidget> about_;

    OptionsChoices options_;
    LastFolders folders_;
    // The last IFO loaded and the titles of its DVD that the subtitles can be added to.
    QString ifoPath_;
    QList<DvdTitleOption> dvdTitles_;
    // The loaded IFO's video is 16:9: cues are drawn wide unless the options say otherwise.
    bool ifoVideoWide_ = false;
    PaletteState palette_;
    bool subsLoaded_ = false;
    bool linesFit_ = true;
    bool loadFailed_ = false;
    bool generating_ = false;
    GenerationSession* session_ = nullptr;  // while generating
    bool closeWhenStopped_ = false;         // the user closed the window while generating
    bool shownOnce_ = false;

    CueList cueList_;
    // The file the cue list was read from; the stream and the help file go next to it.
    QString subtitlePath_;
    QImage previewPicture_;
    // The selected cue when the mouse went down on ListBox1: a click on it previews it again.
    int rowAtPress_ = -1;
};

}  // namespace marvoxa
