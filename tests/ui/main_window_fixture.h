#pragma once

#include "line_of_width.h"

#include "common/video_standard.h"
#include "palette/palette.h"
#include "render/render_settings.h"
#include "scripted_prompts.h"
#include "ui/form1_controls.h"
#include "ui/unit1.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <utility>

class QComboBox;

namespace marvoxa::test {

using StoredPalette = std::array<quint32, kPaletteSize>;

// Coloured entries with greys of the given luminance at the given indices.
StoredPalette PaletteWithGreys(std::initializer_list<std::pair<int, int>> indexAndY);
// The three kinds of grey at entries 0 (dark), 1 (middle) and 2 (light).
StoredPalette PolycromaticPalette();
// Dark and light greys but no middle one.
StoredPalette MonocromaticPalette();

// A title set IFO holding only what the reader takes: the program chain table's sector at 204,
// the first chain's offset, its palette at 164 into the chain, the video attributes at 512.
QByteArray IfoBytes(const StoredPalette& palette, VideoStandard standard);

// An SRT file of the cues' two lines, one second each, in UTF-8.
QByteArray SrtBytes(const QList<QPair<QString, QString>>& cues);

// The palette part of the window in one line, for comparing whole states: the no-IFO box,
// Load Ifo, the standard buttons, the standard, the four roles, the flags and the swatch count,
// e.g. "unticked load std-fixed PAL roles 1020 ready -noIfo -monoIfo swatches 16".
QString PaletteView(const TForm1& form);

// The window with scripted answers, and a folder for the files the tests load.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    const Form1Controls& c() const { return form_->controls(); }
    QString writeFile(const QString& name, const QByteArray& bytes);

    // The user's actions.
    void loadIfo(const StoredPalette& palette, VideoStandard standard = VideoStandard::Pal);
    void tickNoIfo();
    void loadSubtitle(const QString& name, const QByteArray& bytes);
    // Chooses the item with text in a list as a click in its drop-down does.
    void pick(QComboBox* box, const QString& text);
    void selectCue(int row);

    // The built-in picture of the standard, and the lines drawn over it with the window's
    // current settings and role colours as the encoder's renderer draws them.
    static QImage Background(VideoStandard standard);
    QImage backgroundWith(const QString& firstLine, const QString& secondLine) const;
    // The preview area's picture.
    QImage preview() const { return form_->previewPicture(); }

    ScriptedPrompts prompts_;
    QTemporaryDir dir_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace marvoxa::test
