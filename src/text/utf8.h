#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

// Byte length of the first `count` UTF-8 characters of `text` (all of it when it holds fewer);
// a cut never falls inside a character.
std::size_t Utf8Prefix(std::string_view text, std::size_t count);

}  // namespace velmora
