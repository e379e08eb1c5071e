// RAII owners for GDI objects and device contexts: every bitmap, brush, font, region and DC
// the port makes is released on every path, and selections are undone before a DC goes.
#pragma once

#include <winsock2.h>
#include <windows.h>

namespace mc::win32 {

// A GDI object (HBITMAP, HBRUSH, HFONT, HRGN, ...) deleted with DeleteObject.
template <class T>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(T h = nullptr) : h_(h) {}
  ~ScopedGdiObject() { reset(); }
  ScopedGdiObject(ScopedGdiObject&& other) noexcept : h_(other.release()) {}
  ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

  T get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  T release() {
    T h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(T h = nullptr) {
    if (h_ && h_ != h) DeleteObject(h_);
    h_ = h;
  }

 private:
  T h_;
};

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class ScopedMemoryDC {
 public:
  explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~ScopedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's DC from GetDC (nullptr: the screen), released with ReleaseDC.
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC for the scope and puts the previous one back.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelectObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SaveDC / RestoreDC: clip regions and selections made in the scope are undone.
class ScopedSaveDC {
 public:
  explicit ScopedSaveDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~ScopedSaveDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  ScopedSaveDC(const ScopedSaveDC&) = delete;
  ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// BeginPaint / EndPaint.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace mc::win32
