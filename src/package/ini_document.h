// The INI document of the configuration text, parsed once from memory and then only looked up.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace mc {

// Order of section and key names that ignores letter case the way the configuration texts
// expect: ASCII letters fold, a GBK double-byte character compares as a whole (its trail
// byte is never folded, even when it is an ASCII capital).
struct GbkNoCase {
  bool operator()(const char* left, const char* right) const;
};

class IniDocument {
 public:
  IniDocument();
  ~IniDocument();
  IniDocument(IniDocument&&) noexcept;
  IniDocument& operator=(IniDocument&&) noexcept;
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Texts longer than this are refused. A deployment's configuration is a few kilobytes,
  // and the document needs more than ten times a text's size when it is made of short
  // lines: a package of a few megabytes could otherwise make it take gigabytes.
  static constexpr size_t kMaxTextSize = size_t{1} << 20;

  // Replaces the document with the text data[0, size); the text ends at its first NUL.
  // False, with the document empty, when the text is longer than kMaxTextSize or could not
  // be stored (memory ran out).
  bool Load(const char* data, size_t size);

  // Value of key in section; nothing when the section or the key is absent.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // True when the text has a valid header of this section (or, for "", keys before any header).
  bool HasSection(std::string_view section) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace mc
