#pragma once

#include <QString>
#include <string_view>

namespace velmora {

// Design and handler texts are UTF-8; Qt takes them as QString.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace velmora
