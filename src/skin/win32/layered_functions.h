// The layered-window functions of user32, looked up by name for each use: systems without
// them still run the program, only without translucency or colour key.
#pragma once

#include <winsock2.h>
#include <windows.h>

namespace mc::win32 {

class LayeredFunctions {
 public:
  using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);
  using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  LayeredFunctions() : module_(LoadLibraryA("User32.DLL")) {
    if (!module_) return;
    updateLayeredWindow = reinterpret_cast<UpdateLayeredWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "UpdateLayeredWindow")));
    setLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "SetLayeredWindowAttributes")));
  }
  ~LayeredFunctions() {
    if (module_) FreeLibrary(module_);
  }
  LayeredFunctions(const LayeredFunctions&) = delete;
  LayeredFunctions& operator=(const LayeredFunctions&) = delete;

  UpdateLayeredWindowFn updateLayeredWindow = nullptr;
  SetLayeredWindowAttributesFn setLayeredWindowAttributes = nullptr;

 private:
  HMODULE module_;
};

}  // namespace mc::win32
