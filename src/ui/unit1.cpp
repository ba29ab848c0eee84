#include "ui/unit1.h"

#include "palette/ifo_reader.h"
#include "render/subtitle_font.h"
#include "render/wide_drawing_choice.h"
#include "subtitles/cue_lines.h"
#include "subtitles/cue_notices.h"
#include "subtitles/line_width_check.h"
#include "subtitles/subtitle_loader.h"
#include "subtitles/subtitle_messages.h"
#include "subtitles/text_decoding.h"
#include "ui/dialog_filters.h"
#include "ui/dvd_copy_choice.h"
#include "ui/file_drop.h"
#include "ui/generation_session.h"
#include "ui/preview_pictures.h"
#include "ui/prompts.h"
#include "ui/subtitle_track_choice.h"
#include "ui/tab_order.h"
#include "ui/window_scroller.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QSlider>

#include <tuple>

// The pictures live in the static library, so the program has to pull them in by name; this
// must happen outside any namespace.
static void InitMainWindowPictures() {
    Q_INIT_RESOURCE(main_window);
}

namespace marvoxa {

namespace {

constexpr int kClientWidth = 803;
constexpr int kClientHeight = 705;

const QString kSampleFirstLine = QStringLiteral("Rethymno.");

// Sample second line: with a full stop right after a palette becomes ready, without one after
// a style change.
QString SampleSecondLine(bool withFullStop) {
    return withFullStop ? QStringLiteral("Crete Hellas.") : QStringLiteral("Crete Hellas");
}

QString IfoFilter() {
    return DialogFilter(QStringLiteral("ifo"), {QStringLiteral("ifo")});
}

void SelectWithoutHandler(QComboBox* box, int index) {
    // Lists run their handlers only on the user's choice (activated), so this is silent.
    box->setCurrentIndex(index);
}

}  // namespace

TForm1::TForm1(Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      prompts_(prompts),
      swatchRow_(this) {
    InitMainWindowPictures();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kForm1Caption);
    setWindowIcon(QIcon(QStringLiteral(":/main_window/icon")));
    // The window's layout was made for a small 8-point sans serif; Liberation Sans has the
    // metrics of the usual Windows dialog faces, and fontconfig substitutes when it is missing.
    QFont dialogFont(QStringLiteral("Liberation Sans"));
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(kClientWidth, kClientHeight);

    c_ = CreateForm1Controls(this);
    SetReadingTabOrderOfChildren(this);
    scroller_ = new WindowScroller(this, size());
    c_.Pal->setChecked(true);
    c_.Pal->setEnabled(false);
    c_.Ntsc->setEnabled(false);
    connectHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::setAboutWindow(QWidget* about) {
    about_ = about;
}

void TForm1::centreOnScreen() {
    scroller_->centreOnScreen();
}

void TForm1::connectHandlers() {
    connect(c_.Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    // toggled, not clicked: the program's changes of the box run its handler too.
    connect(c_.i_dont_have_ifo, &QCheckBox::toggled, this, &TForm1::i_dont_have_ifoClick);
    connect(c_.Pal, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            PalClick();
        }
    });
    connect(c_.Ntsc, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            NtscClick();
        }
    });
    for (QComboBox* box : c_.roleBoxes()) {
        connect(box, &QComboBox::activated, this, &TForm1::ComboBox1Change);
    }
    for (QComboBox* box : {c_.ComboBox5, c_.ComboBox6, c_.ComboBox8, c_.ComboBoxOutlineWidth}) {
        connect(box, &QComboBox::activated, this, &TForm1::ComboBox6Change);
    }
    connect(c_.ComboBox5, &QComboBox::activated, this, &TForm1::ComboBox5Change);
    connect(c_.ComboBox7, &QComboBox::activated, this, &TForm1::ComboBox7Change);
    connect(c_.ButtonOptions, &QPushButton::clicked, this, &TForm1::ButtonOptionsClick);
    connect(c_.ComboBoxAlign, &QComboBox::activated, this, &TForm1::offsetChange);
    // Track bars run their handlers for every move, the program's included.
    connect(c_.offset, &QSlider::valueChanged, this, &TForm1::offsetChange);
    connect(c_.offset_or, &QSlider::valueChanged, this, &TForm1::offset_orChange);
    connect(c_.Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(c_.Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(c_.ButtonAbout, &QPushButton::clicked, this, &TForm1::ButtonAboutClick);
    connect(c_.BitBtnSetDefaultValues, &QPushButton::clicked, this,
            &TForm1::BitBtnSetDefaultValuesClick);
    connect(c_.BitBtnChangeImage, &QPushButton::clicked, this, &TForm1::BitBtnChangeImageClick);
    // A new selection, by mouse or keys, previews its cue; so does a click on the cue that is
    // already selected. The program fills the list with its signals blocked.
    connect(c_.ListBox1, &QListWidget::currentRowChanged, this, &TForm1::ListBox1Click);
    connect(c_.ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (c_.ListBox1->row(item) == rowAtPress_) {
            ListBox1Click();
        }
    });
    c_.ListBox1->viewport()->installEventFilter(this);
    // A dropped file loads as its button would.
    auto* drop = new FileDrop(this);
    connect(drop, &FileDrop::ifoDropped, this, &TForm1::loadIfo);
    connect(drop, &FileDrop::subtitleDropped, this, &TForm1::loadSubtitle);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QWidget::event(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.ListBox1->viewport() && event->type() == QEvent::MouseButtonPress) {
        rowAtPress_ = c_.ListBox1->currentRow();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        emit firstShown();
        // Also where the window system never reports an activation.
        LoadPreviewBackground();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Generation handles events between cues; the window must outlive it, so it closes once
    // generation has stopped.
    if (session_ != nullptr) {
        event->ignore();
        if (prompts_.askYesNo(this, kStopGeneratingQuestion)) {
            session_->requestCancel();
            closeWhenStopped_ = true;
        }
        return;
    }
    emit aboutToClose();
    event->accept();
}

// ---- Start-up and reset ----

void TForm1::FormCreate() {
    applyStartUpDefaults();
    LoadPreviewBackground();
}

void TForm1::applyStartUpDefaults() {
    for (QComboBox* box : c_.roleBoxes()) {
        SelectWithoutHandler(box, 0);
    }
    SelectWithoutHandler(c_.ComboBox8, kDefaultStyleIndex);
    SelectWithoutHandler(c_.ComboBox6, kDefaultFontSizeIndex);
    SelectWithoutHandler(c_.ComboBox7, kDefaultCharsetIndex);
    SelectWithoutHandler(c_.ComboBoxAlign, kDefaultAlignIndex);
    // Moving a track bar runs its handler at once, under the flags as they still are.
    c_.offset->setValue(30);
    c_.offset_or->setValue(-4);
    SelectWithoutHandler(c_.ComboBoxOutlineWidth, kDefaultOutlineWidthIndex);
    c_.colors->setPixmap(ColourRolesLegend());
    c_.preview->resize(kFrameWidth, FrameHeight(VideoStandard::Pal));
    FillFontList(c_.ComboBox5);
    options_ = OptionsChoices{};
    palette_.applyStartUpDefaults();
    subsLoaded_ = false;
    linesFit_ = true;
    c_.LabelOffset->setText(QString::number(c_.offset->value()));
    c_.LabelOffset_Or->setText(QString::number(c_.offset_or->value()));
}

void TForm1::BitBtnSetDefaultValuesClick() {
    applyStartUpDefaults();
    c_.LabelImageChangedPAL->clear();
    c_.LabelImageChangedNTSC->clear();
    LoadPreviewBackground();
    // Runs i_dont_have_ifoClick when the box was ticked: the generic palette goes.
    c_.i_dont_have_ifo->setChecked(false);
}

void TForm1::FormActivate() {
    LoadPreviewBackground();
}

void TForm1::ButtonAboutClick() {
    if (about_ == nullptr) {
        return;
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// ---- Palette ----

void TForm1::Button1Click() {
    if (palette_.loadIfoEnabled()) {
        loadIfo(prompts_.openFileName(this, QString(), IfoFilter(), folders_.of(FileKind::Ifo)));
    }
}

void TForm1::loadIfo(const QString& path) {
    if (path.isEmpty() || !palette_.loadIfoEnabled() || generating_) {  // also when dropped
        return;
    }
    folders_.remember(FileKind::Ifo, path);
    if (IsDvdOwnIfoName(path)) {  // refused before anything shows it
        prompts_.showMessage(this, DvdOwnIfoError(path).message);
        return;
    }
    // Repaint where the dialog stood before the file work starts.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    c_.Edit1->setText(path);
    c_.Edit1->setToolTip(path);
    const Result<IfoPaletteData> read = ReadIfoPalette(path);
    if (!read) {
        prompts_.showMessage(this, read.error().message);
        return;
    }
    ifoPath_ = path;
    dvdTitles_ = DvdTitleOptions(path);
    ifoVideoWide_ = IsWideVideo(read.value().videoAttributes);
    if (const std::optional<QString> notice = IfoWideNotice(options_.aspect, ifoVideoWide_)) {
        prompts_.showMessage(this, *notice);
    }

    const IfoLoadOutcome outcome = palette_.applyIfoRead(read.value());
    if (outcome.videoStandardChanged) {
        // Like a click on the button: the other one clears and the preview picture follows.
        (palette_.videoStandard() == VideoStandard::Pal ? c_.Pal : c_.Ntsc)->setChecked(true);
    }
    showPalette();
    if (outcome.paletteCase == PaletteCase::WithIfo) {
        mirrorPaletteControls();
        previewSampleLines(true);
        return;
    }

    // No usable greys: the generic palette stands in, and the box shows the no-IFO mode once
    // the user has read why.
    c_.Button1->setEnabled(false);
    previewSampleLines(true);
    prompts_.showMessage(
        this,
        MonocromaticIfoMessage(
            ShownOptions(options_, OfferedDvdTitles(palette_, dvdTitles_), ifoPath_).intoDvd));
    mirrorPaletteControls();
    previewSampleLines(true);
}

void TForm1::i_dont_have_ifoClick(bool checked) {
    if (!palette_.setNoIfoBoxChecked(checked)) {
        return;
    }
    showPalette();
    mirrorPaletteControls();
    if (checked) {
        previewSampleLines(true);
    }
}

void TForm1::PalClick() {
    palette_.chooseVideoStandard(VideoStandard::Pal);
    LoadPreviewBackground();
}

void TForm1::NtscClick() {
    palette_.chooseVideoStandard(VideoStandard::Ntsc);
    LoadPreviewBackground();
}

void TForm1::showPalette() {
    swatchRow_.show(palette_.palette());
    const ColourRoles& roles = palette_.roles();
    SelectWithoutHandler(c_.ComboBox1, roles.antialias);
    SelectWithoutHandler(c_.ComboBox2, roles.outline);
    SelectWithoutHandler(c_.ComboBox3, roles.text);
    SelectWithoutHandler(c_.ComboBox4, roles.background);
}

void TForm1::mirrorPaletteControls() {
    {
        // The palette state has already run the box's handler.
        const QSignalBlocker blocker(c_.i_dont_have_ifo);
        c_.i_dont_have_ifo->setChecked(palette_.noIfoBoxChecked());
    }
    c_.Button1->setEnabled(palette_.loadIfoEnabled());
    c_.Pal->setEnabled(palette_.videoStandardButtonsEnabled());
    c_.Ntsc->setEnabled(palette_.videoStandardButtonsEnabled());
}

void TForm1::ComboBox1Change() {
    palette_.setRoles(colourRoles());
    restyle();
}

// ---- Subtitles ----

void TForm1::Button2Click() {
    loadSubtitle(
        prompts_.openFileName(this, QString(), SubtitleFilter(), folders_.of(FileKind::Subtitle)));
}

void TForm1::loadSubtitle(const QString& path) {
    if (generating_) {  // a file dropped while the buttons are locked
        return;
    }
    linesFit_ = true;
    loadFailed_ = false;
    if (path.isEmpty() || !palette_.paletteReady()) {
        prompts_.showMessage(this, kLoadIfoFirstMessage);
        return;
    }
    folders_.remember(FileKind::Subtitle, path);
    const std::optional<int> track = AskSubtitleTrack(prompts_, this, path);
    if (!track) {
        return;  // no track chosen: the previous subtitles stay
    }
    setWindowTitle(kLoadingSubtitleCaption);
    const auto restoreCaption = qScopeGuard([this] { setWindowTitle(kForm1Caption); });
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    SubtitleLoad load = LoadSubtitleFile(path, options_.text.markup, *track);
    loadFailed_ = load.loadFailed;
    if (load.cueList.cues.empty()) {
        // The subtitles loaded before stay: generation would refuse this file anyway.
        prompts_.showMessage(this, load.error ? load.error->message : QString(kNoSubtitlesMessage));
        return;
    }
    subtitlePath_ = path;
    cueList_ = std::move(load.cueList);
    fillCueSelector();
    if (load.error) {
        // A number that cannot be parsed ends the load with the subtitles read before it.
        prompts_.showMessage(this, load.error->message);
        return;
    }
    for (const std::optional<QString>& notice : {load.notice, OverlappingCuesNotice(cueList_)}) {
        if (notice) {
            prompts_.showMessage(this, *notice);
        }
    }
    showTextNotices(true, true);
    CheckAllCueLines();
}

void TForm1::showTextNotices(bool linesLeftOut, bool undrawableCharacters) {
    const RenderSettings settings = renderSettings();
    if (const auto notice = linesLeftOut ? ExtraLinesNotice(cueList_, settings) : std::nullopt) {
        prompts_.showMessage(this, *notice);
    }
    if (const auto notice =
            undrawableCharacters ? UndrawableCharactersNotice(cueList_, settings) : std::nullopt) {
        prompts_.showMessage(this, *notice);
    }
}

void TForm1::fillCueSelector() {
    const QSignalBlocker blocker(c_.ListBox1);
    c_.ListBox1->clear();
    const quint8 charset = CharsetFromName(c_.ComboBox7->currentText());
    for (const Cue& cue : cueList_.cues) {
        c_.ListBox1->addItem(DecodeCueText(cue.displayEntry, cueList_.encoding, charset));
    }
    rowAtPress_ = -1;
}

void TForm1::redecodeCueSelector() {
    if (c_.ListBox1->count() != static_cast<int>(cueList_.cues.size())) {
        return;  // emptied by a failed check: nothing to show
    }
    const quint8 charset = CharsetFromName(c_.ComboBox7->currentText());
    for (int row = 0; row < c_.ListBox1->count(); ++row) {
        c_.ListBox1->item(row)->setText(DecodeCueText(
            cueList_.cues[static_cast<size_t>(row)].displayEntry, cueList_.encoding, charset));
    }
}

void TForm1::CheckAllCueLines() {
    for (size_t index = 0; index < cueList_.cues.size(); ++index) {
        // The first line that does not fit ends the measuring.
        if (!palette_.paletteReady() || !linesFit_) {
            break;
        }
        const RenderSettings settings = renderSettings();
        MeasureCueLines(DrawnCueLines(cueList_, index, settings).drawn, settings);
    }
    if (linesFit_ && !loadFailed_) {
        prompts_.showMessage(this, kSubtitleLoadedMessage);
        c_.Edit2->setText(subtitlePath_);
        c_.Edit2->setToolTip(subtitlePath_);
        subsLoaded_ = true;
    }
}

void TForm1::MeasureCueLines(const QList<StyledLine>& lines, const RenderSettings& settings) {
    if (CueLinesFit(SubtitleFont(settings), lines)) {
        linesFit_ = true;
        return;
    }
    linesFit_ = false;
    if (!subsLoaded_) {
        // A subtitle that never passed is not offered for previewing.
        const QSignalBlocker blocker(c_.ListBox1);
        c_.ListBox1->clear();
        prompts_.showMessage(this, TooLongOnLoadMessage(LineTexts(lines)));
    } else {
        prompts_.showMessage(this, TooLongAfterStyleChangeMessage(LineTexts(lines)));
    }
}

// ---- Style controls and preview ----

void TForm1::ComboBox6Change() {
    restyle();
    if (palette_.paletteReady() && subsLoaded_) {
        setWindowTitle(kCheckingSubtitleCaption);
        CheckAllCueLines();
        setWindowTitle(kForm1Caption);
    }
}

void TForm1::ComboBox5Change() {
    if (palette_.paletteReady() && subsLoaded_) {
        showTextNotices(false, true);
    }
}

void TForm1::ButtonOptionsClick() {
    const QList<DvdTitleOption> offered = OfferedDvdTitles(palette_, dvdTitles_);
    const OptionsChoices shown = ShownOptions(options_, offered, ifoPath_);
    const std::optional<OptionsChoices> chosen = prompts_.editOptions(this, shown, offered);
    if (!chosen || *chosen == shown) {
        return;
    }
    const bool redraw = chosen->text != options_.text || chosen->aspect != options_.aspect;
    options_ = StoredOptions(*chosen, options_, offered, ifoPath_);
    // Redrawn and checked again as after a style change; the outputs change no drawing.
    if (redraw) {
        ComboBox6Change();
    }
}

void TForm1::ComboBox7Change() {
    redecodeCueSelector();
    restyle();
}

void TForm1::offsetChange() {
    restyle();
    c_.LabelOffset->setText(QString::number(c_.offset->value()));
}

void TForm1::offset_orChange() {
    const int position = c_.offset_or->value();
    if (EvenLineOverlap(position) != position) {
        // Runs this handler again with the even value before going on.
        c_.offset_or->setValue(EvenLineOverlap(position));
    }
    restyle();
    c_.LabelOffset_Or->setText(QString::number(c_.offset_or->value()));
}

void TForm1::ListBox1Click() {
    if (palette_.paletteReady() && subsLoaded_) {
        previewSelectedCue();
    }
}

void TForm1::BitBtnChangeImageClick() {
    for (const auto& [label, title, filter] :
         {std::tuple{c_.LabelImageChangedPAL, "Load 720x576 PAL image",
                     "Load your PAL 720x576 BMP"},
          std::tuple{c_.LabelImageChangedNTSC, "Load 720x480 NTSC image",
                     "Load your NTSC 720x480 BMP"}}) {
        const QString picture =
            prompts_.openFileName(this, QLatin1String(title),
                                  DialogFilter(QLatin1String(filter), {QStringLiteral("bmp")}),
                                  folders_.of(FileKind::Picture));
        if (!picture.isEmpty()) {
            folders_.remember(FileKind::Picture, picture);
            label->setText(picture);
            LoadPreviewBackground();
        }
    }
}

void TForm1::restyle() {
    if (!palette_.paletteReady()) {
        return;
    }
    previewSampleLines(false);
    if (subsLoaded_) {
        previewSelectedCue();
    }
}

void TForm1::previewSampleLines(bool withFullStop) {
    RenderPreview({PlainLine(kSampleFirstLine), PlainLine(SampleSecondLine(withFullStop))},
                  renderSettings());
}

void TForm1::previewSelectedCue() {
    const int row = c_.ListBox1->currentRow();
    if (row < 0 || row >= static_cast<int>(cueList_.cues.size())) {
        return;  // no cue selected: the sample lines stay
    }
    const RenderSettings settings = renderSettings();
    const CueLines cue = DrawnCueLines(cueList_, static_cast<size_t>(row), settings);
    RenderPreview(cue.drawn, settings, cue.placement);
}

void TForm1::LoadPreviewBackground() {
    const VideoStandard standard = c_.Ntsc->isChecked() ? VideoStandard::Ntsc : VideoStandard::Pal;
    const QLabel* userPicture =
        standard == VideoStandard::Pal ? c_.LabelImageChangedPAL : c_.LabelImageChangedNTSC;
    c_.preview->resize(kFrameWidth, FrameHeight(standard));
    previewPicture_ = PreviewBackground(standard, userPicture->text());
    showPreviewPicture();
}

void TForm1::RenderPreview(const QList<StyledLine>& lines, const RenderSettings& settings,
                           int placement) {
    LoadPreviewBackground();
    if (!CueLinesFit(SubtitleFont(settings), lines)) {
        prompts_.showMessage(this, TooLongInPreviewMessage(LineTexts(lines)));
        linesFit_ = false;
        return;
    }
    linesFit_ = true;
    if (!palette_.palette()) {
        return;
    }
    DrawPreviewLines(previewPicture_, PlacedLines{lines, placement}, settings,
                     palette_.palette()->roleColours(colourRoles()));
    showPreviewPicture();
}

void TForm1::showPreviewPicture() {
    c_.preview->setPixmap(QPixmap::fromImage(previewPicture_));
}

}  // namespace marvoxa
