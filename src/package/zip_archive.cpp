// minizip reads through a table of file callbacks; here they serve a byte range in memory, so
// the archive inside the mapped program file is parsed where it lies. Entries are looked up
// by walking the central directory ourselves rather than with unzLocateFile, which cuts stored
// names to 255 bytes and compares them as C strings (a longer name or one with a NUL byte
// could then match a shorter request).
#include "package/zip_archive.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <minizip/unzip.h>

namespace mc {

// The archive bytes and minizip's read position in them.
struct ZipArchive::Source {
  const uint8_t* data;
  size_t size;
  uint64_t position;
  // minizip's byte reader takes a short read for success (UNZ_EOF is 0) unless the error
  // callback reports it, so the end of the bytes must count as an error.
  bool shortRead;

  static voidpf ZCALLBACK OpenFile(voidpf opaque, const void* /*name*/, int /*mode*/) {
    Source* s = static_cast<Source*>(opaque);
    s->position = 0;
    s->shortRead = false;
    return opaque;
  }

  static uLong ZCALLBACK ReadFile(voidpf /*opaque*/, voidpf stream, void* buffer, uLong length) {
    Source* s = static_cast<Source*>(stream);
    const uint64_t count = std::min<uint64_t>(length, s->size - s->position);
    if (count > 0) {
      std::memcpy(buffer, s->data + static_cast<size_t>(s->position), static_cast<size_t>(count));
    }
    s->position += count;
    s->shortRead = count < length;
    return static_cast<uLong>(count);
  }

  static uLong ZCALLBACK WriteFile(voidpf, voidpf, const void*, uLong) { return 0; }

  static ZPOS64_T ZCALLBACK TellFile(voidpf /*opaque*/, voidpf stream) {
    return static_cast<Source*>(stream)->position;
  }

  // Positions outside the bytes are refused, so reads never start past the end.
  static long ZCALLBACK SeekFile(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin) {
    Source* s = static_cast<Source*>(stream);
    uint64_t base = 0;
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
      case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
      case ZLIB_FILEFUNC_SEEK_END: base = s->size; break;
      default: return -1;
    }
    if (offset > s->size - base) return -1;
    s->position = base + offset;
    return 0;
  }

  static int ZCALLBACK CloseFile(voidpf, voidpf) { return 0; }
  static int ZCALLBACK FileError(voidpf /*opaque*/, voidpf stream) {
    return static_cast<Source*>(stream)->shortRead ? 1 : 0;
  }
};

namespace {

constexpr uLong kStored = 0;
constexpr uLong kDeflated = Z_DEFLATED;
constexpr uLong kEncryptedFlag = 1;

// Refuses sizes no honest entry of this archive can have, before anything is allocated.
bool PlausibleSizes(const unz_file_info64& info, size_t archiveSize) {
  const uint64_t packed = info.compressed_size;
  const uint64_t unpacked = info.uncompressed_size;
  if (unpacked > ZipArchive::kMaxEntrySize || packed > archiveSize) return false;
  if (info.compression_method == kStored) return unpacked == packed;
  if (info.compression_method == kDeflated) {
    const uint64_t minPacked =
        (unpacked + ZipArchive::kMaxDeflateRatio - 1) / ZipArchive::kMaxDeflateRatio;
    return packed >= minPacked;
  }
  return false;
}

}  // namespace

void ZipArchive::HandleCloser::operator()(void* handle) const {
  unzClose(static_cast<unzFile>(handle));
}

ZipArchive::ZipArchive(std::unique_ptr<Source> source, void* handle)
    : source_(std::move(source)), handle_(handle) {}

ZipArchive::~ZipArchive() = default;

std::unique_ptr<ZipArchive> ZipArchive::Open(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) return nullptr;
  auto source = std::make_unique<Source>(Source{data, size, 0, false});
  zlib_filefunc64_def io{};
  io.zopen64_file = &Source::OpenFile;
  io.zread_file = &Source::ReadFile;
  io.zwrite_file = &Source::WriteFile;
  io.ztell64_file = &Source::TellFile;
  io.zseek64_file = &Source::SeekFile;
  io.zclose_file = &Source::CloseFile;
  io.zerror_file = &Source::FileError;
  io.opaque = source.get();
  std::unique_ptr<void, HandleCloser> handle(unzOpen2_64(source.get(), &io));
  if (!handle) return nullptr;
  return std::unique_ptr<ZipArchive>(new ZipArchive(std::move(source), handle.release()));
}

bool ZipArchive::Locate(std::string_view name) {
  if (name.size() >= kMaxNameLength) return false;
  unzFile zip = handle_.get();
  char stored[kMaxNameLength];
  for (int err = unzGoToFirstFile(zip); err == UNZ_OK; err = unzGoToNextFile(zip)) {
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip, &info, stored, sizeof stored, nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
      return false;
    }
    if (info.size_filename == name.size() && std::string_view(stored, name.size()) == name) {
      return true;
    }
  }
  return false;
}

bool ZipArchive::Read(std::string_view name, std::vector<uint8_t>& out) {
  out.clear();
  if (!Locate(name)) return false;
  unzFile zip = handle_.get();
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
      (info.flag & kEncryptedFlag) != 0 || !PlausibleSizes(info, source_->size)) {
    return false;
  }
  const size_t size = static_cast<size_t>(info.uncompressed_size);
  try {
    out.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (unzOpenCurrentFile(zip) != UNZ_OK) {
    out.clear();
    return false;
  }
  constexpr size_t kChunk = 1 << 20;  // unzReadCurrentFile counts in unsigned/int
  size_t done = 0;
  while (done < size) {
    const unsigned chunk = static_cast<unsigned>(std::min(size - done, kChunk));
    const int got = unzReadCurrentFile(zip, out.data() + done, chunk);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  // Closing compares the CRC, but only once the whole recorded size has been read.
  const bool closed = unzCloseCurrentFile(zip) == UNZ_OK;
  if (done != size || !closed) {
    out.clear();
    return false;
  }
  return true;
}

std::vector<std::string> ZipArchive::EntryNames() {
  std::vector<std::string> names;
  unzFile zip = handle_.get();
  for (int err = unzGoToFirstFile(zip); err == UNZ_OK; err = unzGoToNextFile(zip)) {
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    std::string name(info.size_filename, '\0');
    if (unzGetCurrentFileInfo64(zip, nullptr, name.data(), static_cast<uLong>(name.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK) {
      break;
    }
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace mc
