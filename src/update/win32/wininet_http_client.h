// HTTP for the update check on Windows: WinINet, one internet session per transfer.
#pragma once

#include <memory>
#include <string>

#include "update/download.h"
#include "update/stop_signal.h"

namespace mc::win32 {

struct WinInetOptions {
  unsigned long connectTimeoutMs = 20000;
  // A read that waits longer than this for data fails the transfer.
  unsigned long receiveTimeoutMs = 30000;
};

// InternetOpenUrl with INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT |
// INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_NO_CACHE_WRITE: a GET always answered by the
// server and never stored in the URL cache; the system's proxy settings; status and
// Content-Length read from the response; the body read in blocks of 1023 bytes. WinINet
// follows redirects itself. A stop request closes the transfer's handles, which ends a
// blocked read.
class WinInetHttpClient : public HttpClient {
 public:
  explicit WinInetHttpClient(std::shared_ptr<StopSignal> stop, WinInetOptions options = {});
  HttpOutcome Get(const std::string& url, HttpReceiver& receiver) override;

 private:
  std::shared_ptr<StopSignal> stop_;
  WinInetOptions options_;
};

}  // namespace mc::win32
