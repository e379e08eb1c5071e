#include "game/gtk/game_input.h"

#include <cmath>

namespace mc::gtk {
namespace {

constexpr int kKeyF10 = kKeyF1 + 9;

}  // namespace

int VirtualKeyFor(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      return kKeyReturn;
    case GDK_KEY_Escape:
      return kKeyEscape;
    default:
      if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12)
        return kKeyF1 + static_cast<int>(keyval - GDK_KEY_F1);
      return 0;
  }
}

InputEvent KeyInput(const GdkEventKey& event) {
  const int key = VirtualKeyFor(event.keyval);
  const bool alt = (event.state & GDK_MOD1_MASK) != 0;
  if (alt || key == kKeyF10) return InputEvent::SysKeyDown(key, alt);
  return InputEvent::KeyDown(key);
}

GamePoint ScreenPoint(const GdkEvent& event) {
  gdouble x = 0, y = 0;
  gdk_event_get_root_coords(&event, &x, &y);
  return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

std::optional<InputEvent> MouseInput(const GdkEvent& event) {
  switch (event.type) {
    case GDK_BUTTON_PRESS:
      if (event.button.button != 3) return std::nullopt;
      return InputEvent::Mouse(InputEvent::Kind::kRightButtonDown, ScreenPoint(event));
    case GDK_BUTTON_RELEASE:
      if (event.button.button != 3) return std::nullopt;
      return InputEvent::Mouse(InputEvent::Kind::kRightButtonUp, ScreenPoint(event));
    case GDK_2BUTTON_PRESS:
      if (event.button.button != 1) return std::nullopt;
      return InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, ScreenPoint(event));
    default:
      return std::nullopt;
  }
}

}  // namespace mc::gtk
