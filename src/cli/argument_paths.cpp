#include "cli/argument_paths.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <string>

namespace marvoxa {
namespace {

bool RoundTrips(const QByteArray& raw) {
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

QByteArray Absolute(const QByteArray& raw) {
    if (raw.startsWith('/')) {
        return raw;
    }
    std::string folder(4096, '\0');
    if (::getcwd(folder.data(), folder.size()) == nullptr) {
        return raw;
    }
    return QByteArray(folder.c_str()) + '/' + raw;
}

QByteArray FolderOf(const QByteArray& absolute) {
    const qsizetype slash = absolute.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : absolute.left(slash);
}

}  // namespace

QString ArgumentPaths::text(const QByteArray& raw) {
    if (RoundTrips(raw)) {
        return QFile::decodeName(raw);
    }
    const QByteArray absolute = Absolute(raw);
    // The name keeps its extension, which decides how a subtitle file is read.
    QString name = QFile::decodeName(absolute.mid(absolute.lastIndexOf('/') + 1));
    name.replace(QChar::ReplacementCharacter, QLatin1Char('_'));
    return linkTo(absolute, name);
}

std::optional<QString> ArgumentPaths::originalFolder(const QString& argument) {
    const auto target = targets_.constFind(argument);
    if (target == targets_.constEnd()) {
        return std::nullopt;
    }
    const QByteArray folder = FolderOf(*target);
    if (RoundTrips(folder)) {
        return QFile::decodeName(folder);
    }
    return linkTo(folder, QStringLiteral("folder"));
}

QString ArgumentPaths::linkTo(const QByteArray& absoluteTarget, const QString& name) {
    if (!links_) {
        links_ = std::make_unique<QTemporaryDir>();
    }
    // One folder per link, so that two names that read alike do not collide.
    const QString folder = links_->filePath(QString::number(++linkCount_));
    const QString link = folder + QLatin1Char('/') + name;
    if (!links_->isValid() || !QDir().mkpath(folder) ||
        ::symlink(absoluteTarget.constData(), QFile::encodeName(link).constData()) != 0) {
        return QFile::decodeName(absoluteTarget);  // opening it then fails with its name
    }
    targets_.insert(link, absoluteTarget);
    return link;
}

}  // namespace marvoxa
