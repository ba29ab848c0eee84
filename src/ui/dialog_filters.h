#pragma once

#include <QString>
#include <QStringList>

namespace marvoxa {

// A file dialog filter named label that offers files with any of the extensions in lower and
// upper case: file systems here tell case apart, and DVD files are named in capitals.
inline QString DialogFilter(const QString& label, const QStringList& extensions) {
    QStringList patterns;
    for (const QString& extension : extensions) {
        patterns << QStringLiteral("*.") + extension.toLower();
    }
    for (const QString& extension : extensions) {
        patterns << QStringLiteral("*.") + extension.toUpper();
    }
    return label + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

}  // namespace marvoxa
