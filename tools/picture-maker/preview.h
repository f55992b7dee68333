#pragma once

#include <QString>

namespace velmora::pictures {

// Draws, from the generated files in `pictures_dir`, a mock-up of the main window in each style
// and a contact sheet of all pictures into `preview_dir`, for looking at the set as a whole.
bool WritePreviews(const QString& pictures_dir, const QString& preview_dir);

// Prints how light each background is under the main window's text labels; returns false when
// white text would be hard to read on any of them.
bool CheckTextContrast(const QString& pictures_dir);

}  // namespace velmora::pictures
