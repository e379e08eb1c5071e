#include "browser/external_message.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "browser/page_script.h"

namespace mc {
namespace {

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xc0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xe0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (code & 0x3f));
  }
}

// A reader of the JSON subset the message uses: arrays and strings, with blanks between.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }
  bool Take(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // The elements of an array are read by the caller: true after '[' when the array is empty
  // (its ']' is taken too).
  bool EmptyArray() { return Take(']'); }
  // After an element: true when another follows (','), false at ']'; nullopt when malformed.
  std::optional<bool> NextElement() {
    if (Take(',')) return true;
    if (Take(']')) return false;
    return std::nullopt;
  }

  std::optional<std::string> String() {
    if (!Take('"')) return std::nullopt;
    std::string out;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ == text_.size()) return std::nullopt;
      const char e = text_[pos_++];
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          const std::optional<uint32_t> unit = Hex4();
          if (!unit) return std::nullopt;
          uint32_t code = *unit;
          if (code >= 0xd800 && code < 0xdc00 && text_.substr(pos_, 2) == "\\u") {
            const size_t save = pos_;
            pos_ += 2;
            const std::optional<uint32_t> low = Hex4();
            if (low && *low >= 0xdc00 && *low < 0xe000) {
              code = 0x10000 + ((code - 0xd800) << 10) + (*low - 0xdc00);
            } else {
              pos_ = save;  // not a pair: the high half stands alone
            }
          }
          if (code >= 0xd800 && code < 0xe000) code = 0xfffd;
          AppendUtf8(out, code);
          break;
        }
        default:
          return std::nullopt;
      }
    }
    return std::nullopt;  // unterminated
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
            text_[pos_] == '\r'))
      ++pos_;
  }
  std::optional<uint32_t> Hex4() {
    if (text_.size() - pos_ < 4) return std::nullopt;
    uint32_t value = 0;
    const char* begin = text_.data() + pos_;
    const auto [end, error] = std::from_chars(begin, begin + 4, value, 16);
    if (error != std::errc() || end != begin + 4) return std::nullopt;
    pos_ += 4;
    return value;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

// One argument from its typed text, or nullopt for an unknown kind.
std::optional<ScriptValue> Argument(std::string_view typed) {
  if (typed.empty()) return std::nullopt;
  const std::string_view rest = typed.substr(1);
  switch (typed.front()) {
    case 's':
      return ScriptValue::String(std::string(rest));
    case 'n': {
      if (rest == "NaN") return ScriptValue::Number(std::numeric_limits<double>::quiet_NaN());
      if (rest == "Infinity") return ScriptValue::Number(std::numeric_limits<double>::infinity());
      if (rest == "-Infinity") return ScriptValue::Number(-std::numeric_limits<double>::infinity());
      double n = 0;
      const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), n);
      if (rest.empty() || error != std::errc() || end != rest.data() + rest.size())
        return std::nullopt;
      return ScriptValue::Number(n);
    }
    case 'b':
      if (rest == "1" || rest == "0") return ScriptValue::Boolean(rest == "1");
      return std::nullopt;
    case 'z':
      return rest.empty() ? std::optional(ScriptValue::Null()) : std::nullopt;
    case 'u':
      return rest.empty() ? std::optional(ScriptValue::Undefined()) : std::nullopt;
    case 'o':
      return rest.empty() ? std::optional(ScriptValue::Object()) : std::nullopt;
    default:
      return std::nullopt;
  }
}

// One call: the strings of its array, checked against the bounds. Malformed text: nullopt
// for the whole message; a call that is well formed but not acceptable: an empty method.
std::optional<ScriptCall> ReadCall(Reader& reader, const std::vector<std::string>& offered) {
  if (!reader.Take('[') || reader.EmptyArray()) return std::nullopt;
  ScriptCall call;
  bool acceptable = true;
  size_t count = 0;
  size_t text = 0;
  for (bool more = true; more;) {
    std::optional<std::string> item = reader.String();
    if (!item) return std::nullopt;
    if (count++ == 0) {
      call.method = std::move(*item);
      acceptable = std::find(offered.begin(), offered.end(), call.method) != offered.end();
    } else if (acceptable) {
      std::optional<ScriptValue> value = Argument(*item);
      text += item->size();
      acceptable = value && call.args.size() < kMaxArgumentsPerCall && text <= kMaxCallTextBytes;
      if (acceptable) call.args.push_back(std::move(*value));
    }
    const std::optional<bool> next = reader.NextElement();
    if (!next) return std::nullopt;
    more = *next;
  }
  if (!acceptable) call = ScriptCall{};
  return call;
}

}  // namespace

std::vector<ScriptCall> ParseExternalMessage(std::string_view message,
                                             const std::vector<std::string>& offered) {
  if (message.size() > kMaxMessageTextBytes) return {};
  Reader reader(message);
  std::vector<ScriptCall> calls;
  if (!reader.Take('[')) return {};
  if (!reader.EmptyArray()) {
    size_t count = 0;
    for (bool more = true; more;) {
      if (++count > kMaxCallsPerMessage) return {};
      std::optional<ScriptCall> call = ReadCall(reader, offered);
      if (!call) return {};
      if (!call->method.empty()) calls.push_back(std::move(*call));
      const std::optional<bool> next = reader.NextElement();
      if (!next) return {};
      more = *next;
    }
  }
  if (!reader.AtEnd()) return {};
  return calls;
}

}  // namespace mc
