#include "update/win32/wininet_http_client.h"

#include <windows.h>
#include <wininet.h>

#include <mutex>
#include <vector>

#include "package/program_name.h"
#include "platform/win32/process.h"

namespace mc::win32 {
namespace {

constexpr DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT |
                             INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD_PTR kContext = 1;
constexpr DWORD kBlockBytes = 1023;

// The internet handles of one transfer. The worker closes them when it is done; a stop request
// closes them from the asking thread to end a blocked call. Each is closed exactly once.
class TransferHandles {
 public:
  ~TransferHandles() { CloseAll(); }
  // False, with the handle closed, when the transfer has been aborted meanwhile.
  bool Add(HINTERNET handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (aborted_) {
      InternetCloseHandle(handle);
      return false;
    }
    handles_.push_back(handle);
    return true;
  }
  void Abort() {
    std::lock_guard<std::mutex> lock(mutex_);
    aborted_ = true;
    CloseLocked();
  }
  void CloseAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
  }

 private:
  void CloseLocked() {
    for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) InternetCloseHandle(*it);
    handles_.clear();
  }
  std::mutex mutex_;
  std::vector<HINTERNET> handles_;
  bool aborted_ = false;
};

// Uninstalls the abort action before the handles it closes go away.
class AbortScope {
 public:
  AbortScope(StopSignal& stop, TransferHandles& handles) : stop_(stop) {
    stop_.SetAbortAction([&handles] { handles.Abort(); });
  }
  ~AbortScope() { stop_.ClearAbortAction(); }
  AbortScope(const AbortScope&) = delete;
  AbortScope& operator=(const AbortScope&) = delete;

 private:
  StopSignal& stop_;
};

// The session's agent name: the program's base name, as an application's session would use.
std::string AgentName() {
  const std::string name = ProgramBaseName(ProgramPath(), '\\', WithoutExtension::kWholeName);
  return name.empty() ? std::string("microclient") : name;
}

int64_t ContentLength(HINTERNET request) {
  char text[32] = {};
  DWORD size = sizeof text - 1;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return -1;
  int64_t length = 0;
  bool digits = false;
  for (DWORD i = 0; i < size; ++i) {
    if (text[i] < '0' || text[i] > '9' || length > (INT64_MAX - 9) / 10) return -1;
    length = length * 10 + (text[i] - '0');
    digits = true;
  }
  return digits ? length : -1;
}

}  // namespace

WinInetHttpClient::WinInetHttpClient(std::shared_ptr<StopSignal> stop, WinInetOptions options)
    : stop_(std::move(stop)), options_(options) {}

HttpOutcome WinInetHttpClient::Get(const std::string& url, HttpReceiver& receiver) {
  TransferHandles handles;
  AbortScope abortScope(*stop_, handles);
  auto failed = [this] { return stop_->stopped() ? HttpOutcome::kStopped : HttpOutcome::kFailed; };

  HINTERNET session =
      InternetOpenA(AgentName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session || !handles.Add(session)) return failed();
  DWORD connect = options_.connectTimeoutMs, receive = options_.receiveTimeoutMs;
  InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
  InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
  InternetSetOptionA(session, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &receive, sizeof receive);

  HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0, kOpenFlags, kContext);
  if (!request || !handles.Add(request)) return failed();

  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr))
    return failed();
  if (!receiver.OnResponse(static_cast<int>(status), ContentLength(request)))
    return HttpOutcome::kStopped;

  uint8_t block[kBlockBytes];
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request, block, kBlockBytes, &read)) return failed();
    if (read == 0) break;
    if (stop_->stopped() || !receiver.OnBody(block, read)) return HttpOutcome::kStopped;
  }
  return HttpOutcome::kComplete;
}

}  // namespace mc::win32
