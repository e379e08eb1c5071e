// The game window's look at every keyboard and mouse message before it is dispatched, to the
// window or to any of its children (the page included):
//  - Enter and Escape go to their target without the dialog's own key handling, so neither
//    ends the window;
//  - F1 to F12 run their bound operation and never reach the page, bound or not; a key held
//    with Alt is left to the system (Alt+F4 still closes through the close question);
//  - right button down and up are reported to the page as ClientCallJs "2"/"3" with the
//    screen point, and never reach the page themselves; with a negative screen y (a monitor
//    above the primary one) nothing is reported;
//  - a double-click on the title band toggles maximised and restored, also over the
//    title-bar buttons and the logo;
//  - everything else takes the dialog's ordinary processing.
#pragma once

#include <optional>

#include "game/game_geometry.h"
#include "game/script_bridge.h"
#include "game/title_buttons.h"

namespace mc {

// Virtual key numbers of the keys the filter knows.
inline constexpr int kKeyReturn = 0x0D;
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyF1 = 0x70;
inline constexpr int kKeyF12 = 0x7B;

struct InputEvent {
  enum class Kind {
    kKeyDown,
    kSysKeyDown,  // a key the system reports as a system key: F10, or any key with Alt
    kRightButtonDown,
    kRightButtonUp,
    kLeftDoubleClick,
    kOther,
  };
  Kind kind = Kind::kOther;
  int key = 0;           // key events: the virtual key number
  bool altDown = false;  // key events: Alt is held
  GamePoint screen;      // mouse events: the pointer in screen coordinates

  static InputEvent KeyDown(int key) { return {Kind::kKeyDown, key, false, {}}; }
  static InputEvent SysKeyDown(int key, bool alt) { return {Kind::kSysKeyDown, key, alt, {}}; }
  static InputEvent Mouse(Kind kind, GamePoint screen) { return {kind, 0, false, screen}; }
};

enum class InputRoute {
  kDialog,    // the framework's dialog processing, then dispatch
  kDispatch,  // dispatch without the dialog's key handling
  kConsumed,  // not dispatched at all
};

struct InputDecision {
  InputRoute route = InputRoute::kDialog;
  GameCommand command = GameCommand::kNone;  // run after the decision
  std::optional<PageCall> pageCall;          // made after the decision
};

struct InputContext {
  const FunctionKeyTable* functionKeys = nullptr;  // null while keys are not bound yet
  bool maximized = false;
  bool fullScreen = false;
  int titleHeight = 0;  // H2
  int windowTop = 0;    // the window's top edge in screen coordinates
};

InputDecision DecideInput(const InputEvent& event, const InputContext& context);

}  // namespace mc
