#include "net/notice.h"

#include <utility>

#include "net/http_client.h"

namespace velmora {

bool FetchNotice(std::string_view address, std::string_view marker,
                 const std::function<void(NoticeTexts)>& hand_over) {
  FetchOptions options;
  // A notice is a kilobyte; an endless or huge body is no notice and must not fill the memory.
  options.max_body_bytes = kNoticeBodyLimit;
  const std::string body = FetchUrl(address, options);
  std::optional<NoticeTexts> notice = ParseNotice(body, marker);
  if (!notice) return false;
  hand_over(std::move(*notice));
  return true;
}

}  // namespace velmora
