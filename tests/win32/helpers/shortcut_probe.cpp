// Test helper: prints the target path of a shell link file read through the shell link object.
// Usage: shortcut_probe.exe PATH.lnk
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 64;
  if (FAILED(CoInitialize(nullptr))) return 1;
  int rc = 1;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH);
      char target[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
          SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0))) {
        std::printf("%s\n", target);
        rc = 0;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return rc;
}
