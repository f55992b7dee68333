#pragma once

namespace velmora {

class Window;

// The tag of the first category button; the 32 buttons carry 5000 to 5031, row by row.
inline constexpr int kFirstCategoryButtonTag = 5000;
// The near-white picture every category button shows over white while pressed or under the
// mouse.
inline constexpr const char* kButtonStateImage = ":/pictures/button-state.jpg";

// Captions the 32 category buttons from section "按钮的命名" of the settings file; an absent
// name gives an empty caption.
void NameCategoryButtons(Window* window);
// Gives the buttons tagged 5000 to 5031 their pressed / hovered look.
void DressCategoryButtons(Window* window);
// Shows the button of category `page` (1 to 32) as the chosen one and every other category
// button as not chosen.
void ShowChosenCategory(Window* window, int page);

}  // namespace velmora
