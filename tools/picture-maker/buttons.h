#pragma once

#include <QImage>

namespace velmora::pictures {

enum class MenuFaceSide { kLeft, kRight };
enum class ButtonState { kNormal, kHover, kPressed };

// 48 x 24 faces of the two adjoining menu buttons ("设置" left, "帮助" right) for style 1 to 3.
// They carry no text: the button draws its own black caption over them.
QImage MakeMenuFace(int style, MenuFaceSide side);

// 72 x 24 face of category button 1 to 32: a light glossy gradient, each in its own hue.
QImage MakeCategoryFace(int number);

// The near-white 72 x 24 face for the category buttons' pressed and hover state.
QImage MakeButtonStateFace();

// The window's close (44 x 18) and minimise (27 x 18) image buttons.
QImage MakeCloseButton(ButtonState state);
QImage MakeMinimizeButton(ButtonState state);

}  // namespace velmora::pictures
