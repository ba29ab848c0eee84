#include "ui/settings_storage.h"

#include "export/vobsub_index.h"
#include "pgs/pgs_format.h"
#include "render/render_settings.h"
#include "sup/file_writing.h"
#include "ui/form1_controls.h"
#include "ui/ini_file.h"
#include "ui/prompts.h"
#include "ui/unit1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <optional>
#include <variant>

namespace marvoxa {

namespace {

const QString kSection = QStringLiteral("Form1");
// Stored values are applied when the file's version is at least this one.
constexpr int kFormVersion = 0;
constexpr int kDefaultFontFaceIndex = 0;  // "Arial"

enum class WindowValue { FormVersion, ShowCmd, Flags, PixelsPerInch, MinMaxPos, NormPos };

struct ListIndex {
    QComboBox* Form1Controls::*list;
    int defaultIndex;  // selected when the stored position lies outside the list
};
struct TrackBarPosition {
    QSlider* Form1Controls::*trackBar;
};
struct LabelCaption {
    QLabel* Form1Controls::*label;
};

struct StoredValue {
    QLatin1String key;
    std::variant<WindowValue, ListIndex, TrackBarPosition, LabelCaption> source;
};

// Every key of the file, in file order; restoring applies the controls in this order too.
constexpr std::array<StoredValue, 16> kStoredValues{{
    {QLatin1String("FormVersion"), WindowValue::FormVersion},
    {QLatin1String("ShowCmd"), WindowValue::ShowCmd},
    {QLatin1String("Flags"), WindowValue::Flags},
    {QLatin1String("PixelsPerInch"), WindowValue::PixelsPerInch},
    {QLatin1String("MinMaxPos"), WindowValue::MinMaxPos},
    {QLatin1String("NormPos"), WindowValue::NormPos},
    {QLatin1String("ComboBox5_ItemIndex"),
     ListIndex{&Form1Controls::ComboBox5, kDefaultFontFaceIndex}},
    {QLatin1String("ComboBox6_ItemIndex"),
     ListIndex{&Form1Controls::ComboBox6, kDefaultFontSizeIndex}},
    {QLatin1String("ComboBox7_ItemIndex"),
     ListIndex{&Form1Controls::ComboBox7, kDefaultCharsetIndex}},
    {QLatin1String("ComboBox8_ItemIndex"),
     ListIndex{&Form1Controls::ComboBox8, kDefaultStyleIndex}},
    {QLatin1String("ComboBoxOutlineWidth_ItemIndex"),
     ListIndex{&Form1Controls::ComboBoxOutlineWidth, kDefaultOutlineWidthIndex}},
    {QLatin1String("ComboBoxAlign_ItemIndex"),
     ListIndex{&Form1Controls::ComboBoxAlign, kDefaultAlignIndex}},
    {QLatin1String("offset_Position"), TrackBarPosition{&Form1Controls::offset}},
    {QLatin1String("offset_or_Position"), TrackBarPosition{&Form1Controls::offset_or}},
    {QLatin1String("LabelImageChangedPAL_Caption"),
     LabelCaption{&Form1Controls::LabelImageChangedPAL}},
    {QLatin1String("LabelImageChangedNTSC_Caption"),
     LabelCaption{&Form1Controls::LabelImageChangedNTSC}},
}};

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Clang 14 does not deduce the arguments of an aggregate by itself.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

QLatin1String KeyOf(WindowValue value) {
    const auto found = std::find_if(
        kStoredValues.begin(), kStoredValues.end(), [value](const StoredValue& stored) {
            const auto* window = std::get_if<WindowValue>(&stored.source);
            return window != nullptr && *window == value;
        });
    Q_ASSERT(found != kStoredValues.end());
    return found->key;
}

// Qt's window states as the file numbers them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

int ShowCmdOf(Qt::WindowStates state) {
    if (state.testFlag(Qt::WindowMinimized)) {
        return kShowMinimized;
    }
    return state.testFlag(Qt::WindowMaximized) ? kShowMaximized : kShowNormal;
}

int PixelsPerInch(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 0;
}

QString WindowValueText(WindowValue value, const QWidget& window) {
    switch (value) {
        case WindowValue::FormVersion:
            return QString::number(kFormVersion);
        case WindowValue::ShowCmd:
            return QString::number(ShowCmdOf(window.windowState()));
        case WindowValue::Flags:
            return QStringLiteral("0");  // Qt has no placement flags
        case WindowValue::PixelsPerInch:
            return QString::number(PixelsPerInch(window));
        case WindowValue::MinMaxPos:
            // Qt does not let a program place the minimised or maximised window.
            return QStringLiteral("-1,-1,-1,-1");
        case WindowValue::NormPos: {
            const QRect frame = window.frameGeometry();
            return QStringLiteral("%1,%2,%3,%4")
                .arg(frame.left())
                .arg(frame.top())
                .arg(frame.left() + frame.width())
                .arg(frame.top() + frame.height());
        }
    }
    return {};
}

std::optional<int> ToInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The values of one file, looked up by key; absent and unreadable values give nothing.
class StoredValues {
public:
    explicit StoredValues(QHash<QString, QString> values) : values_(std::move(values)) {}

