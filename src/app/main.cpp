#include "common/version.h"
#include "render/font_fallback_warnings.h"
#include "ui/prompts.h"
#include "ui/settings_storage.h"
#include "ui/unit1.h"
#include "ui/unit2.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    marvoxa::QuietFontFallbackWarnings();
    QApplication::setApplicationName(QStringLiteral("Marvoxa"));
    QApplication::setApplicationVersion(QString(marvoxa::kVersion));

    marvoxa::DesktopPrompts prompts;
    marvoxa::TForm1 form1(prompts);
    marvoxa::TForm2 form2(prompts);
    // Closing the main window ends the program, also while the About window is open.
    form2.setAttribute(Qt::WA_QuitOnClose, false);
    form1.setAboutWindow(&form2);
    // Restores the stored choices and placement when the window first shows; saves at close.
    const marvoxa::SettingsStorage settings(form1, prompts,
                                            marvoxa::SettingsLocation::ForThisProgram());
    form1.centreOnScreen();
    form1.show();
    return QApplication::exec();
}
