#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The host of `url`: the text behind the first "http://" (searched case-sensitively; the whole URL
// when there is none) up to the first "/", cut in front of its first ":" unless `keep_port`, in
// lower case (ASCII letters only, so code page 936 bytes stay as they are).
std::string UrlHost(std::string_view url, bool keep_port);

// The number written after the first ":" of the host with its port; 80 when there is no ":".
// Text that does not start with a digit gives 0, a number beyond 65535 gives 65536; neither is a
// port a connection accepts, except 0, which stands for the default port.
int UrlPort(std::string_view url);

// The path of `url` with its query: from the first "/" behind the host to the end, or "/".
std::string UrlPath(std::string_view url);

// True for a host a request may be sent to: a name or IPv4 address of ASCII letters, digits,
// ".", "-" and "_", neither empty nor starting with ".".
bool IsPlainHostName(std::string_view host);

}  // namespace velmora
