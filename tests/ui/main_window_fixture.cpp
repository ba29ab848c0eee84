#include "main_window_fixture.h"

#include "render/subtitle_font.h"
#include "render/subtitle_raster.h"
#include "test_files.h"
#include "ui/preview_pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtEndian>

namespace marvoxa::test {

namespace {

constexpr quint32 kRed = 0x0051F05A;

void PutBigEndian32(QByteArray& bytes, qsizetype position, quint32 value) {
    if (bytes.size() < position + 4) {
        bytes.resize(position + 4, '\0');
    }
    qToBigEndian(value, bytes.data() + position);
}

}  // namespace

StoredPalette PaletteWithGreys(std::initializer_list<std::pair<int, int>> indexAndY) {
    StoredPalette values;
    values.fill(kRed);
    for (const auto& [index, y] : indexAndY) {
        values[static_cast<size_t>(index)] = quint32(y) << 16 | 0x8080;
    }
    return values;
}

StoredPalette PolycromaticPalette() {
    return PaletteWithGreys({{0, 0x10}, {1, 0x80}, {2, 0xEB}});
}

StoredPalette MonocromaticPalette() {
    return PaletteWithGreys({{0, 0x10}, {2, 0xEB}});
}

QByteArray IfoBytes(const StoredPalette& palette, VideoStandard standard) {
    constexpr quint32 kSector = 1;
    constexpr quint32 kChainOffset = 0x100;
    QByteArray ifo(4096, '\0');
    PutBigEndian32(ifo, 204, kSector);
    PutBigEndian32(ifo, kSector * 2048 + 12, kChainOffset);
    for (int entry = 0; entry < kPaletteSize; ++entry) {
        PutBigEndian32(ifo, kSector * 2048 + kChainOffset + 164 + 4 * entry,
                       palette[static_cast<size_t>(entry)]);
    }
    // Bit 0x1000 of the attributes word chooses PAL.
    ifo[512] = standard == VideoStandard::Pal ? char(0x51) : char(0x41);
    ifo[513] = char(0x3C);
    return ifo;
}

QByteArray SrtBytes(const QList<QPair<QString, QString>>& cues) {
    QString text;
    for (int index = 0; index < cues.size(); ++index) {
        text += QStringLiteral("%1\n00:00:%2,000 --> 00:00:%3,000\n")
                    .arg(index + 1)
                    .arg(index * 2 + 1, 2, 10, QLatin1Char('0'))
                    .arg(index * 2 + 2, 2, 10, QLatin1Char('0'));
        text += cues[index].first + QLatin1Char('\n');
        if (!cues[index].second.isEmpty()) {
            text += cues[index].second + QLatin1Char('\n');
        }
        text += QLatin1Char('\n');
    }
    return text.toUtf8();
}

QString PaletteView(const TForm1& form) {
    const Form1Controls& c = form.controls();
    const auto flag = [](bool set, const char* name) {
        return (set ? QString() : QStringLiteral("-")) + QLatin1String(name);
    };
    const ColourRoles roles = form.colourRoles();
    return QStringList{
        c.i_dont_have_ifo->isChecked() ? QStringLiteral("ticked") : QStringLiteral("unticked"),
        c.Button1->isEnabled() ? QStringLiteral("load") : QStringLiteral("no-load"),
        c.Pal->isEnabled() && c.Ntsc->isEnabled() ? QStringLiteral("std-free")
                                                  : QStringLiteral("std-fixed"),
        c.Ntsc->isChecked() ? QStringLiteral("NTSC") : QStringLiteral("PAL"),
        QStringLiteral("roles %1%2%3%4")
            .arg(roles.antialias)
            .arg(roles.outline)
            .arg(roles.text)
            .arg(roles.background),
        flag(form.paletteReady(), "ready"),
        flag(form.noIfo(), "noIfo"),
        flag(form.monoIfo(), "monoIfo"),
        QStringLiteral("swatches %1").arg(form.swatchRow().squares().size())}
        .join(u' ');
}

MainWindowTest::MainWindowTest() : form_(std::make_unique<TForm1>(prompts_)) {}

MainWindowTest::~MainWindowTest() = default;

QString MainWindowTest::writeFile(const QString& name, const QByteArray& bytes) {
    return WriteFile(dir_, name, bytes);
}

void MainWindowTest::loadIfo(const StoredPalette& palette, VideoStandard standard) {
    prompts_.fileAnswers << writeFile(QStringLiteral("VTS_01_0.IFO"), IfoBytes(palette, standard));
    c().Button1->click();
}

void MainWindowTest::tickNoIfo() {
    c().i_dont_have_ifo->click();
}

void MainWindowTest::loadSubtitle(const QString& name, const QByteArray& bytes) {
    prompts_.fileAnswers << writeFile(name, bytes);
    c().Button2->click();
}

void MainWindowTest::pick(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void MainWindowTest::selectCue(int row) {
    c().ListBox1->setCurrentRow(row);
}

QImage MainWindowTest::Background(VideoStandard standard) {
    return PreviewBackground(standard, QString());
}

QImage MainWindowTest::backgroundWith(const QString& firstLine, const QString& secondLine) const {
    const RenderSettings settings = form_->renderSettings();
    QImage picture = PreviewBackground(settings.standard, QString());
    const RasterizedSubtitle subtitle = RasterizeSubtitle(firstLine, secondLine, settings);
    PaintRaster(picture, subtitle.raster, form_->palette()->roleColours(form_->colourRoles()));
    return picture;
}

}  // namespace marvoxa::test
