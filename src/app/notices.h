#pragma once

#include <optional>
#include <string>
#include <vector>

#include "toolkit/toolkit.h"

namespace velmora {

// The notices the main window shows in turn and the addresses its link labels open.
struct NoticeState {
  // The notice texts (UTF-8) shown in turn on the main window, and the index of the next one.
  // The notice fetch fills a list before it starts the matching display timer.
  std::vector<std::string> MessageTexts;
  int MessageIndex = 0;
  std::vector<std::string> AdvertTexts;
  int AdvertIndex = 0;

  // Web addresses opened by the message and ownership labels (the maker's home page) and by the
  // advert label. An empty address makes its labels plain text.
  std::string HomepageAddress;
  std::string AdvertAddress;
};

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
bool StartNoticeFetch(NoticeState& state, Window* window, NoticeKind kind);

// From now on no fetch hands anything to `window`; a fetch still running ends on its own and its
// result is dropped. Also happens when the window is deleted.
void StopNoticeHandOver(Window* window);

// Registers the main window's handlers of the notices: the display timers' ticks and the clicks
// on the link labels.
void AddNoticeHandlers(HandlerTable& table, NoticeState& state);
// A tick of the message / advert display timer: the next text of the rotation.
void ShowNextMessage(NoticeState& state, Window* window);
void ShowNextAdvert(NoticeState& state, Window* window);

// The link addresses the program was built with; empty unless the build sets them.
void UseBuiltInLinkAddresses(NoticeState& state);
// The message, ownership and advert labels point with a hand while they have an address to open
// and are plain text otherwise.
void DressLinkLabels(const NoticeState& state, Window* window);

}  // namespace velmora
