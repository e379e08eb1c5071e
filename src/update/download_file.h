// The local file a download writes. It takes the body as it arrives and is known under its
// name only once the whole body is in: a transfer that fails, or a process that is killed in
// the middle, must not leave a partial program next to the real one. Ports make the file
// anonymous until then where the system allows it; the plain file here is written under a
// temporary name beside and renamed, and removed on failure, which covers everything but a
// killed process. Every kind is created new: a link planted under the target's name (or the
// temporary's) is replaced or removed, never written through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace mc {

class DownloadFile {
 public:
  virtual ~DownloadFile() = default;  // a file that was not committed is removed
  virtual bool Write(const uint8_t* data, size_t size) = 0;
  // Flushes, closes and gives the file its name (replacing a file of that name). False when
  // any of it fails; the file is removed then.
  virtual bool Commit() = 0;
};

// Creates the file for a path; nullptr when it cannot be created.
using DownloadFileCreator = std::function<std::unique_ptr<DownloadFile>(const std::string& path)>;

// A file "<path>.part" made with the C library (a file or link of that name is removed
// first), renamed to path when committed.
std::unique_ptr<DownloadFile> CreatePlainDownloadFile(const std::string& path);

}  // namespace mc
