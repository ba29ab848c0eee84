// What the window's controls and options say about drawing a cue.
#include "ui/unit1.h"

#include "render/wide_drawing_choice.h"
#include "ui/form1_controls.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSlider>

namespace marvoxa {

RenderSettings TForm1::renderSettings() const {
    RenderSettings settings;
    settings.fontName = c_.ComboBox5->currentText();
    settings.fontSize = c_.ComboBox6->currentText().toInt();
    settings.charset = CharsetFromName(c_.ComboBox7->currentText());
    settings.style = StyleFromName(c_.ComboBox8->currentText());
    settings.outlineWidth = c_.ComboBoxOutlineWidth->currentText().toInt();
    settings.align = c_.ComboBoxAlign->currentText();
    settings.bottomOffset = c_.offset->value();
    settings.lineOverlap = c_.offset_or->value();
    settings.standard = c_.Ntsc->isChecked() ? VideoStandard::Ntsc : VideoStandard::Pal;
    settings.text = options_.text;
    settings.wide = DrawsWide(options_.aspect, ifoVideoWide_);
    return settings;
}

ColourRoles TForm1::colourRoles() const {
    return ColourRoles{.antialias = c_.ComboBox1->currentIndex(),
                       .outline = c_.ComboBox2->currentIndex(),
                       .text = c_.ComboBox3->currentIndex(),
                       .background = c_.ComboBox4->currentIndex()};
}

}  // namespace marvoxa
