#pragma once

namespace velmora {

// Puts the program's style in place once: the platform's style, drawing each control with one
// shared palette per set of colours. The style keeps the pieces it draws (button bevels) in Qt's
// pixmap cache under the palette's identity, and every control a window makes gets a palette
// object of its own; without sharing, each window opened during a run left its pieces (and their
// names, which Qt never forgets) behind for good. Sharing makes a reopened window find the pieces
// its predecessor drew. Called before the first window is built.
void UsePaletteSharingStyle();

}  // namespace velmora
