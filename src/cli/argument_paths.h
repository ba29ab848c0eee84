#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace marvoxa {

// Turns the converter's raw arguments into text. A file name that is not valid in the local
// 8-bit encoding cannot be held in a QString and still open; such an argument becomes the path of
// a link, in a private folder, to the very bytes given, so the file still opens.
class ArgumentPaths {
public:
    QString text(const QByteArray& raw);

    // For an argument that text() turned into a link: a path of the original file's folder, where
    // the outputs belong. Nothing for an argument that is its own text.
    std::optional<QString> originalFolder(const QString& argument);

private:
    QString linkTo(const QByteArray& absoluteTarget, const QString& name);

    std::unique_ptr<QTemporaryDir> links_;
    int linkCount_ = 0;
    QHash<QString, QByteArray> targets_;  // link path -> absolute raw path
};

}  // namespace marvoxa
