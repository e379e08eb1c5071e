#include "update/update_script.h"

namespace mc {
namespace {

std::string DoublePercents(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';  // "%" is never a trail byte of a double-byte code page
  }
  return out;
}

// Batch form of a path: percents escaped, then backslashes doubled.
std::string BatchPath(std::string_view path, LeadBytePredicate isLead) {
  return DoubleBackslashes(DoublePercents(path), isLead);
}

// Position of the last single-byte "\", or npos.
size_t LastBackslash(std::string_view text, LeadBytePredicate isLead) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
      ++i;
    else if (text[i] == '\\')
      found = i;
  }
  return found;
}

std::string ShellQuote(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  out += '\'';
  return out;
}

// Folder of a path including its final "/", or "" when it has none.
std::string_view FolderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view NameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string DoubleBackslashes(std::string_view text, LeadBytePredicate isLead) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    out += c;
    if (isLead(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      out += text[++i];
    } else if (c == '\\') {
      out += '\\';
    }
  }
  return out;
}

std::string BatchScriptText(std::string_view programPath, std::string_view downloadedPath,
                            std::string_view backupName, LeadBytePredicate isLead) {
  const size_t slash = LastBackslash(programPath, isLead);
  const std::string_view fileName =
      slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const std::string program = BatchPath(programPath, isLead);
  std::string text = "@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n";
  text += "rename \"" + program + "\" \"" + BatchPath(backupName, isLead) + "\"\r\n";
  text += "rename  \"" + BatchPath(downloadedPath, isLead) + "\" \"" + BatchPath(fileName, isLead) +
          "\"\r\n";
  // A download that cannot take the program's name (in use, refused) gives the program back
  // its own, so the player is never left without one.
  const std::string_view folder =
      slash == std::string_view::npos ? std::string_view() : programPath.substr(0, slash + 1);
  text += "if not exist \"" + program + "\" rename \"" + BatchPath(folder, isLead) +
          BatchPath(backupName, isLead) + "\" \"" + BatchPath(fileName, isLead) + "\"\r\n";
  text += "\"" + program + "\"\r\n";
  return text;
}

std::string ShellScriptText(std::string_view programPath, std::string_view downloadedPath,
                            std::string_view backupName) {
  const std::string program = ShellQuote(programPath);
  std::string backup(FolderOf(programPath));
  backup += backupName;
  std::string target(FolderOf(downloadedPath));
  target += NameOf(programPath);
  std::string text = "sleep 1\n";
  text += "mv -f -- " + program + " " + ShellQuote(backup) + "\n";
  // A download that cannot take the program's name gives the program back its own.
  text += "mv -f -- " + ShellQuote(downloadedPath) + " " + ShellQuote(target) + " || mv -f -- " +
          ShellQuote(backup) + " " + program + "\n";
  text += "exec " + program + "\n";
  return text;
}

}  // namespace mc
