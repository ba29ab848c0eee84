#pragma once

namespace marvoxa {

// Qt warns on standard error each time a face it tries for a script lacks the OpenType tables
// that script needs ("OpenType support missing for ..."). Trying faces in turn is how every
// fallback finds the right one, and a script no face draws is named by the missing-glyph
// notice, so these warnings only alarm. Drops them and passes every other message on.
void QuietFontFallbackWarnings();

}  // namespace marvoxa
