// GDK events in the terms of the game window's input filter: keys as Windows virtual keys
// (only the keys the filter knows are named; any other key passes as an unknown one), mouse
// buttons with their screen point.
#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "game/input_filter.h"

namespace mc::gtk {

// The virtual key of a GDK key value, 0 for keys the filter does not know.
int VirtualKeyFor(guint keyval);

// A key press as the filter sees it: with Alt held (or F10, which Windows reports as a
// system key) it is a system key.
InputEvent KeyInput(const GdkEventKey& event);

// Right button presses and releases and left double-clicks; nullopt for any other event.
std::optional<InputEvent> MouseInput(const GdkEvent& event);

// The pointer of a button or motion event on the screen, whole pixels.
GamePoint ScreenPoint(const GdkEvent& event);

}  // namespace mc::gtk
