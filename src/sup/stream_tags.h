#pragma once

#include <QString>
#include <QStringList>

namespace marvoxa {

// When several streams are made in one run, each one's files carry a tag of its language:
// "en", "fr", and "en.2" for the second stream of a language given twice. In stream order.
QStringList StreamTags(const QStringList& languages);

// "Generated.en.sup": the file of the stream with that tag.
QString TaggedStreamFileName(const QString& tag);

}  // namespace marvoxa