    std::optional<QString> text(QLatin1String key) const {
        const auto found = values_.constFind(key);
        return found == values_.cend() ? std::nullopt : std::optional<QString>(*found);
    }
    std::optional<int> integer(QLatin1String key) const {
        const std::optional<QString> stored = text(key);
        return stored ? ToInt(*stored) : std::nullopt;
    }
    // The left and top of "left,top,right,bottom".
    std::optional<QPoint> topLeft(QLatin1String key) const {
        const std::optional<QString> stored = text(key);
        const QStringList edges = stored ? stored->split(u',') : QStringList();
        if (edges.size() != 4 ||
            !std::all_of(edges.cbegin(), edges.cend(),
                         [](const QString& edge) { return ToInt(edge).has_value(); })) {
            return std::nullopt;
        }
        return QPoint(*ToInt(edges[0]), *ToInt(edges[1]));
    }

private:
    QHash<QString, QString> values_;
};

bool OnSomeScreen(const QRect& frame) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.cbegin(), screens.cend(), [&frame](const QScreen* screen) {
        return screen->geometry().intersects(frame);
    });
}

void RestorePlacement(QWidget& window, const StoredValues& stored) {
    const std::optional<QPoint> normal = stored.topLeft(KeyOf(WindowValue::NormPos));
    const std::optional<int> pixelsPerInch = stored.integer(KeyOf(WindowValue::PixelsPerInch));
    // Positions taken at another pixel density would land elsewhere: the window stays centred.
    if (!normal || pixelsPerInch != PixelsPerInch(window)) {
        return;
    }
    // The size is fixed; only the place comes from the file.
    const QRect frame(*normal, window.frameGeometry().size());
    if (OnSomeScreen(frame)) {
        window.move(frame.topLeft());
    }
}

void RestoreControl(const Form1Controls& controls, const StoredValue& value,
                    const StoredValues& stored) {
    std::visit(Overloaded{
                   [](WindowValue) {},
                   [&](const ListIndex& list) {
                       if (const std::optional<int> index = stored.integer(value.key)) {
                           QComboBox* box = controls.*list.list;
                           // Selecting from the program runs no handler.
                           box->setCurrentIndex(
                               *index >= 0 && *index < box->count() ? *index : list.defaultIndex);
                       }
                   },
                   [&](const TrackBarPosition& trackBar) {
                       // The track bar clamps to its range and runs its handler, which evens
                       // out the line overlap and shows the position in its label.
                       if (const std::optional<int> position = stored.integer(value.key)) {
                           (controls.*trackBar.trackBar)->setValue(*position);
                       }
                   },
                   [&](const LabelCaption& label) {
                       if (const std::optional<QString> text = stored.text(value.key)) {
                           (controls.*label.label)->setText(*text);
                       }
                   },
               },
               value.source);
}

QString ValueText(const Form1Controls& controls, const StoredValue& value, const QWidget& window) {
    return std::visit(
        Overloaded{
            [&](WindowValue windowValue) { return WindowValueText(windowValue, window); },
            [&](const ListIndex& list) {
                return QString::number((controls.*list.list)->currentIndex());
            },
            [&](const TrackBarPosition& trackBar) {
                return QString::number((controls.*trackBar.trackBar)->value());
            },
            [&](const LabelCaption& label) { return (controls.*label.label)->text(); },
        },
        value.source);
}

// Permission bits alone do not tell: root passes them, and an immutable folder or a read-only
// mount refuses everyone. Only a file actually created there proves the folder usable.
bool TakesNewFiles(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isWritable()) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("marvoxa-write-probe-XXXXXX")));
    return probe.open();
}

