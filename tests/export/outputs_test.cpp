#include "export/shown_subpicture.h"
#include "export/spumux_output.h"
#include "export/vobsub_output.h"
#include "generated_outputs.h"
#include "palette/generic_palette.h"
#include "sup/generation.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace marvoxa {
namespace {

// Fails at the chosen step, to prove that the other outputs are dropped with it.
class FailingOutput : public CueOutput {
public:
    explicit FailingOutput(int failingCue) : failingCue_(failingCue) {}
    Status begin() override { return Ok(); }
    Status add(const EncodedCue& cue) override {
        return cue.index == failingCue_ ? Status(Error{ErrorKind::Io, QStringLiteral("disk full")})
                                        : Ok();
    }
    Status finish() override { return Error{ErrorKind::Io, QStringLiteral("No space left")}; }
    Status commit() override { return Ok(); }
    void discard() override { discarded = true; }
    QStringList paths() const override { return {}; }
    bool discarded = false;

private:
    int failingCue_;
};

class ExtraOutputs : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"Generated.sup", "Generated.idx", "Generated.sub", "Generated_spumux.xml"}) {
            test::WriteFile(folder_, QLatin1String(name), QByteArrayLiteral("older"));
        }
        QDir(folder_.path()).mkdir(QStringLiteral("Generated_spumux"));
        test::WriteFile(folder_, QStringLiteral("Generated_spumux/0001.png"), "older");
        test::WriteFile(folder_, QStringLiteral("Generated_spumux/0099.png"), "older");
    }

    QString path(const QString& name) const { return folder_.filePath(name); }

    QStringList entries() const {
        return QDir(folder_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir folder_;
    const CueList cues_ = test::EdgeCues(500, 1000, 800);
    const Palette palette_ = GenericPalette();
};

TEST_F(ExtraOutputs, WriteEveryFileAndReplaceTheOlderPictureFolderWhole) {
    const test::GeneratedOutputs generated =
        test::GenerateWithOutputs(cues_, RenderSettings{}, palette_, kGenericRoles, folder_.path());
    ASSERT_EQ(generated.packets.size(), 4);
    EXPECT_EQ(entries().join(QLatin1Char(' ')),
              QStringLiteral("Generated.idx Generated.sub Generated.sup Generated_spumux "
                             "Generated_spumux.xml"));
    EXPECT_EQ(QDir(path(QStringLiteral("Generated_spumux")))
                  .entryList(QDir::Files)
                  .join(QLatin1Char(' ')),
              QStringLiteral("0001.png 0002.png 0003.png 0004.png"));
    QStringList expectedPaths{path(QStringLiteral("Generated.idx")),
                              path(QStringLiteral("Generated.sub")),
                              path(QStringLiteral("Generated_spumux.xml"))};
    for (int cue = 0; cue < 4; ++cue) {
        expectedPaths << path(SpumuxOutput::PictureName(cue));
    }
    EXPECT_EQ(generated.extraPaths, expectedPaths);

    // The pictures' pixels and places are proven on a real DVD (dvd_authoring_test); here
    // only that each is the four-colour picture of its unit's area.
    for (int cue = 0; cue < 4; ++cue) {
        const Result<ShownSubpicture> shown = DecodeShownSubpicture(generated.packets[cue].unit);
        const QImage picture(path(SpumuxOutput::PictureName(cue)));
        EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
        EXPECT_EQ(picture.colorCount(), 4);
        EXPECT_EQ(picture.size(), QSize(shown.value().width, shown.value().height));
    }
}

TEST_F(ExtraOutputs, AreAllDroppedWhenOneFailsLeavingOlderFilesIntact) {
    for (const int failingCue : {2, -1}) {  // while adding a cue, or while finishing
        SCOPED_TRACE(failingCue);
        const QStringList before = entries();
        VobSubOutput vobSub(folder_.path(), VideoStandard::Pal, palette_, QStringLiteral("en"));
        SpumuxOutput spumux(folder_.path(), palette_);
        FailingOutput failing(failingCue);
        GenerationRequest request;
        request.cueList = &cues_;
        request.renderSettings = [] { return RenderSettings{}; };
        request.colourRoles = [] { return kGenericRoles; };
        request.roleColours = palette_.roleColours(kGenericRoles);
        request.outputFolder = folder_.path();
        request.extraOutputs = {&vobSub, &spumux, &failing};
        const Result<GeneratedStream> stream = GenerateSupStream(request);
        ASSERT_FALSE(stream.ok());
        EXPECT_TRUE(stream.error().message.contains(
            QLatin1String(failingCue < 0 ? "No space left" : "disk full")));
        EXPECT_TRUE(failing.discarded);

        EXPECT_EQ(entries(), before) << "no temporary file or folder is left behind";
        for (const char* name :
             {"Generated.sup", "Generated.idx", "Generated.sub", "Generated_spumux.xml",
              "Generated_spumux/0001.png", "Generated_spumux/0099.png"}) {
            EXPECT_EQ(test::ReadFile(path(QLatin1String(name))), "older") << name;
        }
    }
}

}  // namespace
}  // namespace marvoxa
