#pragma once

namespace marvoxa {

enum class VideoStandard { Pal, Ntsc };

inline constexpr int kFrameWidth = 720;

inline constexpr int FrameHeight(VideoStandard standard) {
    return standard == VideoStandard::Pal ? 576 : 480;
}

}  // namespace marvoxa
