#pragma once

#include <optional>
#include <string>

namespace velmora {

struct AppState;
class Window;

// The environment variable that names the notice server at run time (host[:port]). When it is
// set, even to nothing, it replaces the server the program was built with.
inline constexpr const char* kNoticeServerVariable = "VELMORA_NOTICE_SERVER";

// The notice server for this run: the environment's, else the built-in one. Empty means that no
// notice is fetched.
std::string NoticeServer();

enum class NoticeKind { kMessage, kAdvert };

// Starts the background fetch of one notice for the main window. A valid notice fills its text
// list in `state` and starts its display timer on the user-interface thread; nothing happens
// when the server is empty or invalid, the fetch fails, or the window has gone meanwhile.
// Returns whether a fetch was started.
bool StartNoticeFetch(AppState& state, Window* window, NoticeKind kind);

// From now on no fetch hands anything to `window`; a fetch still running ends on its own and its
// result is dropped. Also happens when the window is deleted.
void StopNoticeHandOver(Window* window);

}  // namespace velmora
