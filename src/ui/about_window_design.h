#pragma once

#include "toolkit/design.h"

namespace velmora {

// Names of the handlers the About window's design binds.
inline constexpr const char* kOnAboutCreated = "OnAboutCreated";
inline constexpr const char* kCloseAboutWindow = "CloseAboutWindow";
inline constexpr const char* kOpenAboutHomepage = "OpenAboutHomepage";

inline constexpr const char* kAboutPicture = ":/pictures/about-48.png";
inline constexpr const char* kAboutHomepageLabel = "透明标签5";
inline constexpr const char* kAboutLinkBox = "超级链接框1";

// The program's name and version as the About window shows them.
std::string AboutVersionText();

// The About window: title, close button, a panel with the program's picture, name and version,
// the link label of the maker's homepage (the build's homepage address) and OK.
const WindowDesign& AboutWindowDesign();

}  // namespace velmora
