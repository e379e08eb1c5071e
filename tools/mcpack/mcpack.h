// Pieces of the package tool that touch files and third-party formats; the checks themselves
// live in the core (package/package_check.h) so the tool judges a package as the client reads it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "package/package_check.h"

namespace mcpack {

inline constexpr int kExitClean = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUsage = 2;  // also files that cannot be read or written

// The whole file; nothing when it is not a regular file or cannot be read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::filesystem::path& path);
bool IsReadableFolder(const std::filesystem::path& dir);

// The package check of the folder DIR, whose entries are the files under it.
std::vector<mc::PackageProblem> Check(const std::string& dir);

struct ZipFile {
  std::string name;  // entry name as stored, "/" separated
  std::vector<uint8_t> data;
};

// Writes a standalone ZIP archive at path: the files in the given order, deflated, every
// timestamp the same, so equal inputs give equal bytes. False when the file cannot be written.
bool WriteZip(const std::string& path, const std::vector<ZipFile>& files);

// mcpack preview, given the arguments after the command's name. Returns the exit status.
int RunPreview(const std::vector<std::string>& args);

}  // namespace mcpack
