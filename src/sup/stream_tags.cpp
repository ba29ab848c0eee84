#include "sup/stream_tags.h"

#include <QHash>

namespace marvoxa {

QStringList StreamTags(const QStringList& languages) {
    QStringList tags;
    QHash<QString, int> seen;
    for (const QString& language : languages) {
        const int count = ++seen[language];
        tags << (count == 1 ? language : language + QLatin1Char('.') + QString::number(count));
    }
    return tags;
}

QString TaggedStreamFileName(const QString& tag) {
    return QStringLiteral("Generated.%1.sup").arg(tag);
}

}  // namespace marvoxa
