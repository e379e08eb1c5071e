#include "package/win32/mapped_file.h"

#include "platform/win32/file_mapping.h"

namespace mc::win32 {

std::unique_ptr<MappedFile> MapFile(const std::string& path, MapError& error) {
  FileMapping::Error failure = FileMapping::Error::kNone;
  std::unique_ptr<FileMapping> mapping = FileMapping::Open(path, failure);
  switch (failure) {
    case FileMapping::Error::kNone: error = MapError::kNone; break;
    case FileMapping::Error::kCannotOpen: error = MapError::kCannotOpen; break;
    case FileMapping::Error::kMappingFailed: error = MapError::kMappingFailed; break;
    case FileMapping::Error::kViewFailed: error = MapError::kViewFailed; break;
  }
  if (!mapping) return nullptr;
  return std::make_unique<OwnedMapping<FileMapping>>(std::move(mapping));
}

}  // namespace mc::win32
