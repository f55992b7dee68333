#pragma once

#include <QString>
#include <string_view>

namespace velmora {

// UTF-8 text of the program's own (designs, settings, the Qt-free core) as a QString.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace velmora
