#include "package/gtk/mapped_file.h"

#include "platform/gtk/file_mapping.h"

namespace mc::gtk {

std::unique_ptr<MappedFile> MapFile(const std::string& path, MapError& error) {
  FileMapping::Error failure = FileMapping::Error::kNone;
  std::unique_ptr<FileMapping> mapping = FileMapping::Open(path, failure);
  error = failure == FileMapping::Error::kCannotOpen      ? MapError::kCannotOpen
          : failure == FileMapping::Error::kMappingFailed ? MapError::kMappingFailed
                                                          : MapError::kNone;
  if (!mapping) return nullptr;
  return std::make_unique<OwnedMapping<FileMapping>>(std::move(mapping));
}

}  // namespace mc::gtk
