// HTTP for the update check on Linux: libcurl, one easy handle per transfer.
#pragma once

#include <memory>
#include <string>

#include "update/download.h"
#include "update/stop_signal.h"

namespace mc::gtk {

struct CurlOptions {
  long connectTimeoutMs = 20000;
  // A transfer that moves less than one byte per second for this long has stalled.
  long stallTimeoutS = 30;
  long maxRedirects = 10;
  // Certificate authorities for HTTPS; empty uses the system's (tests name a private one).
  std::string caFile;
};

// A plain GET with no cache in between (no-cache request headers for proxies); spaces and
// other bytes libcurl refuses are percent-encoded, as WinINet sends them. Redirects are
// followed up to maxRedirects and only to http or https, the proxy comes from the environment
// (http_proxy, https_proxy, no_proxy), the body is streamed to the receiver as it arrives. The
// stop signal aborts a running transfer within about a second.
class CurlHttpClient : public HttpClient {
 public:
  explicit CurlHttpClient(std::shared_ptr<const StopSignal> stop, CurlOptions options = {});
  HttpOutcome Get(const std::string& url, HttpReceiver& receiver) override;

  // libcurl's global state; call on the main thread before the first transfer of a thread.
  static void GlobalInit();

 private:
  std::shared_ptr<const StopSignal> stop_;
  CurlOptions options_;
};

}  // namespace mc::gtk
