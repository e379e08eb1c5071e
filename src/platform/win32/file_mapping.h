// A whole file mapped read-only; the view, the mapping and the file close on destruction.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/win32/scoped_handles.h"

namespace mc::win32 {

class FileMapping {
 public:
  enum class Error { kNone, kCannotOpen, kMappingFailed, kViewFailed };

  // nullptr with the reason when the file cannot be opened, mapped or viewed (an empty file
  // cannot be mapped).
  static std::unique_ptr<FileMapping> Open(const std::string& path, Error& error);

  const uint8_t* data() const { return static_cast<const uint8_t*>(view_.get()); }
  size_t size() const { return size_; }

 private:
  FileMapping(HANDLE file, HANDLE mapping, const void* view, size_t size)
      : file_(file), mapping_(mapping), view_(view), size_(size) {}
  // Declared in opening order so they close in reverse.
  ScopedHandle file_;
  ScopedHandle mapping_;
  ScopedMapView view_;
  size_t size_;
};

}  // namespace mc::win32
