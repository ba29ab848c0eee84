#include "ui/ini_file.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace marvoxa {

namespace {

bool IsIntegerList(const QString& value) {
    static const QRegularExpression pattern(QStringLiteral("^-?\\d+(,-?\\d+)*$"));
    return pattern.match(value).hasMatch();
}

bool NeedsQuoting(const QString& value) {
    if (value.isEmpty() || IsIntegerList(value)) {
        return false;
    }
    if (value.front().isSpace() || value.back().isSpace() || value.front() == u'@') {
        return true;
    }
    return std::any_of(value.cbegin(), value.cend(), [](QChar ch) {
        return ch == u'\\' || ch == u'"' || ch == u',' || ch == u';' || ch == u'=' ||
               ch.category() == QChar::Other_Control;
    });
}

QString QuotedValue(const QString& value) {
    QString text = QStringLiteral("\"");
    // QSettings reads a leading "@@" as one "@"; a single one would start a typed value.
    if (value.startsWith(u'@')) {
        text += u'@';
    }
    for (const QChar ch : value) {
        switch (ch.unicode()) {
            case '\\':
                text += QLatin1String("\\\\");
                break;
            case '"':
                text += QLatin1String("\\\"");
                break;
            case '\n':
                text += QLatin1String("\\n");
                break;
            case '\r':
                text += QLatin1String("\\r");
                break;
            case '\t':
                text += QLatin1String("\\t");
                break;
            default:
                text += ch;
        }
    }
    return text + u'"';
}

}  // namespace

QByteArray IniSectionText(const QString& section, const IniEntries& entries) {
    QString text = u'[' + section + QLatin1String("]\n");
    for (const auto& [key, value] : entries) {
        text += key + u'=' + (NeedsQuoting(value) ? QuotedValue(value) : value) + u'\n';
    }
    return text.toUtf8();
}

QHash<QString, QString> ReadIniSection(const QString& path, const QString& section) {
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(section);
    QHash<QString, QString> values;
    for (const QString& key : file.childKeys()) {
        const QVariant value = file.value(key);
        values.insert(key, value.typeId() == QMetaType::QStringList
                               ? value.toStringList().join(u',')
                               : value.toString());
    }
    return values;
}

}  // namespace marvoxa
