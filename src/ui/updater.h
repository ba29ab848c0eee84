#pragma once

#include <QLatin1String>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <memory>

class QNetworkAccessManager;

namespace marvoxa {

class Prompts;

// The maker's web server. A reserved name that never resolves: until the project has a real
// home no request may reach a stranger's server, so the check honestly reports being offline.
inline constexpr QLatin1String kMakerHost("marvoxa.invalid");
// The page whose whole body is the newest release's version string.
inline constexpr QLatin1String kVersionPagePath("divx/Versions/MarvoxaVersion.html");
inline constexpr quint16 kHttpPort = 80;
// Larger replies are not version pages; they are refused rather than shown in a box.
inline constexpr qsizetype kMaxVersionPageBytes = 4096;

// The program's page on host, opened when the user accepts an update.
QString ProductPageAddress(const QString& host);

// One manual version check: obtained for one button press, used once, then released.
class TUpdater {
public:
    // A new updater, or none (after telling the user) while another one exists. Its message
    // boxes go through prompts, parented to parent.
    static std::unique_ptr<TUpdater> Obtain(Prompts& prompts, QWidget* parent = nullptr);
    // The number of updaters that exist: 0 or 1.
    static int LiveCount();

    ~TUpdater();
    TUpdater(const TUpdater&) = delete;
    TUpdater& operator=(const TUpdater&) = delete;

    // GETs http://host:port/path and returns the body as text. On failure the user is told
    // and the result is empty. Blocks until the reply ends; user input to the windows waits.
    QString Fetch(const QString& host, const QString& path, quint16 port);

    // Fetches the version page and tells the user whether runningVersion is the newest; offers
    // to open productPageAddress when the server names another version.
    void Check(const QString& runningVersion, const QString& host, const QString& versionPagePath,
               const QString& productPageAddress, quint16 port = kHttpPort);

    // How long a request may stall before it counts as failed.
    void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

private:
    TUpdater(Prompts& prompts, QWidget* parent);
    void ReportFailure(const QString& failure);

    Prompts& prompts_;
    QPointer<QWidget> parent_;
    std::unique_ptr<QNetworkAccessManager> client_;
    std::chrono::milliseconds timeout_{15000};
};

}  // namespace marvoxa
