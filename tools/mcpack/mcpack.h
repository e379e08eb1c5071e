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

// Writes a standalone ZIP archive into the open file fd (from its start): the files in the
// given order, deflated, every timestamp the same, so equal inputs give equal bytes. False
// when the file cannot be written.
bool WriteZip(int fd, const std::vector<ZipFile>& files);

// Everything the tool writes is made new: a temporary created with O_EXCL beside the target
// (never through a link of that name) and renamed over it when whole.
// Writes bytes to path that way, readable as umask allows; false, with nothing left, on failure.
bool WriteNewFile(const std::string& path, const std::string& bytes);

// The first thing under DIR/config/ (or config itself) that cannot go into a package: what is
// not a folder or a regular file (links are not followed), or a file larger than the client
// takes from its package. Judged by type and size only: nothing is read.
struct EntryFault {
  std::string path;
  std::string what;      // "a named pipe", "70000000 bytes, more than ..."
  bool tooLarge = false;
};
std::optional<EntryFault> FirstUnpackableEntry(const std::filesystem::path& dir);

// The fault as "PATH: what; why the package cannot hold it".
std::string Describe(const EntryFault& fault);

// mcpack preview, given the arguments after the command's name. Returns the exit status.
int RunPreview(const std::vector<std::string>& args);

}  // namespace mcpack
