#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <tuple>

namespace marvoxa {
namespace {

const QStringList kFonts{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Serif")};

Result<ConversionOptions> Parse(const QStringList& arguments) {
    return ParseConversionOptions(arguments, kFonts);
}

TEST(CliOptions, DefaultToTheWindowsStartUpChoices) {
    const auto options = Parse({QStringLiteral("movie.srt")});
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options.value().subtitlePath, QStringLiteral("movie.srt"));
    EXPECT_EQ(options.value().settings, RenderSettings{});
    EXPECT_TRUE(options.value().ifoPath.isEmpty());
    EXPECT_FALSE(options.value().antialias.has_value());
}

TEST(CliOptions, TakeTheListValuesAsTheWindowShowsThem) {
    const auto options = Parse({QStringLiteral("--font"),      QStringLiteral("DejaVu Sans"),
                                QStringLiteral("--size=19"),   QStringLiteral("--charset"),
                                QStringLiteral("RUSSIAN"),     QStringLiteral("--style"),
                                QStringLiteral("Bold+It+Und"), QStringLiteral("--outline"),
                                QStringLiteral("4"),           QStringLiteral("--align"),
                                QStringLiteral("right"),       QStringLiteral("--bottom-offset"),
                                QStringLiteral("492"),         QStringLiteral("--line-overlap"),
                                QStringLiteral("-13"),         QStringLiteral("--standard"),
                                QStringLiteral("ntsc"),        QStringLiteral("--text"),
                                QStringLiteral("15"),          QStringLiteral("--outline-color"),
                                QStringLiteral("0"),           QStringLiteral("--output-dir"),
                                QStringLiteral("/tmp/out"),    QStringLiteral("a.sub")});
    ASSERT_TRUE(options.ok()) << options.error().message.toStdString();
    const RenderSettings& settings = options.value().settings;
    EXPECT_EQ(settings.fontName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(settings.fontSize, 19);
    EXPECT_EQ(settings.charset, 204);
    EXPECT_EQ(settings.style.bits(), 7);
    EXPECT_EQ(settings.outlineWidth, 4);
    EXPECT_EQ(settings.align, QStringLiteral("right"));
    EXPECT_EQ(settings.bottomOffset, 492);
    EXPECT_EQ(settings.lineOverlap, -12);  // odd values move up like the track bar
    EXPECT_EQ(settings.standard, VideoStandard::Ntsc);
    EXPECT_EQ(options.value().text, 15);
    EXPECT_EQ(options.value().outline, 0);
    EXPECT_EQ(options.value().outputFolder, QStringLiteral("/tmp/out"));
}

TEST(CliOptions, RefuseValuesOutsideTheListsWithWhatTheyAccept) {
    struct Case {
        QStringList arguments;
        const char* mentions;
    };
    const QList<Case> cases = {
        {{QStringLiteral("--size"), QStringLiteral("27"), QStringLiteral("a.srt")}, "\"50\""},
        {{QStringLiteral("--style"), QStringLiteral("bold"), QStringLiteral("a.srt")}, "Bold"},
        {{QStringLiteral("--bottom-offset"), QStringLiteral("7"), QStringLiteral("a.srt")},
         "8 to 492"},
        {{QStringLiteral("--line-overlap"), QStringLiteral("11"), QStringLiteral("a.srt")},
         "-14 to 10"},
        {{QStringLiteral("--text"), QStringLiteral("16"), QStringLiteral("a.srt")}, "0 to 15"},
        {{QStringLiteral("--font"), QStringLiteral("Comic"), QStringLiteral("a.srt")}, "installed"},
        {{QStringLiteral("--standard"), QStringLiteral("secam"), QStringLiteral("a.srt")}, "ntsc"},
        {{QStringLiteral("--aspect"), QStringLiteral("21:9"), QStringLiteral("a.srt")}, "\"16:9\""},
        {{QStringLiteral("--size")}, "needs a value"},
        {{QStringLiteral("--colour"), QStringLiteral("1"), QStringLiteral("a.srt")},
         "Unknown option"},
        {{}, "Name the subtitle file"},
        {{QStringLiteral("--language"), QStringLiteral("fr,de,it"), QStringLiteral("a.srt"),
          QStringLiteral("b.srt")},
         "3 languages for 2 subtitle files"},
        {{QStringLiteral("--language"), QStringLiteral("fr,DE"), QStringLiteral("a.srt"),
          QStringLiteral("b.srt")},
         "\"fr,de\""},
        {{QStringLiteral("--ifo"), QStringLiteral("x.ifo"), QStringLiteral("--standard"),
          QStringLiteral("pal"), QStringLiteral("a.srt")},
         "IFO decides"},
        {{QStringLiteral("--also"), QStringLiteral("vobsub,mkv"), QStringLiteral("a.srt")},
         "\"vobsub\", \"dvdauthor\", \"pgs\""},
        {{QStringLiteral("--also"), QStringLiteral("pgs"), QStringLiteral("--pgs-size"),
          QStringLiteral("1920x1088"), QStringLiteral("a.srt")},
         "\"1920x1080\", \"1280x720\", \"720x480\", \"720x576\", \"3840x2160\""},
        {{QStringLiteral("--also"), QStringLiteral("pgs"), QStringLiteral("--pgs-rate"),
          QStringLiteral("23.98"), QStringLiteral("a.srt")},
         "\"23.976\", \"24\", \"25\", \"29.97\", \"50\", \"59.94\""},
        {{QStringLiteral("--pgs-size"), QStringLiteral("1280x720"), QStringLiteral("a.srt")},
         "go with --also pgs"},
        {{QStringLiteral("--language"), QStringLiteral("EN"), QStringLiteral("a.srt")},
         "two-letter"},
    };
    for (const Case& c : cases) {
        const auto options = Parse(c.arguments);
        ASSERT_FALSE(options.ok()) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(options.error().message.contains(QLatin1String(c.mentions)))
            << options.error().message.toStdString();
    }
}

TEST(CliOptions, TakeTheExtraOutputsAsACommaSeparatedList) {
    for (const auto& [list, vobSub, dvdauthor, pgs] :
         {std::tuple{"vobsub", true, false, false}, std::tuple{"dvdauthor", false, true, false},
          std::tuple{"vobsub,dvdauthor", true, true, false},
          std::tuple{"dvdauthor,vobsub", true, true, false}, std::tuple{"pgs", false, false, true},
          std::tuple{"vobsub,pgs", true, false, true}}) {
        const auto options = Parse({QStringLiteral("--also"), QLatin1String(list),
                                    QStringLiteral("--language=el"), QStringLiteral("a.srt")});
        ASSERT_TRUE(options.ok()) << list;
        EXPECT_EQ(options.value().extraOutputs.vobSub, vobSub) << list;
        EXPECT_EQ(options.value().extraOutputs.dvdauthor, dvdauthor) << list;
        EXPECT_EQ(options.value().extraOutputs.pgs, pgs) << list;
        EXPECT_EQ(options.value().extraOutputs.language, QStringLiteral("el"));
    }
    const auto sized = Parse({QStringLiteral("--also"), QStringLiteral("pgs"),
                              QStringLiteral("--pgs-size=3840x2160"), QStringLiteral("--pgs-rate"),
                              QStringLiteral("59.94"), QStringLiteral("a.srt")});
    ASSERT_TRUE(sized.ok()) << sized.error().message.toStdString();
    EXPECT_EQ(sized.value().extraOutputs.pgsSize, QSize(3840, 2160));
    EXPECT_EQ(sized.value().extraOutputs.pgsRateCode, 0x70);
    const auto defaults = Parse({QStringLiteral("a.srt")});
    EXPECT_EQ(defaults.value().extraOutputs.pgsSize, QSize(1920, 1080));
    EXPECT_EQ(defaults.value().extraOutputs.pgsRateCode, 0) << "the subtitle's rate";
    EXPECT_FALSE(defaults.value().extraOutputs.vobSub || defaults.value().extraOutputs.dvdauthor);
    EXPECT_EQ(defaults.value().extraOutputs.language, QStringLiteral("en"));
    const QString usage = UsageText(QStringLiteral("marvoxa-cli"));
    EXPECT_TRUE(usage.contains(QStringLiteral("--also LIST")));
    EXPECT_TRUE(usage.contains(QStringLiteral("--language CODE")));
}

TEST(CliOptions, TextOptionsAreOffUnlessAskedAndExplainedInTheHelp) {
    const QString usage = UsageText(QStringLiteral("marvoxa-cli"));
    for (const char* option :
         {"--markup MODE", "text:", "strip:", "render:", "--wrap", "--all-lines"}) {
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
    }
    EXPECT_EQ(Parse({QStringLiteral("movie.srt")}).value().settings.text, TextOptions{});
    const auto options = Parse({QStringLiteral("--wrap"), QStringLiteral("--markup=strip"),
                                QStringLiteral("movie.srt"), QStringLiteral("--all-lines")});
    ASSERT_TRUE(options.ok()) << options.error().message.toStdString();
    EXPECT_EQ(options.value().settings.text, (TextOptions{MarkupMode::Strip, true, true}));
    EXPECT_EQ(Parse({QStringLiteral("--markup"), QStringLiteral("render"), QStringLiteral("m.srt")})
                  .value()
                  .settings.text.markup,
              MarkupMode::Render);
    const auto wrong =
        Parse({QStringLiteral("--markup"), QStringLiteral("html"), QStringLiteral("m.srt")});
    ASSERT_FALSE(wrong.ok());
    EXPECT_EQ(
        wrong.error().message,
        QStringLiteral("--markup takes one of \"text\", \"strip\", \"render\", not \"html\"."));
}

TEST(CliOptions, HelpListsEveryOptionWithinATerminalsWidth) {
    for (const char* help : {"--help", "-h"}) {
        const auto options = Parse({QLatin1String(help)});
        ASSERT_TRUE(options.ok()) << help;
        EXPECT_TRUE(options.value().showHelp) << help;
    }
    const QString usage = UsageText(QStringLiteral("marvoxa-cli"));
    for (const char* option :
         {"--ifo", "--standard", "--font", "--size", "--charset", "--style", "--outline ",
          "--align", "--bottom-offset", "--line-overlap", "--antialias", "--outline-color",
          "--text", "--background", "--output-dir", "-h, --help"}) {
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
    }
    for (const QString& line : usage.split(QLatin1Char('\n'))) {
        EXPECT_LE(line.size(), 80) << line.toStdString();
    }
    EXPECT_TRUE(usage.contains(QStringLiteral("-14 to 10")));
    EXPECT_FALSE(usage.contains(QLatin1Char('%')));
}

}  // namespace
}  // namespace marvoxa
