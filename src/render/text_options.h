#pragma once

namespace marvoxa {

// What is done with markup in subtitle text.
enum class MarkupMode {
    Text,    // drawn as read, tags and all
    Strip,   // tags, override blocks and control codes removed, entities decoded
    Render,  // as Strip, and italic, bold, underline and strike-out spans drawn in their style
};

// How a cue's text becomes the lines that are drawn. The defaults draw the first two lines as
// read and refuse lines too wide for the frame.
struct TextOptions {
    MarkupMode markup = MarkupMode::Text;
    // Lines too wide for the frame are broken at spaces instead of refused.
    bool wrap = false;
    // Every line of a cue is drawn, not only the first two.
    bool allLines = false;

    friend bool operator==(const TextOptions&, const TextOptions&) = default;
};

}  // namespace marvoxa
