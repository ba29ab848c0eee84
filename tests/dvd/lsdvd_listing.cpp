#include "lsdvd_listing.h"

#include "tool_run.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace marvoxa::test {

QJsonArray LsdvdTracks(const QString& discRoot) {
    QTemporaryDir folder;
    const QString listing = folder.filePath(QStringLiteral("lsdvd.py"));
    RunTool(QStringLiteral("lsdvd"), {QStringLiteral("-x"), QStringLiteral("-Oy"), discRoot},
            folder.path(), {}, listing);
    QFile file(listing);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "lsdvd wrote nothing";
        return {};
    }
    // "lsdvd = { 'key' : value, ... }": a Python literal that is JSON but for its quotes and
    // trailing commas. Its strings hold no quotes.
    QString text = QString::fromUtf8(file.readAll());
    text = text.mid(text.indexOf(QLatin1Char('{')));
    text.replace(QLatin1Char('\''), QLatin1Char('"'));
    static const QRegularExpression kTrailingComma(QStringLiteral(",(\\s*[}\\]])"));
    text.replace(kTrailingComma, QStringLiteral("\\1"));
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError)
        << error.errorString().toStdString() << " in lsdvd's output:\n"
        << text.toStdString();
    return document.object().value(QStringLiteral("track")).toArray();
}

}  // namespace marvoxa::test
