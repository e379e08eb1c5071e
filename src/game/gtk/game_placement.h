// Where the Linux game window is and how it gets where the shared model wants it, on each kind
// of desktop (platform/gtk/desktop.h):
//  - bare X11: the window is moved and sized at once, as Windows does it; the model's own
//    drag and sizing loops move it by the pointer;
//  - an EWMH window manager or a Wayland compositor: maximised and full screen are asked for as
//    the system's states (gtk_window_maximize, gtk_window_fullscreen), so panels and docks
//    treat the window accordingly; the pointer's moves and sizes are the system's
//    (begin-move/begin-resize drags) with the model's minimum size as a size hint. Requests
//    made by one command are sent together once it has run, so that a way through several
//    states (leaving full screen into the maximised state) reaches the system as its end
//    alone.
// Under Wayland a client has no position: the rectangle kept here then has its origin at 0, 0,
// which is also where the pointer's root coordinates count from.
#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "game/game_geometry.h"
#include "game/game_window.h"
#include "platform/gtk/desktop.h"

namespace mc::gtk {

// The press that starts a move or size by the system.
struct PointerPress {
  guint button = 1;
  GamePoint root;
  guint32 time = GDK_CURRENT_TIME;
};

class GamePlacement {
 public:
  GamePlacement() = default;
  ~GamePlacement();
  GamePlacement(const GamePlacement&) = delete;
  GamePlacement& operator=(const GamePlacement&) = delete;

  // The game window's toplevel, once made; it outlives this object. Until then nothing is
  // placed and the rectangle is empty.
  void Attach(GtkWidget* window) { window_ = window; }

  DesktopKind kind() const;
  // True where the system moves and sizes the window by the pointer and keeps its states.
  bool managed() const { return kind() != DesktopKind::kBareX11; }

  // Where the window is (screen coordinates; see above for Wayland).
  const GameRect& rect() const { return rect_; }
  // The monitor holding the window; before the window has a place, the one it opens on.
  MonitorArea Monitor() const;

  // A restored window at `wanted`, keeping its show state. True when the window's size
  // changed at once (its children are laid out for it).
  bool Move(const GameRect& wanted);
  // The window shown in `state` with `wanted` as its rectangle. True as for Move.
  bool Place(const GameRect& wanted, GameWindowState state);
  // Geometry the system gave the window (a window manager or the compositor). True when its
  // size changed.
  bool Take(const GameRect& seen);

  // The smallest size the system's sizing may make the restored window.
  void SetMinimumSize(GameSize size);
  void BeginMove(const PointerPress& press);
  // `edge` numbered 1 (left) to 8 (bottom-right) as SizingEdgeForHitCode numbers them.
  void BeginResize(int edge, const PointerPress& press);

 private:
  struct Request {
    GameWindowState state = GameWindowState::kRestored;
    GameRect rect;
    bool show = false;
  };

  GameRect Limited(const GameRect& wanted) const;
  bool Apply(const GameRect& wanted, GameWindowState state, bool show);
  bool SetRect(const GameRect& rect);
  void MoveResize(const GameRect& rect);
  void Send();
  static gboolean OnSend(gpointer self);

  GtkWidget* window_ = nullptr;
  GameRect rect_;
  bool placed_ = false;  // rect_ says where the window is or goes
  GameSize askedSize_;   // bare X11: the size last asked for, before limiting it
  GameWindowState askedState_ = GameWindowState::kRestored;  // elsewhere: the state asked for
  GameSize minimum_;
  std::optional<Request> pending_;
  guint sendSource_ = 0;
};

}  // namespace mc::gtk
