// Test program standing in for the browser that opens links: registered in a test's Wine
// prefix as the handler of http addresses, it appends each address it is given to a file. A
// GUI program without windows, so that opening a link neither shows a console nor takes the
// focus from the window that opened it.
// Usage: skin_link_recorder.exe OUT-FILE ADDRESS
#include <winsock2.h>
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 64;
  FILE* out = std::fopen(__argv[1], "ab");
  if (!out) return 1;
  std::fprintf(out, "%s\n", __argv[2]);
  std::fclose(out);
  return 0;
}
