#include "app/desktop_entry.h"

#include <vector>

#include "package/program_name.h"

namespace mc {
namespace {

// Runs the program given as the next argument ($0 of the script).
constexpr char kShellExec[] = "/bin/sh -c \"exec \\\"\\$0\\\"\"";

// Key-file level escaping of a value.
std::string EscapeValue(std::string_view value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  if (!out.empty() && out.front() == ' ') out.replace(0, 1, "\\s");
  return out;
}

std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default: out += '\\'; out += value[i];
    }
  }
  return out;
}

// Exec argument quoting: always quoted, so spaces and shell characters stay literal; inside
// the quotes ", `, $ and \ take a backslash, and % is doubled (field codes).
std::string QuoteExecArgument(std::string_view arg) {
  std::string out = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  return out + "\"";
}

// The words of an Exec command: quoted words lose their quotes and the backslash before
// ", `, $ and \; "%%" is a literal "%" (other field codes stay as written). nullopt for an
// unterminated quote.
std::optional<std::vector<std::string>> SplitExec(std::string_view cmd) {
  std::vector<std::string> words;
  size_t i = 0;
  while (true) {
    while (i < cmd.size() && (cmd[i] == ' ' || cmd[i] == '\t')) ++i;
    if (i >= cmd.size()) return words;
    std::string word;
    if (cmd[i] == '"') {
      for (++i;; ++i) {
        if (i >= cmd.size()) return std::nullopt;
        const char c = cmd[i];
        if (c == '"') break;
        if (c == '\\' && i + 1 < cmd.size()) {
          word += cmd[++i];
          continue;
        }
        if (c == '%' && i + 1 < cmd.size() && cmd[i + 1] == '%') ++i;
        word += c;
      }
      ++i;
    } else {
      for (; i < cmd.size() && cmd[i] != ' ' && cmd[i] != '\t'; ++i) {
        if (cmd[i] == '%' && i + 1 < cmd.size() && cmd[i + 1] == '%') ++i;
        word += cmd[i];
      }
    }
    words.push_back(std::move(word));
  }
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

}  // namespace

std::string DesktopEntryText(std::string_view name, std::string_view program) {
  std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
  text += "Name=" + EscapeValue(name) + "\n";
  // GIO looks the first word of Exec up as a program before it expands "%%" to "%", so a
  // path with "%" would never be found: such a path goes to /bin/sh as an argument, where
  // the expansion does reach it.
  const std::string command =
      program.find('%') == std::string_view::npos
          ? QuoteExecArgument(program)
          : std::string(kShellExec) + " " + QuoteExecArgument(program);
  text += "Exec=" + EscapeValue(command) + "\n";
  // Started in its own folder, where an update downloads and renames it.
  const std::string folder = ProgramFolder(program, '/');
  if (!folder.empty()) text += "Path=" + EscapeValue(folder) + "\n";
  text += "Terminal=false\n";
  return text;
}

std::optional<std::string> DesktopEntryProgram(std::string_view text) {
  std::optional<std::string> exec;
  bool inGroup = false;
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    std::string_view line = Trim(text.substr(0, eol));
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!inGroup || eq == std::string_view::npos || Trim(line.substr(0, eq)) != "Exec") continue;
    if (!exec) exec = UnescapeValue(Trim(line.substr(eq + 1)));
  }
  if (!exec) return std::nullopt;
  const std::optional<std::vector<std::string>> args = SplitExec(*exec);
  if (!args || args->empty() || args->front().empty()) return std::nullopt;
  // The form written for paths with "%": the program is the shell's $0.
  if (args->size() >= 4 && ((*args)[0] == "/bin/sh" || (*args)[0] == "sh") &&
      (*args)[1] == "-c" && (*args)[2] == "exec \"$0\"")
    return (*args)[3];
  return args->front();
}

}  // namespace mc
