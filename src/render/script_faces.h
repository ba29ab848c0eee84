#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace marvoxa {

// The script's English name as Unicode writes it ("Devanagari"); empty for characters that
// belong to no one script (blanks, digits, marks shared by several) or to none at all.
QString ScriptName(QChar::Script script);

// The face drawing a script when the chosen face lacks it, and the Debian package it comes in;
// both empty for scripts the project picks no face for (the system's fallback draws those).
struct ScriptFace {
    QString family;
    QString package;
};
ScriptFace FaceForScript(QChar::Script script);

// Every face of FaceForScript, each once, in the order they are tried after the chosen face.
QStringList FallbackFamilies();

}  // namespace marvoxa
