#pragma once

namespace marvoxa {

// The files the extra outputs write beside Generated.sup.
inline constexpr char kVobSubIndexFileName[] = "Generated.idx";
inline constexpr char kVobSubFileName[] = "Generated.sub";
inline constexpr char kSpumuxScriptFileName[] = "Generated_spumux.xml";
inline constexpr char kSpumuxFolderName[] = "Generated_spumux";
// With several streams: the dvdauthor project naming them all.
inline constexpr char kDvdauthorProjectFileName[] = "Generated_dvdauthor.xml";

}  // namespace marvoxa