// The Options dialog's choices, written after the window's keys: markup by its name, the
// switches as 0 or 1. Choices left at their defaults are not written, so a user who never
// changes them keeps a file of the window's keys only.
const QLatin1String kMarkupKey("Options_Markup");
const QLatin1String kWrapKey("Options_Wrap");
const QLatin1String kAllLinesKey("Options_AllLines");

// The extra outputs follow, written the same way, only once they differ from the defaults.
const QLatin1String kVobSubKey("Options_VobSub");
const QLatin1String kDvdauthorKey("Options_Dvdauthor");
const QLatin1String kLanguageKey("Options_Language");

// Then the forced mark, written only when set, and the DVD the stream is added to.
const QLatin1String kForcedKey("Options_Forced");
const QLatin1String kIntoDvdKey("Options_IntoDvd");
const QLatin1String kDvdTitleKey("Options_DvdTitle");
// The folder chosen for the DVD's copy, only once one is chosen.
const QLatin1String kDvdFolderKey("Options_DvdFolder");

// Then the languages of the further streams, in their order, once there are any. Their files
// belong to one film, as the loaded subtitle does, and are not kept: the next run offers the
// same languages with no files chosen yet.
const QLatin1String kMoreStreamsKey("Options_MoreStreamLanguages");

// Then the screen the subtitles are drawn for, by its --aspect name, when not the IFO's.
const QLatin1String kAspectKey("Options_Aspect");
// Last, the Blu-ray stream and its video size, written only when it is asked for.
const QLatin1String kPgsKey("Options_Pgs");
const QLatin1String kPgsSizeKey("Options_PgsSize");

IniEntries OptionEntries(const OptionsChoices& choices) {
    IniEntries entries;
    if (const TextOptions& text = choices.text; text != TextOptions{}) {
        entries = {{kMarkupKey, MarkupModeNames().at(static_cast<int>(text.markup))},
                   {kWrapKey, QString::number(text.wrap ? 1 : 0)},
                   {kAllLinesKey, QString::number(text.allLines ? 1 : 0)}};
    }
    const auto dvdOutputs = [](ExtraOutputChoices outputs) {
        outputs.pgs = false;
        outputs.pgsSize = kDefaultPgsSize;
        return outputs;
    };
    if (const ExtraOutputChoices& outputs = choices.outputs;
        dvdOutputs(outputs) != ExtraOutputChoices{}) {
        entries.append({{kVobSubKey, QString::number(outputs.vobSub ? 1 : 0)},
                        {kDvdauthorKey, QString::number(outputs.dvdauthor ? 1 : 0)},
                        {kLanguageKey, outputs.language}});
    }
    if (choices.forced) {
        entries.append({kForcedKey, QStringLiteral("1")});
    }
    if (choices.intoDvd) {
        entries.append({{kIntoDvdKey, QStringLiteral("1")},
                        {kDvdTitleKey, QString::number(choices.dvdTitle)}});
    }
    if (!choices.dvdFolder.isEmpty()) {
        entries.append({kDvdFolderKey, choices.dvdFolder});
    }
    if (!choices.moreStreams.isEmpty()) {
        QStringList languages;
        for (const StreamChoice& stream : choices.moreStreams) {
            languages << stream.language;
        }
        entries.append({kMoreStreamsKey, languages.join(QLatin1Char(','))});
    }
    if (choices.aspect != AspectChoice::FromIfo) {
        entries.append({kAspectKey, AspectChoiceNames().at(static_cast<int>(choices.aspect))});
    }
    if (choices.outputs.pgs) {
        entries.append(
            {{kPgsKey, QStringLiteral("1")}, {kPgsSizeKey, PgsSizeName(choices.outputs.pgsSize)}});
    }
    return entries;
}

