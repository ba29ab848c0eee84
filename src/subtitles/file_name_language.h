#pragma once

#include <QString>

#include <optional>

namespace marvoxa {

// The language a subtitle file's name gives, as players and media servers read it: a tag
// between the film's name and the extension, as a two-letter code (film.es.srt), a
// three-letter one (film.spa.srt), an English name (film.Spanish.srt) or a tag with a region
// (film.pt-BR.srt). Tags such as "forced" or "sdh" after it are passed over. The answer is the
// two-letter code a DVD stores; nothing when the name carries no language that has one.
std::optional<QString> LanguageFromFileName(const QString& path);

}  // namespace marvoxa
