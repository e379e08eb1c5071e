// Addresses on the update server and the local names of what is fetched from it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mc {

// scheme + host + ":" + port + path, with nothing encoded or changed. "http://" is put in
// front unless host already begins with "http://" or "https://" (any letter case); then the
// host is used as given, so a configured https server is fetched over TLS. An empty host gives
// an empty address, which no download accepts.
std::string BuildUrl(std::string_view host, int32_t port, std::string_view path);

// The address as it goes on the wire: spaces, control characters and bytes above 0x7F
// percent-encoded (as WinINet sends them), everything else, "%" included, unchanged. For HTTP
// clients that refuse such bytes instead.
std::string EscapeUnsafeUrlBytes(std::string_view url);

// The text after the last "/" or "\" of a server path (GBK: a trail byte 0x5C is no
// separator); the whole path when it has neither.
std::string FileNameFromUrl(std::string_view path);

}  // namespace mc
