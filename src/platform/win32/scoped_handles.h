// Small RAII owners for the Win32 and COM handles the port uses.
#pragma once

#include <windows.h>
#include <objbase.h>

namespace mc::win32 {

class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE h = nullptr) : h_(h) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(HANDLE h = nullptr) {
    if (valid()) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_;
};

class ScopedMapView {
 public:
  explicit ScopedMapView(const void* view = nullptr) : view_(view) {}
  ~ScopedMapView() {
    if (view_) UnmapViewOfFile(view_);
  }
  ScopedMapView(const ScopedMapView&) = delete;
  ScopedMapView& operator=(const ScopedMapView&) = delete;
  const void* get() const { return view_; }

 private:
  const void* view_;
};

// CoInitialize for the current scope; CoUninitialize only when it succeeded.
class ScopedCoInit {
 public:
  ScopedCoInit() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ScopedCoInit() {
    if (ok_) CoUninitialize();
  }
  ScopedCoInit(const ScopedCoInit&) = delete;
  ScopedCoInit& operator=(const ScopedCoInit&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace mc::win32
