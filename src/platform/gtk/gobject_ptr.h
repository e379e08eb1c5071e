// Owns one reference to a GObject (a strong reference: floating references are sunk).
#pragma once

#include <glib-object.h>

namespace mc::gtk {

template <class T>
class GObjectPtr {
 public:
  GObjectPtr() = default;
  // Takes over a reference the caller owns (a full transfer, or a sunk floating one).
  static GObjectPtr Adopt(T* object) {
    GObjectPtr p;
    p.p_ = object;
    return p;
  }
  // Takes a reference of its own; a floating reference is sunk.
  static GObjectPtr Ref(T* object) {
    GObjectPtr p;
    p.p_ = object ? static_cast<T*>(g_object_ref_sink(object)) : nullptr;
    return p;
  }
  ~GObjectPtr() { reset(); }
  GObjectPtr(GObjectPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  GObjectPtr& operator=(GObjectPtr&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = other.p_;
      other.p_ = nullptr;
    }
    return *this;
  }
  GObjectPtr(const GObjectPtr&) = delete;
  GObjectPtr& operator=(const GObjectPtr&) = delete;

  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) g_object_unref(p_);
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace mc::gtk
