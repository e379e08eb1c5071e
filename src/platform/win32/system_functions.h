// Newer or optional system functions, looked up by name: the port builds with XP headers, and a
// system without one of them still runs the program (without translucency, colour key or
// delete-pending downloads). Each use site makes the table it needs and checks for null.
#pragma once

#include <winsock2.h>
#include <windows.h>

namespace mc::win32 {

class SystemFunctions {
 public:
  using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);
  using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  // The information class is an int here: XP's headers have no FILE_INFO_BY_HANDLE_CLASS.
  using SetFileInformationByHandleFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

  SystemFunctions() : user32_(LoadLibraryA("User32.DLL")) {
    if (user32_) {
      updateLayeredWindow = Find<UpdateLayeredWindowFn>(user32_, "UpdateLayeredWindow");
      setLayeredWindowAttributes =
          Find<SetLayeredWindowAttributesFn>(user32_, "SetLayeredWindowAttributes");
    }
    if (const HMODULE kernel32 = GetModuleHandleA("kernel32.dll"))
      setFileInformationByHandle =
          Find<SetFileInformationByHandleFn>(kernel32, "SetFileInformationByHandle");
  }
  ~SystemFunctions() {
    if (user32_) FreeLibrary(user32_);
  }
  SystemFunctions(const SystemFunctions&) = delete;
  SystemFunctions& operator=(const SystemFunctions&) = delete;

  UpdateLayeredWindowFn updateLayeredWindow = nullptr;
  SetLayeredWindowAttributesFn setLayeredWindowAttributes = nullptr;
  SetFileInformationByHandleFn setFileInformationByHandle = nullptr;

 private:
  template <class Fn>
  static Fn Find(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  HMODULE user32_;
};

}  // namespace mc::win32
