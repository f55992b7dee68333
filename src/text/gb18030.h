#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Decodes GB18030 (and thereby GBK / code page 936) bytes to UTF-8. Never fails: an invalid or
// truncated sequence becomes U+FFFD and decoding resumes at the next byte.
std::string Gb18030ToUtf8(std::string_view bytes);

// Encodes UTF-8 text as GB18030. GB18030 covers all of Unicode, so only malformed UTF-8 is lost:
// each invalid byte is written as the encoding of U+FFFD. The exception are the two dozen
// private-use code points (U+E78D and others) that the C library's tables of the 2022 edition no
// longer map: each such character is written as one U+FFFD.
std::string Utf8ToGb18030(std::string_view text);

// True when every byte is ASCII, so that both encodings are the identity.
bool IsAscii(std::string_view text);

}  // namespace velmora
