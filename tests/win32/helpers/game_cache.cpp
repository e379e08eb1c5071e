// Test helper run in the client's Wine prefix: fills and inspects the current user's WinINet
// URL cache, the cache the game window's cleaning empties. WinINet is loaded at run time, so
// the helper needs no more than the libraries every helper links.
// Usage: game_cache.exe fill URL...   GETs each address through the cache ("fetched N")
//        game_cache.exe has URL       "cached" or "not cached"
//        game_cache.exe count         the number of content entries
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct WinInet {
  HMODULE module = LoadLibraryA("wininet.dll");
  decltype(&InternetOpenA) open = Get<decltype(&InternetOpenA)>("InternetOpenA");
  decltype(&InternetOpenUrlA) openUrl = Get<decltype(&InternetOpenUrlA)>("InternetOpenUrlA");
  decltype(&InternetReadFile) read = Get<decltype(&InternetReadFile)>("InternetReadFile");
  decltype(&InternetCloseHandle) close =
      Get<decltype(&InternetCloseHandle)>("InternetCloseHandle");
  decltype(&GetUrlCacheEntryInfoA) entryInfo =
      Get<decltype(&GetUrlCacheEntryInfoA)>("GetUrlCacheEntryInfoA");
  decltype(&FindFirstUrlCacheEntryA) findFirst =
      Get<decltype(&FindFirstUrlCacheEntryA)>("FindFirstUrlCacheEntryA");
  decltype(&FindNextUrlCacheEntryA) findNext =
      Get<decltype(&FindNextUrlCacheEntryA)>("FindNextUrlCacheEntryA");
  decltype(&FindCloseUrlCache) findClose = Get<decltype(&FindCloseUrlCache)>("FindCloseUrlCache");

  template <class F>
  F Get(const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
  }
  bool ok() const {
    return open && openUrl && read && close && entryInfo && findFirst && findNext && findClose;
  }
};

int Fill(WinInet& net, int count, char** urls) {
  HINTERNET session = net.open("game_cache", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!session) return 1;
  int fetched = 0;
  for (int i = 0; i < count; ++i) {
    HINTERNET request = net.openUrl(session, urls[i], nullptr, 0, 0, 0);
    if (!request) continue;
    char buffer[4096];
    DWORD n = 0;
    while (net.read(request, buffer, sizeof buffer, &n) && n > 0) {
    }
    net.close(request);
    ++fetched;
  }
  net.close(session);
  std::printf("fetched %d\n", fetched);
  return 0;
}

int Count(WinInet& net) {
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  HANDLE find = net.findFirst(nullptr, entry, &size);
  int n = 0;
  if (find) {
    do {
      ++n;
      size = static_cast<DWORD>(buffer.size());
    } while (net.findNext(find, entry, &size));
    net.findClose(find);
  }
  std::printf("%d\n", n);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  WinInet net;
  if (argc < 2 || !net.ok()) return 64;
  if (std::strcmp(argv[1], "fill") == 0) return Fill(net, argc - 2, argv + 2);
  if (std::strcmp(argv[1], "count") == 0) return Count(net);
  if (std::strcmp(argv[1], "has") == 0 && argc > 2) {
    DWORD size = 0;
    const bool cached = net.entryInfo(argv[2], nullptr, &size) ||
                        GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    std::printf("%s\n", cached ? "cached" : "not cached");
    return 0;
  }
  return 64;
}
