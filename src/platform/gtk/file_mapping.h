// A whole file mapped read-only, unmapped on destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace mc::gtk {

class FileMapping {
 public:
  enum class Error { kNone, kCannotOpen, kMappingFailed };

  // nullptr with the reason when the file cannot be opened or mapped (an empty file cannot).
  static std::unique_ptr<FileMapping> Open(const std::string& path, Error& error);

  ~FileMapping();
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  const uint8_t* data() const { return static_cast<const uint8_t*>(base_); }
  size_t size() const { return size_; }

 private:
  FileMapping(void* base, size_t size) : base_(base), size_(size) {}
  void* base_;
  size_t size_;
};

}  // namespace mc::gtk
