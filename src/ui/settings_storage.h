#pragma once

#include <QLatin1String>
#include <QObject>
#include <QString>

namespace marvoxa {

class Prompts;
class TForm1;

inline constexpr QLatin1String kSettingsFileName("Marvoxa_Settings.ini");

// The two folders the settings file may live in.
struct SettingsLocation {
    // The folder of the program's executable: used when a file can be created there, as in a
    // portable copy.
    QString programFolder;
    // The per-user configuration folder: used when the program is installed where it cannot
    // write; created when first needed.
    QString userFolder;

    // The executable's folder (none when it is a system program folder) and Qt's application
    // configuration folder, ~/.config/Marvoxa.
    static SettingsLocation ForThisProgram();
};

// True for a folder under /usr, where the package and `cmake --install` put the programs. Such a
// folder never holds the settings, even when root could write there: /usr may be mounted
// read-only, and removing the package must leave nothing of it in /usr.
bool IsSystemProgramFolder(const QString& folder);

// The settings file for location: in the program's folder when that folder takes a new file,
// otherwise in the user's folder. Reading and writing both use this choice.
QString SettingsFilePath(const SettingsLocation& location);

// Keeps the main window's style choices, its custom preview pictures and its placement in the
// settings file: restores them over the start-up defaults when the window is first shown, and
// writes them when it closes (or, without a close, when the application quits). A file that
// cannot be written is reported once through prompts.
class SettingsStorage : public QObject {
    Q_OBJECT

public:
    SettingsStorage(TForm1& form, Prompts& prompts, const SettingsLocation& location);

    const QString& filePath() const { return path_; }

private:
    void restore();
    void save();

    TForm1& form_;
    Prompts& prompts_;
    QString path_;
    bool saved_ = false;
    bool failureReported_ = false;
};

}  // namespace marvoxa
