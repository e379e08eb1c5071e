#include "update/update_url.h"

#include <algorithm>

#include "package/gbk.h"

namespace mc {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::string BuildUrl(std::string_view host, int32_t port, std::string_view path) {
  if (host.empty()) return std::string();
  std::string url;
  if (!StartsWithNoCase(host, "http://") && !StartsWithNoCase(host, "https://")) url = "http://";
  // The configuration fields keep this below 300 characters.
  url.append(host);
  url += ':';
  url += std::to_string(port);
  url.append(path);
  return url;
}

std::string EscapeUnsafeUrlBytes(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(url.size());
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string FileNameFromUrl(std::string_view path) {
  const size_t slash = FindLastOf(path, '/');
  const size_t backslash = FindLastOf(path, '\\');
  size_t last = std::string_view::npos;
  if (slash != std::string_view::npos) last = slash;
  if (backslash != std::string_view::npos)
    last = last == std::string_view::npos ? backslash : std::max(last, backslash);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

}  // namespace mc
