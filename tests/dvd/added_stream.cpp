#include "added_stream.h"

#include "cli/cli_options.h"
#include "cli/conversion.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace marvoxa::test {

const QByteArray kPalCues =
    "1\n00:00:00,300 --> 00:00:01,500\nIn the first cell\n\n"
    "2\n00:00:02,000 --> 00:00:03,800\nAcross a cell edge\n\n"
    "3\n00:00:04,200 --> 00:00:04,800\nRestarted\n\n"
    "4\n00:00:09,000 --> 00:00:10,000\nAfter the end\n";

ConverterRun AddStream(const QString& ifo, const QString& outputFolder, const QByteArray& srt,
                       const QStringList& moreArguments) {
    QDir().mkpath(outputFolder);
    const QString subtitle = outputFolder + QStringLiteral("/cues.srt");
    QFile file(subtitle);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(srt) == srt.size());
    file.close();
    const Result<ConversionOptions> options = ParseConversionOptions(
        QStringList{QStringLiteral("--ifo"), ifo, QStringLiteral("--into-dvd"),
                    QStringLiteral("--language"), QStringLiteral("de"),
                    QStringLiteral("--output-dir"), outputFolder} +
            moreArguments + QStringList{subtitle},
        {});
    EXPECT_TRUE(options.ok()) << (options ? "" : options.error().message.toStdString());
    ConverterRun run;
    if (options) {
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        run.exitStatus = RunConversion(options.value(), out, err);
    }
    return run;
}

namespace {

struct AddedDisc {
    QTemporaryDir folder;
    TestDisc disc;
    ConverterRun run;
};

const AddedDisc& Added() {
    static std::unique_ptr<AddedDisc> added;
    if (!added) {
        added = std::make_unique<AddedDisc>();
        // Drawn square, in one drawing: the copy's packs are checked here, not the wide drawing.
        added->run = AddStream(PalDisc().ifo(1), added->folder.path(), kPalCues,
                               {QStringLiteral("--aspect=4:3")});
        added->disc.root = added->folder.path();
        added->disc.built = added->run.exitStatus == kExitDone;
        EXPECT_TRUE(added->disc.built) << added->run.err.toStdString();
    }
    return *added;
}

}  // namespace

const TestDisc& PalDiscWithAddedStream() {
    return Added().disc;
}

const ConverterRun& PalAddedRun() {
    return Added().run;
}

}  // namespace marvoxa::test
