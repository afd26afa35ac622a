// The program's name: the application name of the settings and the main
// window's caption.
#pragma once

namespace kvx {

inline constexpr const char* kApplicationTitle = "Kandrevoltinex 4";
inline constexpr const char* kMainWindowCaption = "Kandrevoltinex 4.6";

}  // namespace kvx
