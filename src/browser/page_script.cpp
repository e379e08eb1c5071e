#include "browser/page_script.h"

#include <cstdint>
#include <cstdio>

namespace mc {
namespace {

// Words that cannot name a function to call: reserved words, and `arguments`, which inside the
// call body would mean the body's own arguments.
constexpr std::string_view kReservedWords[] = {
    "arguments", "await", "break", "case", "catch", "class", "const", "continue", "debugger",
    "default", "delete", "do", "else", "enum", "export", "extends", "false", "finally", "for",
    "function", "if", "implements", "import", "in", "instanceof", "interface", "let", "new", "null",
    "package", "private", "protected", "public", "return", "static", "super", "switch", "this",
    "throw", "true", "try", "typeof", "var", "void", "while", "with", "yield"};

// Decodes one UTF-8 sequence at text[i]; advances i. Returns U+FFFD for an invalid or cut
// sequence (one byte consumed), so malformed input can never hide a quote.
uint32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) {
    ++i;
    return c;
  }
  size_t length = 0;
  uint32_t cp = 0;
  uint32_t min = 0;
  if ((c & 0xE0) == 0xC0) {
    length = 2, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    length = 3, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    length = 4, cp = c & 0x07, min = 0x10000;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + length > text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += length;
  return cp;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::string ScriptStringLiteral(std::string_view utf8) {
  std::string out = "\"";
  out.reserve(utf8.size() + 2);
  for (size_t i = 0; i < utf8.size();) {
    const uint32_t cp = NextCodePoint(utf8, i);
    switch (cp) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (cp < 0x20 || cp == '<' || cp == 0x7F || cp == 0x2028 || cp == 0x2029) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(cp));
          out += escape;
        } else {
          AppendUtf8(out, cp);
        }
    }
  }
  out += '"';
  return out;
}

bool IsScriptIdentifier(std::string_view name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !(digit && i > 0)) return false;
  }
  for (std::string_view word : kReservedWords) {
    if (name == word) return false;
  }
  return true;
}

std::string ExternalObjectScript(std::string_view handler,
                                 const std::vector<std::string>& methods) {
  std::string names;
  for (const std::string& method : methods) {
    if (!IsScriptIdentifier(method)) continue;
    if (!names.empty()) names += ',';
    names += ScriptStringLiteral(method);
  }
  // The channel and the functions used to reach it are looked up once, before any page script
  // runs, so a page that later replaces window.webkit, JSON or bind cannot redirect the calls;
  // messages are put together with operators only (no Array.prototype method a page could
  // replace), and the finished text is measured once more before it leaves.
  // The channel's name is known to this script only (the receiver makes it up), so a page
  // cannot post to it directly; the checks here keep what the page sends within the bounds the
  // receiver enforces anyway. UTF-8 of a JSON text takes at most three bytes per code unit.
  std::string script;
  script += "(function () {\n";
  script += "  var post = null;\n";
  script += "  try {\n";
  script += "    var channel = window.webkit.messageHandlers[" + ScriptStringLiteral(handler) +
            "];\n";
  script += "    post = channel.postMessage.bind(channel);\n";
  script += "  } catch (e) {}\n";
  script += "  var stringify = JSON.stringify, toText = String;\n";
  script += "  var names = [" + names + "];\n";
  script += "  var maxCalls = " + std::to_string(kMaxCallsPerMessage) +
            ", maxArguments = " + std::to_string(kMaxArgumentsPerCall) +
            ", maxBytes = " + std::to_string(kMaxMessageTextBytes) + ";\n";
  script +=
      "  function typed(v) {\n"
      "    var t = typeof v;\n"
      "    if (t === 'string') return 's' + v;\n"
      "    if (t === 'number') return 'n' + toText(v);\n"
      "    if (t === 'boolean') return v ? 'b1' : 'b0';\n"
      "    if (v === null) return 'z';\n"
      "    if (t === 'undefined') return 'u';\n"
      "    return 'o';\n"
      "  }\n"
      "  var queued = [], queuedBytes = 2;\n"
      "  function flush() {\n"
      "    var n = queued.length;\n"
      "    if (!n) return;\n"
      "    var text = '[';\n"
      "    for (var i = 0; i < n; i++) text += (i ? ',' : '') + queued[i];\n"
      "    text += ']';\n"
      "    queued = [];\n"
      "    queuedBytes = 2;\n"
      "    if (text.length > maxBytes) return;\n"
      "    post(text);\n"
      "  }\n"
      "  var later = typeof queueMicrotask === 'function' ? queueMicrotask :\n"
      "      function (f) { Promise.resolve().then(f); };\n"
      "  var external = {};\n"
      "  names.forEach(function (name) {\n"
      "    external[name] = function () {\n"
      "      if (!post || arguments.length > maxArguments) return;\n"
      "      var call = [name];\n"
      "      for (var i = 0; i < arguments.length; i++) call[i + 1] = typed(arguments[i]);\n"
      "      var text = stringify(call), bytes = 3 * text.length + 1;\n"
      "      if (bytes + 2 > maxBytes) return;\n"
      "      if (queuedBytes + bytes > maxBytes || queued.length >= maxCalls) flush();\n"
      "      queued[queued.length] = text;\n"
      "      queuedBytes += bytes;\n"
      "      if (queued.length === 1) later(flush);\n"
      "    };\n"
      "  });\n"
      "  try {\n"
      "    Object.defineProperty(window, 'external', {value: Object.freeze(external),\n"
      "      writable: false, configurable: false, enumerable: true});\n"
      "  } catch (e) {}\n"
      "})();\n";
  return script;
}

std::string CallArgumentName(size_t index) { return "mcArg" + std::to_string(index); }

std::string FunctionCallBody(std::string_view name, size_t argCount) {
  if (!IsScriptIdentifier(name)) return std::string();
  std::string body = "return ";
  body += name;
  body += '(';
  for (size_t i = 0; i < argCount; ++i) {
    if (i) body += ", ";
    body += CallArgumentName(i);
  }
  body += ");";
  return body;
}

}  // namespace mc
