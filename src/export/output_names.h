#pragma once

namespace marvoxa {

// The files the extra outputs write beside Generated.sup.
inline constexpr char kVobSubIndexFileName[] = "Generated.idx";
inline constexpr char kVobSubFileName[] = "Generated.sub";
inline constexpr char kSpumuxScriptFileName[] = "Generated_spumux.xml";
inline constexpr char kSpumuxFolderName[] = "Generated_spumux";

}  // namespace marvoxa
