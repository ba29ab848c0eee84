#include "render/script_faces.h"

#include <algorithm>
#include <iterator>

namespace marvoxa {

namespace {

// Indexed by QChar::Script; nullptr for Unknown, Inherited and Common.
// clang-format off
constexpr const char* kScriptNames[] = {
    nullptr, nullptr, nullptr, "Latin", "Greek", "Cyrillic", "Armenian", "Hebrew", "Arabic",
    "Syriac", "Thaana", "Devanagari", "Bengali", "Gurmukhi", "Gujarati", "Oriya", "Tamil", "Telugu",
    "Kannada", "Malayalam", "Sinhala", "Thai", "Lao", "Tibetan", "Myanmar", "Georgian", "Hangul",
    "Ethiopic", "Cherokee", "Canadian Aboriginal", "Ogham", "Runic", "Khmer", "Mongolian",
    "Hiragana", "Katakana", "Bopomofo", "Han", "Yi", "Old Italic", "Gothic", "Deseret", "Tagalog",
    "Hanunoo", "Buhid", "Tagbanwa", "Coptic", "Limbu", "Tai Le", "Linear B", "Ugaritic", "Shavian",
    "Osmanya", "Cypriot", "Braille", "Buginese", "New Tai Lue", "Glagolitic", "Tifinagh",
    "Syloti Nagri", "Old Persian", "Kharoshthi", "Balinese", "Cuneiform", "Phoenician", "Phags-pa",
    "N'Ko", "Sundanese", "Lepcha", "Ol Chiki", "Vai", "Saurashtra", "Kayah Li", "Rejang", "Lycian",
    "Carian", "Lydian", "Cham", "Tai Tham", "Tai Viet", "Avestan", "Egyptian Hieroglyphs",
    "Samaritan", "Lisu", "Bamum", "Javanese", "Meetei Mayek", "Imperial Aramaic",
    "Old South Arabian", "Inscriptional Parthian", "Inscriptional Pahlavi", "Old Turkic", "Kaithi",
    "Batak", "Brahmi", "Mandaic", "Chakma", "Meroitic Cursive", "Meroitic Hieroglyphs", "Miao",
    "Sharada", "Sora Sompeng", "Takri", "Caucasian Albanian", "Bassa Vah", "Duployan", "Elbasan",
    "Grantha", "Pahawh Hmong", "Khojki", "Linear A", "Mahajani", "Manichaean", "Mende Kikakui",
    "Modi", "Mro", "Old North Arabian", "Nabataean", "Palmyrene", "Pau Cin Hau", "Old Permic",
    "Psalter Pahlavi", "Siddham", "Khudawadi", "Tirhuta", "Warang Citi", "Ahom",
    "Anatolian Hieroglyphs", "Hatran", "Multani", "Old Hungarian", "SignWriting", "Adlam",
    "Bhaiksuki", "Marchen", "Newa", "Osage", "Tangut", "Masaram Gondi", "Nushu", "Soyombo",
    "Zanabazar Square", "Dogra", "Gunjala Gondi", "Hanifi Rohingya", "Makasar", "Medefaidrin",
    "Old Sogdian", "Sogdian", "Elymaic", "Nandinagari", "Nyiakeng Puachue Hmong", "Wancho",
    "Chorasmian", "Dives Akuru", "Khitan Small Script", "Yezidi", "Cypro-Minoan", "Old Uyghur",
    "Tangsa", "Toto", "Vithkuqi",
};
// clang-format on
static_assert(std::size(kScriptNames) == QChar::ScriptCount, "one name for every QChar::Script");

constexpr const char* kDejaVu = "DejaVu Sans";
constexpr const char* kWenQuanYi = "WenQuanYi Micro Hei";
constexpr const char* kDejaVuPackage = "fonts-dejavu-core";
constexpr const char* kWenQuanYiPackage = "fonts-wqy-microhei";
constexpr const char* kNotoPackage = "fonts-noto-core";

struct PickedFace {
    QChar::Script script;
    const char* family;
    const char* package;
};

// In the order they are tried; a script's first row names its face. DejaVu Sans and WenQuanYi
// Micro Hei drew every character the chosen face lacked before the Noto faces came, so they
// keep the scripts they drew and come first: Latin, Greek, Cyrillic, Arabic, Hebrew and CJK
// subtitles keep their pixels. DejaVu Sans has Arabic only upright, so Noto Sans Arabic draws
// slanted Arabic, which had no face at all. Scripts that need shaping take the Noto face made
// for them, never another that happens to hold a few of their letters.
constexpr PickedFace kPickedFaces[] = {
    {QChar::Script_Latin, kDejaVu, kDejaVuPackage},
    {QChar::Script_Greek, kDejaVu, kDejaVuPackage},
    {QChar::Script_Cyrillic, kDejaVu, kDejaVuPackage},
    {QChar::Script_Armenian, kDejaVu, kDejaVuPackage},
    {QChar::Script_Hebrew, kDejaVu, kDejaVuPackage},
    {QChar::Script_Arabic, kDejaVu, kDejaVuPackage},
    {QChar::Script_Georgian, kDejaVu, kDejaVuPackage},
    {QChar::Script_Lao, kDejaVu, kDejaVuPackage},
    {QChar::Script_Han, kWenQuanYi, kWenQuanYiPackage},
    {QChar::Script_Hiragana, kWenQuanYi, kWenQuanYiPackage},
    {QChar::Script_Katakana, kWenQuanYi, kWenQuanYiPackage},
    {QChar::Script_Hangul, kWenQuanYi, kWenQuanYiPackage},
    {QChar::Script_Bopomofo, kWenQuanYi, kWenQuanYiPackage},
    {QChar::Script_Arabic, "Noto Sans Arabic", kNotoPackage},
    {QChar::Script_Devanagari, "Noto Sans Devanagari", kNotoPackage},
    {QChar::Script_Bengali, "Noto Sans Bengali", kNotoPackage},
    {QChar::Script_Tamil, "Noto Sans Tamil", kNotoPackage},
    {QChar::Script_Telugu, "Noto Sans Telugu", kNotoPackage},
    {QChar::Script_Kannada, "Noto Sans Kannada", kNotoPackage},
    {QChar::Script_Malayalam, "Noto Sans Malayalam", kNotoPackage},
    {QChar::Script_Gurmukhi, "Noto Sans Gurmukhi", kNotoPackage},
    {QChar::Script_Gujarati, "Noto Sans Gujarati", kNotoPackage},
    {QChar::Script_Oriya, "Noto Sans Oriya", kNotoPackage},
    {QChar::Script_Sinhala, "Noto Sans Sinhala", kNotoPackage},
    {QChar::Script_Thai, "Noto Sans Thai", kNotoPackage},
    {QChar::Script_Khmer, "Noto Sans Khmer", kNotoPackage},
    {QChar::Script_Myanmar, "Noto Sans Myanmar", kNotoPackage},
    {QChar::Script_Ethiopic, "Noto Sans Ethiopic", kNotoPackage},
    {QChar::Script_Syriac, "Noto Sans Syriac", kNotoPackage},
};

}  // namespace

QString ScriptName(QChar::Script script) {
    const auto index = static_cast<size_t>(script);
    return index < std::size(kScriptNames) ? QString::fromLatin1(kScriptNames[index]) : QString();
}

ScriptFace FaceForScript(QChar::Script script) {
    const auto* found =
        std::find_if(std::begin(kPickedFaces), std::end(kPickedFaces),
                     [script](const PickedFace& face) { return face.script == script; });
    if (found == std::end(kPickedFaces)) {
        return {};
    }
    return {QString::fromLatin1(found->family), QString::fromLatin1(found->package)};
}

QStringList FallbackFamilies() {
    static const QStringList families = [] {
        QStringList list;
        for (const PickedFace& face : kPickedFaces) {
            if (const QString family = QString::fromLatin1(face.family); !list.contains(family)) {
                list.append(family);
            }
        }
        return list;
    }();
    return families;
}

}  // namespace marvoxa
