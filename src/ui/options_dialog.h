#pragma once

#include "export/extra_outputs.h"
#include "render/text_options.h"
#include "render/wide_drawing_choice.h"
#include "ui/more_streams_list.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace marvoxa {

// Everything the Options dialog lets the user choose.
struct OptionsChoices {
    TextOptions text{};
    ExtraOutputChoices outputs{};  // what "Generate Sup" writes besides Generated.sup
    bool forced = false;           // every subtitle shown even when subtitles are off
    // Generation also writes a copy of the loaded IFO's DVD with the subtitles added to a
    // title (0: the title set's longest), next to Generated.sup.
    bool intoDvd = false;
    int dvdTitle = 0;
    // Where that copy goes, as VIDEO_TS; empty for a folder beside the DVD's, named after it.
    QString dvdFolder{};
    // Further subtitle files, each written as a stream of its own after the loaded one.
    QList<StreamChoice> moreStreams{};
    // The screen the subtitles are drawn for: the loaded IFO's, or 4:3 or 16:9 whatever it is.
    AspectChoice aspect = AspectChoice::FromIfo;

    friend bool operator==(const OptionsChoices&, const OptionsChoices&) = default;
};

// A title of the loaded IFO's title set that the subtitles can be added to.
struct DvdTitleOption {
    int number = 0;  // as players number the disc's titles
    QString label;   // "Title 1 (0:01:05)"

    friend bool operator==(const DvdTitleOption&, const DvdTitleOption&) = default;
};

// The small modal dialog behind the main window's "Options..." button. OK takes the choices,
// Cancel or closing keeps the ones given at construction.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    // dvdTitles lists the titles of the loaded IFO's DVD, longest first; without any (no IFO,
    // or one outside a complete VIDEO_TS folder) adding to the DVD cannot be chosen.
    explicit OptionsDialog(const OptionsChoices& current,
                           const QList<DvdTitleOption>& dvdTitles = {}, QWidget* parent = nullptr);

    // What the controls show now.
    OptionsChoices choices() const;

    QComboBox* markupList() const { return markup_; }
    QCheckBox* wrapBox() const { return wrap_; }
    QCheckBox* allLinesBox() const { return allLines_; }
    QCheckBox* vobSubBox() const { return vobSub_; }
    QCheckBox* dvdauthorBox() const { return dvdauthor_; }
    QLineEdit* languageField() const { return language_; }
    QCheckBox* pgsBox() const { return pgs_; }
    QComboBox* pgsSizeList() const { return pgsSize_; }
    QCheckBox* forcedBox() const { return forced_; }
    QCheckBox* intoDvdBox() const { return intoDvd_; }
    QComboBox* dvdTitleList() const { return dvdTitle_; }
    QLineEdit* dvdFolderField() const { return dvdFolder_; }
    QPushButton* dvdFolderButton() const { return chooseDvdFolder_; }
    MoreStreamsList* moreStreamsList() const { return moreStreams_; }

    // What "..." of a further stream asks for a file with; without it, a file dialog.
    void setFilePicker(std::function<QString()> picker) { picker_ = std::move(picker); }
    QComboBox* aspectList() const { return aspect_; }

private:
    QString pickSubtitleFile();

    QComboBox* markup_;
    QCheckBox* wrap_;
    QCheckBox* allLines_;
    QCheckBox* vobSub_;
    QCheckBox* dvdauthor_;
    QLineEdit* language_;
    QCheckBox* pgs_;
    QComboBox* pgsSize_;
    QCheckBox* forced_;
    QCheckBox* intoDvd_;
    QComboBox* dvdTitle_;
    QLineEdit* dvdFolder_;
    QPushButton* chooseDvdFolder_;
    MoreStreamsList* moreStreams_;
    std::function<QString()> picker_;
    QComboBox* aspect_;
    int shownDvdTitle_;      // kept when the DVD cannot be chosen
    QString shownLanguage_;  // kept when the field is left without two letters
};

}  // namespace marvoxa
