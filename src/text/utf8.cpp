#include "text/utf8.h"

namespace velmora {

std::size_t Utf8Prefix(std::string_view text, std::size_t count) {
  const auto continues = [&](std::size_t i) {
    return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
  };
  std::size_t i = 0;
  for (std::size_t seen = 0; i < text.size() && seen < count; ++seen) {
    ++i;
    while (i < text.size() && continues(i)) ++i;
  }
  return i;
}

}  // namespace velmora
