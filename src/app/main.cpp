#include "ui/prompts.h"
#include "ui/unit1.h"

#if __has_include("ui/unit2.h")
#include "ui/unit2.h"
#define MARVOXA_HAS_ABOUT_WINDOW 1
#endif

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvoxa"));

    marvoxa::DesktopPrompts prompts;
    marvoxa::TForm1 form1(prompts);
#ifdef MARVOXA_HAS_ABOUT_WINDOW
    marvoxa::TForm2 form2(prompts);
    // Closing the main window ends the program, also while the About window is open.
    form2.setAttribute(Qt::WA_QuitOnClose, false);
    form1.setAboutWindow(&form2);
#endif
    form1.centreOnScreen();
    form1.show();
    return QApplication::exec();
}
