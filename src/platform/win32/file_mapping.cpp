#include "platform/win32/file_mapping.h"

namespace mc::win32 {

std::unique_ptr<FileMapping> FileMapping::Open(const std::string& path, Error& error) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = Error::kCannotOpen;
    return nullptr;
  }
  const DWORD size = GetFileSize(file.get(), nullptr);
  ScopedHandle mapping;
  if (size != 0 && size != INVALID_FILE_SIZE)
    mapping.reset(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.valid()) {
    error = Error::kMappingFailed;
    return nullptr;
  }
  const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) {
    error = Error::kViewFailed;
    return nullptr;
  }
  error = Error::kNone;
  return std::unique_ptr<FileMapping>(
      new FileMapping(file.release(), mapping.release(), view, size));
}

}  // namespace mc::win32
