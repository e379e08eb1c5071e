#include "update/gtk/curl_http_client.h"

#include <curl/curl.h>

#include <string_view>

#include "update/update_url.h"

namespace mc::gtk {
namespace {

constexpr long kBufferBytes = 256 * 1024;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// State of one transfer, seen by libcurl's callbacks.
struct Transfer {
  CURL* easy;
  HttpReceiver& receiver;
  const StopSignal* stop;
  bool responded = false;
  bool refused = false;  // the receiver stopped the transfer
  bool redirects = false;  // the response being read names a Location, which curl follows

  // The status and length of the final response, announced once at the end of its header
  // (or before its first byte, or after the transfer when the body is empty).
  bool Respond() {
    if (responded) return !refused;
    responded = true;
    long status = 0;
    curl_off_t length = -1;
    if (curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status == 0) {
      refused = true;
      return false;
    }
    if (curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
      length = -1;
    refused = !receiver.OnResponse(static_cast<int>(status), static_cast<int64_t>(length));
    return !refused;
  }
};

size_t OnWrite(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (!t->Respond()) return 0;  // a short count aborts the transfer
  if (!t->receiver.OnBody(reinterpret_cast<const uint8_t*>(data), bytes)) {
    t->refused = true;
    return 0;
  }
  return bytes;
}

bool StartsWithNoCase(std::string_view line, std::string_view prefix) {
  if (line.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const char c = line[i];
    if ((c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c) != prefix[i]) return false;
  }
  return true;
}

// The end of the final response's header announces it, so the receiver judges the status
// and length before the body starts (a body that never comes included). Interim responses
// (1xx) and redirects that curl follows are skipped.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const std::string_view line(data, bytes);
  if (StartsWithNoCase(line, "http/")) {
    t->redirects = false;
  } else if (StartsWithNoCase(line, "location:")) {
    t->redirects = true;
  } else if (line == "\r\n" || line == "\n") {
    long status = 0;
    curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
    const bool interim = status >= 100 && status < 200;
    const bool followed = status >= 300 && status < 400 && t->redirects;
    if (!interim && !followed && !t->Respond()) return 0;  // a short count aborts
  }
  return bytes;
}

// Called at least once a second while the transfer runs, also while it waits for data.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  return t->stop && t->stop->stopped() ? 1 : 0;
}

}  // namespace

CurlHttpClient::CurlHttpClient(std::shared_ptr<const StopSignal> stop, CurlOptions options)
    : stop_(std::move(stop)), options_(std::move(options)) {}

void CurlHttpClient::GlobalInit() { curl_global_init(CURL_GLOBAL_DEFAULT); }

HttpOutcome CurlHttpClient::Get(const std::string& url, HttpReceiver& receiver) {
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return HttpOutcome::kFailed;
  CURL* e = easy.get();
  Transfer transfer{e, receiver, stop_.get()};
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, "Cache-Control: no-cache");
  headers = curl_slist_append(headers, "Pragma: no-cache");
  std::unique_ptr<curl_slist, ListDeleter> headerList(headers);

  // A configured path with spaces names a real file; libcurl refuses the raw space.
  const std::string wire = EscapeUnsafeUrlBytes(url);
  curl_easy_setopt(e, CURLOPT_URL, wire.c_str());
  curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, options_.maxRedirects);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);  // threads: no SIGALRM for name lookups
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, options_.connectTimeoutMs);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, options_.stallTimeoutS);
  curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kBufferBytes);
  if (!options_.caFile.empty()) curl_easy_setopt(e, CURLOPT_CAINFO, options_.caFile.c_str());
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnWrite);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);

  const CURLcode result = curl_easy_perform(e);
  if (transfer.refused || (stop_ && stop_->stopped())) return HttpOutcome::kStopped;
  if (result != CURLE_OK) return HttpOutcome::kFailed;
  // An empty body never reached the write callback.
  if (!transfer.Respond()) return HttpOutcome::kStopped;
  return HttpOutcome::kComplete;
}

}  // namespace mc::gtk
