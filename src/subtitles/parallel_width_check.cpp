#include "subtitles/parallel_width_check.h"

#include "common/ordered_pipeline.h"
#include "render/subtitle_font.h"

#include <algorithm>

namespace marvoxa {

namespace {

// Enough cues that handing a block to a thread costs little next to measuring it.
constexpr size_t kBlockSize = 256;

}  // namespace

std::optional<TooWideCue> FindFirstTooWideCueOnEveryCore(const CueList& cueList,
                                                         const RenderSettings& settings) {
    DisplayDpi();  // the measuring threads use the resolution last seen on this thread
    const size_t cueCount = cueList.cues.size();
    OrderedPipeline<std::optional<TooWideCue>> pipeline;
    size_t submitted = 0;
    while (true) {
        if (submitted < cueCount && !pipeline.full()) {
            const size_t first = submitted;
            const size_t end = std::min(cueCount, first + kBlockSize);
            // Each block builds its own font: a font's engine data must not be shared by
            // threads.
            pipeline.submit([&cueList, &settings, first, end] {
                return FindFirstTooWideCue(cueList, settings, first, end);
            });
            submitted = end;
            continue;
        }
        if (pipeline.empty()) {
            return std::nullopt;
        }
        if (std::optional<TooWideCue> tooWide = pipeline.takeNext()) {
            return tooWide;
        }
    }
}

}  // namespace marvoxa
