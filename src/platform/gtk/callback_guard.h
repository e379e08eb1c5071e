// Callbacks run inside GTK's and GLib's C frames: nothing may escape them. A guarded callback
// that fails (out of memory) answers as if it had not handled the event.
#pragma once

namespace mc::gtk {

template <class F>
auto Guarded(F&& f, decltype(f()) failed) noexcept -> decltype(f()) {
  try {
    return f();
  } catch (...) {
    return failed;
  }
}

template <class F>
void Guarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
  }
}

}  // namespace mc::gtk
