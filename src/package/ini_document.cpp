// SimpleIni parses the configuration text: 8-bit strings (UTF-8 mode off), one value per key
// (the last wins), no multi-line values, and a GBK-aware case-insensitive comparator.
//
// In two places SimpleIni 4.19 reads a text differently from the dialect deployed
// configuration texts are written for, so Load rewrites those spots before parsing:
// - SimpleIni drops a UTF-8 byte-order mark at the start of the text. Our texts are GBK and
//   the mark belongs to the first line, so a "[global]" right after it is no header. A line
//   end put in front of the mark keeps SimpleIni from recognising it.
// - After "[" SimpleIni skips white space across line ends, so a line holding only "[" and
//   blanks swallows the next line ("[\nglobal]" would name "global"). Such a line is a
//   header without "]", which hides the entries up to the next valid header. A second "["
//   after the first keeps the broken header on its own line; the entries after it then go
//   to a section whose name holds a line end, which no lookup can name.

#include "package/ini_document.h"

#include <new>
#include <vector>

#define SI_NO_CONVERSION  // 8-bit only: no wide-character converters, no windows.h
#define SI_IMPLEMENTATION  // Debian's header keeps the template bodies behind this switch
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#include <SimpleIni.h>
#pragma GCC diagnostic pop

#include "package/gbk.h"

namespace mc {

namespace {

constexpr unsigned char FoldAscii(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Positions of the "[" of every line that holds nothing but blanks, "[" and blanks.
std::vector<size_t> FindBareBrackets(std::string_view text) {
  std::vector<size_t> found;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    size_t i = pos;
    while (i < end && IsBlank(text[i])) ++i;
    if (i < end && text[i] == '[') {
      const size_t bracket = i++;
      while (i < end && IsBlank(text[i])) ++i;
      if (i == end) found.push_back(bracket);
    }
    pos = end + 1;
  }
  return found;
}

}  // namespace

bool GbkNoCase::operator()(const char* left, const char* right) const {
  auto l = reinterpret_cast<const unsigned char*>(left);
  auto r = reinterpret_cast<const unsigned char*>(right);
  for (;;) {
    // Lead bytes are never ASCII letters, so folding leaves them alone; equal first bytes
    // mean both sides start the same kind of character.
    const unsigned char a = FoldAscii(*l), b = FoldAscii(*r);
    if (a != b) return a < b;
    if (a == 0) return false;
    ++l, ++r;
    if (IsGbkLeadByte(a)) {
      if (*l != *r) return *l < *r;  // trail bytes compare unfolded
      if (*l == 0) return false;
      ++l, ++r;
    }
  }
}

struct IniDocument::Impl {
  CSimpleIniTempl<char, GbkNoCase, SI_ConvertA<char>> ini{/*isUtf8=*/false, /*multiKey=*/false,
                                                          /*multiLine=*/false};
};

IniDocument::IniDocument() : impl_(std::make_unique<Impl>()) {}
IniDocument::~IniDocument() = default;
IniDocument::IniDocument(IniDocument&&) noexcept = default;
IniDocument& IniDocument::operator=(IniDocument&&) noexcept = default;

bool IniDocument::Load(const char* data, size_t size) {
  try {
    if (!impl_) impl_ = std::make_unique<Impl>();
    impl_->ini.Reset();
    std::string_view text = data ? std::string_view(data, size) : std::string_view();
    text = text.substr(0, text.find('\0'));
    if (text.size() > kMaxTextSize) return false;

    const bool bom = text.starts_with("\xEF\xBB\xBF");
    const std::vector<size_t> bare = FindBareBrackets(text);
    std::string rewritten;
    if (bom || !bare.empty()) {
      rewritten.reserve(text.size() + 1 + bare.size());
      if (bom) rewritten += '\n';
      size_t copied = 0;
      for (const size_t bracket : bare) {
        rewritten.append(text, copied, bracket + 1 - copied);
        rewritten += '[';
        copied = bracket + 1;
      }
      rewritten.append(text, copied);
      text = rewritten;
    }
    if (impl_->ini.LoadData(text.data(), text.size()) < 0) {
      impl_->ini.Reset();
      return false;
    }
    return true;
  } catch (const std::bad_alloc&) {
    if (impl_) impl_->ini.Reset();
    return false;
  }
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  // Names with a NUL cannot occur in the text; SimpleIni would see only their first part.
  if (!impl_ || section.find('\0') != std::string_view::npos ||
      key.find('\0') != std::string_view::npos)
    return std::nullopt;
  const char* value = impl_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

bool IniDocument::HasSection(std::string_view section) const {
  if (!impl_ || section.find('\0') != std::string_view::npos) return false;
  return impl_->ini.GetSection(std::string(section).c_str()) != nullptr;
}

}  // namespace mc
