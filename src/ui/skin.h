#pragma once

#include <array>

namespace velmora {

class Window;
struct Settings;

// The look of one interface style: the caption of its choice in the options dialog, the window
// background (1024 x 768, drawn from the top-left corner) and the faces of the main window's
// settings and help buttons.
struct SkinStyle {
  const char* caption;
  const char* background;
  const char* settings_face;
  const char* help_face;
};

inline constexpr std::array<SkinStyle, 3> kSkinStyles = {{
    {"蓝幽魅影", ":/pictures/background-1.jpg", ":/pictures/settings-face-1.png",
     ":/pictures/help-face-1.png"},
    {"绿水青山", ":/pictures/background-2.jpg", ":/pictures/settings-face-2.png",
     ":/pictures/help-face-2.png"},
    {"Vista", ":/pictures/background-3.jpg", ":/pictures/settings-face-3.png",
     ":/pictures/help-face-3.png"},
}};

// Corners of every window's outline, and the opacity (of 255) of the secondary windows.
inline constexpr int kOutlineCorner = 15;
inline constexpr int kSecondaryWindowOpacity = 234;

// The style's row, or nullptr for a number that names no style.
const SkinStyle* FindSkinStyle(int style);

// The interface style the settings file names (style 1 when absent).
int ReadInterfaceStyle();

// Reads the interface style from the settings file (style 1 when absent) into
// `settings.InterfaceStyle` and dresses the window in it; a number other than 1, 2 or 3 leaves
// the window as designed.
void ApplyInterfaceStyle(Settings& settings, Window* window);

// The rounded outline of the window's current size, then the translucency of the secondary
// windows where the platform can draw it.
void ApplyWindowShape(Window* window);

}  // namespace velmora
