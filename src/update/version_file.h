// The version file on the update server and the configured version: "major.minor" texts
// compared as two signed numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mc {

// Only this many bytes of the version file are read.
inline constexpr size_t kVersionLineMax = 126;

struct Version {
  int32_t major = 0;
  int32_t minor = 0;
};

// Splits at "." skipping empty pieces (so leading or repeated dots are ignored); the first
// piece is the major and the second the minor number, each read as a strtol-style decimal
// (0 without digits). Further pieces are ignored, missing ones count as 0.
Version ParseVersion(std::string_view text);

// Newer exactly when the major is greater, or the majors are equal and the minor is greater.
bool IsNewerVersion(const Version& published, const Version& local);

// The first line of a version file from its leading bytes: at most kVersionLineMax bytes,
// cut at the first CR or LF. A NUL also ends it, as it ends the text of a C string.
std::string VersionLine(std::string_view head);

}  // namespace mc
