#include "render/wide_drawing_choice.h"

namespace marvoxa {

const QStringList& AspectChoiceNames() {
    static const QStringList names{QStringLiteral("auto"), QStringLiteral("4:3"),
                                   QStringLiteral("16:9")};
    return names;
}

std::optional<AspectChoice> AspectChoiceFromName(const QString& name) {
    const qsizetype index = AspectChoiceNames().indexOf(name);
    if (index < 0) {
        return std::nullopt;
    }
    return static_cast<AspectChoice>(index);
}

bool DrawsWide(AspectChoice choice, bool ifoVideoWide) {
    return choice == AspectChoice::Wide || (choice == AspectChoice::FromIfo && ifoVideoWide);
}

std::optional<QString> IfoWideNotice(AspectChoice choice, bool ifoVideoWide) {
    if (choice != AspectChoice::FromIfo || !ifoVideoWide) {
        return std::nullopt;
    }
    return QStringLiteral(
        "The IFO's video is 16:9 (wide screen): the subtitles are drawn 3/4 as wide, because "
        "players stretch them by 4/3 with the picture, so they look as they would on a 4:3 "
        "picture.\rTo draw them with square pixels, choose \"4:3 (square pixels)\" under \"Drawn "
        "for:\" in Options... (the converter: --aspect 4:3).");
}

}  // namespace marvoxa