// choices with every readable stored option applied.
OptionsChoices RestoredOptions(OptionsChoices choices, const StoredValues& stored) {
    TextOptions& text = choices.text;
    if (const std::optional<QString> markup = stored.text(kMarkupKey);
        markup && MarkupModeNames().contains(markup->trimmed())) {
        text.markup = static_cast<MarkupMode>(MarkupModeNames().indexOf(markup->trimmed()));
    }
    for (const auto& [key, flag] :
         {std::pair{kWrapKey, &text.wrap}, std::pair{kAllLinesKey, &text.allLines},
          std::pair{kVobSubKey, &choices.outputs.vobSub},
          std::pair{kDvdauthorKey, &choices.outputs.dvdauthor},
          std::pair{kForcedKey, &choices.forced}, std::pair{kIntoDvdKey, &choices.intoDvd},
          std::pair{kPgsKey, &choices.outputs.pgs}}) {
        if (const std::optional<int> value = stored.integer(key); value == 0 || value == 1) {
            *flag = *value == 1;
        }
    }
    if (const std::optional<int> title = stored.integer(kDvdTitleKey);
        title && *title >= 0 && *title <= 99) {
        choices.dvdTitle = *title;
    }
    if (const std::optional<QString> size = stored.text(kPgsSizeKey); size) {
        choices.outputs.pgsSize = PgsSizeFromName(size->trimmed()).value_or(kDefaultPgsSize);
    }
    if (const std::optional<QString> language = stored.text(kLanguageKey);
        language && IsLanguageCode(language->trimmed())) {
        choices.outputs.language = language->trimmed();
    }
    if (const std::optional<QString> folder = stored.text(kDvdFolderKey);
        folder && !folder->trimmed().isEmpty()) {
        choices.dvdFolder = folder->trimmed();
    }
    if (const std::optional<QString> languages = stored.text(kMoreStreamsKey)) {
        choices.moreStreams.clear();
        // At most one row a DVD stream; an entry that is no language leaves the row's to the
        // file's name.
        for (const QString& language : languages->split(QLatin1Char(',')).mid(0, 31)) {
            const QString code = language.trimmed();
            choices.moreStreams.append({QString(), IsLanguageCode(code) ? code : QString()});
        }
    }
    if (const std::optional<QString> aspect = stored.text(kAspectKey)) {
        choices.aspect = AspectChoiceFromName(aspect->trimmed()).value_or(choices.aspect);
    }
    return choices;
}

Status WriteSettingsFile(const QString& path, const QByteArray& text) {
    // The user's folder may not exist yet.
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return Error{ErrorKind::Io, QStringLiteral("Cannot write %1: its folder cannot be made")
                                        .arg(QDir::toNativeSeparators(path))};
    }
    return WriteFileAtomically(path, text);
}

}  // namespace

bool IsSystemProgramFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    return clean == QLatin1String("/usr") || clean.startsWith(QLatin1String("/usr/"));
}

SettingsLocation SettingsLocation::ForThisProgram() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return SettingsLocation{
        .programFolder = IsSystemProgramFolder(programFolder) ? QString() : programFolder,
        .userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)};
}

QString SettingsFilePath(const SettingsLocation& location) {
    const QString& folder =
        TakesNewFiles(location.programFolder) ? location.programFolder : location.userFolder;
    return QDir(folder).filePath(kSettingsFileName);
}

SettingsStorage::SettingsStorage(TForm1& form, Prompts& prompts, const SettingsLocation& location)
    : form_(form), prompts_(prompts), path_(SettingsFilePath(location)) {
    connect(&form_, &TForm1::firstShown, this, &SettingsStorage::restore);
    connect(&form_, &TForm1::aboutToClose, this, &SettingsStorage::save);
    // An end of the program without a close, as at a session's end.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!saved_) {
            save();
        }
    });
}

void SettingsStorage::restore() {
    const StoredValues stored(ReadIniSection(path_, kSection));
    if (stored.integer(KeyOf(WindowValue::FormVersion)).value_or(kFormVersion) < kFormVersion) {
        return;
    }
    RestorePlacement(form_, stored);
    if (stored.integer(KeyOf(WindowValue::ShowCmd)) == kShowMinimized) {
        form_.setWindowState(form_.windowState() | Qt::WindowMinimized);
    }
    for (const StoredValue& value : kStoredValues) {
        RestoreControl(form_.controls(), value, stored);
    }
    form_.setOptions(RestoredOptions(form_.options(), stored));
}

void SettingsStorage::save() {
    saved_ = true;
    IniEntries entries;
    for (const StoredValue& value : kStoredValues) {
        entries.append({value.key, ValueText(form_.controls(), value, form_)});
    }
    entries.append(OptionEntries(form_.options()));
    const Status written = WriteSettingsFile(path_, IniSectionText(kSection, entries));
    if (!written && !failureReported_) {
        failureReported_ = true;
        prompts_.showMessage(
            &form_,
            QStringLiteral("Your choices could not be saved.\r%1").arg(written.error().message));
    }
}

}  // namespace marvoxa
