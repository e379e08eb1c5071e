#include "update/win32/download_file.h"

#include <windows.h>

#include "platform/win32/scoped_handles.h"
#include "platform/win32/system_functions.h"

namespace mc::win32 {
namespace {

// FILE_DISPOSITION_INFO, which the XP headers the port builds with do not declare.
struct DispositionInfo {
  BOOLEAN deleteFile;
};
constexpr int kFileDispositionInfoClass = 4;

// False where the system has no such call (XP): the file is then an ordinary one.
bool SetDeleteOnClose(HANDLE file, bool remove) {
  const SystemFunctions::SetFileInformationByHandleFn call =
      SystemFunctions().setFileInformationByHandle;
  DispositionInfo info{static_cast<BOOLEAN>(remove ? TRUE : FALSE)};
  return call && call(file, kFileDispositionInfoClass, &info, sizeof info) != FALSE;
}

class DeletePendingDownloadFile : public DownloadFile {
 public:
  DeletePendingDownloadFile(std::string path, HANDLE file, bool pending)
      : path_(std::move(path)), file_(file), pending_(pending) {}
  ~DeletePendingDownloadFile() override {
    if (!file_.valid()) return;
    file_.reset();  // a pending file is removed by the system here
    if (!pending_) DeleteFileA(path_.c_str());
  }
  DeletePendingDownloadFile(const DeletePendingDownloadFile&) = delete;
  DeletePendingDownloadFile& operator=(const DeletePendingDownloadFile&) = delete;

  bool Write(const uint8_t* data, size_t size) override {
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr) ||
          written == 0)
        return false;
      data += written;
      size -= written;
    }
    return true;
  }

  bool Commit() override {
    if (pending_ && !SetDeleteOnClose(file_.get(), false)) return false;
    pending_ = false;
    const bool closed = CloseHandle(file_.release()) != FALSE;
    if (!closed) DeleteFileA(path_.c_str());
    return closed;
  }

 private:
  std::string path_;
  ScopedHandle file_;
  bool pending_;
};

}  // namespace

std::unique_ptr<DownloadFile> CreateDeletePendingDownloadFile(const std::string& path) {
  // Created new, never opened through what is there: a file or a link under the name is
  // deleted first (a link itself, not its target), and CREATE_NEW fails on anything that
  // takes the name meanwhile.
  DeleteFileA(path.c_str());
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const bool pending = SetDeleteOnClose(file, true);
  return std::make_unique<DeletePendingDownloadFile>(path, file, pending);
}

}  // namespace mc::win32
