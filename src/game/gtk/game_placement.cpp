#include "game/gtk/game_placement.h"

#include <vector>

#include "game/desktop_geometry.h"

namespace mc::gtk {
namespace {

GameRect FromGdk(const GdkRectangle& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

GdkWindowEdge EdgeFor(int edge) {
  switch (edge) {
    case 1:
      return GDK_WINDOW_EDGE_WEST;
    case 2:
      return GDK_WINDOW_EDGE_EAST;
    case 3:
      return GDK_WINDOW_EDGE_NORTH;
    case 4:
      return GDK_WINDOW_EDGE_NORTH_WEST;
    case 5:
      return GDK_WINDOW_EDGE_NORTH_EAST;
    case 6:
      return GDK_WINDOW_EDGE_SOUTH;
    case 7:
      return GDK_WINDOW_EDGE_SOUTH_WEST;
    default:
      return GDK_WINDOW_EDGE_SOUTH_EAST;
  }
}

}  // namespace

GamePlacement::~GamePlacement() {
  if (sendSource_) g_source_remove(sendSource_);
}

DesktopKind GamePlacement::kind() const {
  return DesktopKindOf(window_ ? gtk_widget_get_display(window_) : gdk_display_get_default());
}

MonitorArea GamePlacement::Monitor() const {
  GdkDisplay* display = window_ ? gtk_widget_get_display(window_) : gdk_display_get_default();
  const std::vector<MonitorArea> monitors = Monitors(display);
  if (monitors.empty()) return {};
  if (kind() == DesktopKind::kWayland) {
    // Only the compositor knows where the window is; it tells which monitors it shows on.
    GdkWindow* window = window_ ? gtk_widget_get_window(window_) : nullptr;
    if (window && gtk_widget_get_mapped(window_))
      return AreaOf(gdk_display_get_monitor_at_window(display, window));
    return AreaOf(MonitorForNewWindow(display));
  }
  if (!placed_) return AreaOf(MonitorForNewWindow(display));
  GameRect where = rect_;
  GdkWindow* window = window_ ? gtk_widget_get_window(window_) : nullptr;
  if (kind() == DesktopKind::kX11WindowManager && window && gtk_widget_get_mapped(window_)) {
    // A window manager moves the frame and tells the window later, if at all: the server
    // knows where the window is now.
    gint x = 0, y = 0;
    gdk_window_get_origin(window, &x, &y);
    where = {x, y, x + gdk_window_get_width(window), y + gdk_window_get_height(window)};
  }
  std::vector<GameRect> geometries;
  for (const MonitorArea& m : monitors) geometries.push_back(FromGdk(m.geometry));
  return monitors[MonitorHolding(where, geometries).value_or(0)];
}

GameRect GamePlacement::Limited(const GameRect& wanted) const {
  std::vector<GameRect> geometries;
  for (const MonitorArea& m : Monitors(gtk_widget_get_display(window_)))
    geometries.push_back(FromGdk(m.geometry));
  const GameRect desktop = DesktopBounds(geometries);
  return LimitWindowRect(wanted, {desktop.width(), desktop.height()});
}

bool GamePlacement::Move(const GameRect& wanted) {
  return Apply(wanted, GameWindowState::kRestored, false);
}

bool GamePlacement::Place(const GameRect& wanted, GameWindowState state) {
  return Apply(wanted, state, true);
}

bool GamePlacement::Apply(const GameRect& wanted, GameWindowState state, bool show) {
  if (!window_) return false;
  const GameRect r = Limited(wanted);
  GtkWindow* window = GTK_WINDOW(window_);
  if (!managed()) {
    // A new size asked for counts as a size change even where the screen keeps the window at
    // the size it had: the children are laid out for the new state all the same.
    const GameSize asked{wanted.width(), wanted.height()};
    const bool resized = SetRect(r) || asked != askedSize_;
    askedSize_ = asked;
    gtk_window_move(window, r.left, r.top);
    gtk_window_resize(window, r.width(), r.height());
    // A mapped window moves and resizes in one request, so a left or top edge being dragged
    // does not first push the whole window over.
    if (gtk_widget_get_mapped(window_))
      gdk_window_move_resize(gtk_widget_get_window(window_), r.left, r.top, r.width(),
                             r.height());
    if (show) {
      GdkWindow* gdkWindow = gtk_widget_get_window(window_);
      if (gdkWindow && (gdk_window_get_state(gdkWindow) & GDK_WINDOW_STATE_ICONIFIED))
        gtk_window_deiconify(window);
      gtk_window_present(window);
    }
    return resized;
  }
  pending_ = Request{state, r, show || (pending_ && pending_->show)};
  if (!sendSource_) sendSource_ = g_idle_add_full(G_PRIORITY_HIGH_IDLE, OnSend, this, nullptr);
  // A new state is laid out at once, for the size the window has until the system's
  // configure event brings the new one (which may be the same).
  const bool newState = state != askedState_;
  askedState_ = state;
  // A restored window gets the asked size at once. In the system's states the system decides
  // the size.
  if (state != GameWindowState::kRestored) return newState;
  if (kind() == DesktopKind::kWayland) return SetRect({0, 0, r.width(), r.height()}) || newState;
  return SetRect(r) || newState;
}

bool GamePlacement::Take(const GameRect& seen) {
  return SetRect(kind() == DesktopKind::kWayland ? GameRect{0, 0, seen.width(), seen.height()}
                                                 : seen);
}

bool GamePlacement::SetRect(const GameRect& r) {
  const bool resized = !placed_ || r.width() != rect_.width() || r.height() != rect_.height();
  rect_ = r;
  placed_ = true;
  return resized;
}

void GamePlacement::SetMinimumSize(GameSize size) { minimum_ = size; }

void GamePlacement::MoveResize(const GameRect& r) {
  GtkWindow* window = GTK_WINDOW(window_);
  if (kind() != DesktopKind::kWayland) gtk_window_move(window, r.left, r.top);
  gtk_window_resize(window, r.width(), r.height());
}

gboolean GamePlacement::OnSend(gpointer data) {
  auto* self = static_cast<GamePlacement*>(data);
  self->sendSource_ = 0;
  self->Send();
  return G_SOURCE_REMOVE;
}

void GamePlacement::Send() {
  if (!pending_ || !window_) return;
  const Request request = *pending_;
  pending_.reset();
  GtkWindow* window = GTK_WINDOW(window_);
  GdkWindow* gdkWindow = gtk_widget_get_window(window_);
  const bool mapped = gtk_widget_get_mapped(window_);
  const GdkWindowState now = gdkWindow ? gdk_window_get_state(gdkWindow) : GdkWindowState{};
  // Before the window is mapped its states are only remembered for the mapping; clearing them
  // then costs nothing and leaves nothing stale.
  const bool fullScreen = !mapped || (now & GDK_WINDOW_STATE_FULLSCREEN);
  const bool maximized = !mapped || (now & GDK_WINDOW_STATE_MAXIMIZED);
  switch (request.state) {
    case GameWindowState::kFullScreen:
      gtk_window_fullscreen(window);
      break;
    case GameWindowState::kMaximized:
      if (fullScreen) gtk_window_unfullscreen(window);
      // The restored size first: a manager that will not maximise leaves the window at the
      // work area's size all the same.
      if (!(now & GDK_WINDOW_STATE_MAXIMIZED)) MoveResize(request.rect);
      gtk_window_maximize(window);
      break;
    default:
      if (fullScreen) gtk_window_unfullscreen(window);
      if (maximized) gtk_window_unmaximize(window);
      MoveResize(request.rect);
      break;
  }
  // The minimum only holds for the restored window: a maximised window on a smaller monitor
  // must still fit it.
  if (request.state == GameWindowState::kRestored && minimum_.width > 0 && minimum_.height > 0) {
    GdkGeometry hints{};
    hints.min_width = minimum_.width;
    hints.min_height = minimum_.height;
    gtk_window_set_geometry_hints(window, nullptr, &hints, GDK_HINT_MIN_SIZE);
  } else {
    gtk_window_set_geometry_hints(window, nullptr, nullptr, GdkWindowHints{});
  }
  if (request.show) {
    if (now & GDK_WINDOW_STATE_ICONIFIED) gtk_window_deiconify(window);
    gtk_window_present(window);
  }
}

void GamePlacement::BeginMove(const PointerPress& press) {
  if (!window_) return;
  gtk_window_begin_move_drag(GTK_WINDOW(window_), static_cast<gint>(press.button), press.root.x,
                             press.root.y, press.time);
}

void GamePlacement::BeginResize(int edge, const PointerPress& press) {
  if (!window_) return;
  gtk_window_begin_resize_drag(GTK_WINDOW(window_), EdgeFor(edge),
                               static_cast<gint>(press.button), press.root.x, press.root.y,
                               press.time);
}

}  // namespace mc::gtk
