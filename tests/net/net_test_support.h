#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "net/http_client.h"

namespace velmora::testing {

inline constexpr std::string_view kDefaultAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
inline constexpr std::string_view kDefaultLanguageLine = "Accept-Language: zh-cn\r\n";

// The request as it must arrive: request line, the Host and User-Agent lines, then exactly the
// given header block, an empty line and the body.
inline std::string ExpectedRequest(std::string_view method, std::string_view target,
                                   std::string_view host, std::string_view block,
                                   std::string_view body = {}) {
  std::string request(method);
  request += " ";
  request += target;
  request += " HTTP/1.1\r\nHost: ";
  request += host;
  request += "\r\nUser-Agent: ";
  request += kUserAgent;
  request += "\r\n";
  request += block;
  request += "\r\n";
  request += body;
  return request;
}

// The header block of a request to `url` without extra headers.
inline std::string DefaultBlock(std::string_view url) {
  return std::string(kDefaultAcceptLine) + "Referer: " + std::string(url) + "\r\n" +
         std::string(kDefaultLanguageLine);
}

// Whether the process `pid` ("self" for this one) has a file whose name holds `name` mapped.
inline bool MapsLibrary(const std::string& pid, std::string_view name) {
  std::ifstream maps("/proc/" + pid + "/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find(name) != std::string::npos) return true;
  }
  return false;
}

}  // namespace velmora::testing
