#include "game/gtk/game_dialog.h"

#include <algorithm>
#include <cstdlib>

#include "game/desktop_geometry.h"
#include "game/gtk/game_browser_cache.h"
#include "game/gtk/game_input.h"
#include "skin/gtk/program_icon.h"
#include "package/gtk/gbk_utf8.h"
#include "platform/gtk/callback_guard.h"
#include "platform/gtk/prompts.h"
#include "skin/gtk/skin_surface.h"

namespace mc::gtk {
namespace {

// A copy of the event GTK is dispatching, or none outside event handlers.
std::shared_ptr<GdkEvent> CurrentEvent() {
  GdkEvent* event = gtk_get_current_event();
  if (!event) return {};
  return {event, gdk_event_free};
}

// Geometry changes from outside are taken over once they stop arriving for this long.
constexpr guint kSettleMilliseconds = 80;

GdkRectangle ChildRect(const GameRect& r) {
  // Children are kept where X11 can hold them (anything this far out is off the window anyway).
  const auto coordinate = [](int v) {
    return std::clamp(v, -kMaxWindowCoordinate, kMaxWindowCoordinate);
  };
  const auto side = [](int v) { return std::clamp(v, 0, kMaxWindowCoordinate); };
  return {coordinate(r.left), coordinate(r.top), side(r.width()), side(r.height())};
}

GameRect FromGdk(const GdkRectangle& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

// The key-and-button state is exactly the left button (no other button, Shift or Control).
bool LeftButtonOnly(guint state) {
  constexpr guint kKeysAndButtons = GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK |
                                    GDK_BUTTON4_MASK | GDK_BUTTON5_MASK | GDK_SHIFT_MASK |
                                    GDK_CONTROL_MASK;
  return (state & kKeysAndButtons) == GDK_BUTTON1_MASK;
}

}  // namespace

CGameDialog::CGameDialog(const LauncherConfig& config, AppHost& app, WebKitWebContext* webContext)
    : config_(config), app_(app), webContext_(webContext), model_(config.record(), *this, '/') {
  callback_.Attach(&model_);
  icon_ = ProgramIcon();
}

CGameDialog::~CGameDialog() {
  alive_.reset();  // any task still queued finds the dialog gone
  callback_.Attach(nullptr);
  if (settleTimer_) g_source_remove(settleTimer_);
  if (screen_) g_signal_handlers_disconnect_by_data(screen_, this);
  menu_.Close();
  tray_.Remove();
  if (window_) {
    g_signal_handlers_disconnect_by_data(window_, this);
    if (layout_ && !windowGone_) g_signal_handlers_disconnect_by_data(layout_, this);
    if (browser_ && browser_->view()) g_signal_handlers_disconnect_by_data(browser_->view(), this);
    for (auto& button : buttons_)
      if (button->widget()) g_signal_handlers_disconnect_by_data(button->widget(), this);
  }
  browser_.reset();
  buttons_.clear();
  if (window_) {
    if (!windowGone_) gtk_widget_destroy(window_);
    g_object_unref(window_);
  }
  if (loop_) g_main_loop_unref(loop_);
}

void CGameDialog::BuildWindow() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref(window_);
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_decorated(window, FALSE);
  AnnounceFrame(window_, true);
  gtk_window_set_role(window, kGameWindowRole);
  if (icon_) gtk_window_set_icon(window, icon_.get());
  gtk_widget_add_events(window_, GDK_STRUCTURE_MASK);

  layout_ = gtk_layout_new(nullptr, nullptr);
  gtk_widget_add_events(layout_,
                        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  gtk_container_add(GTK_CONTAINER(window_), layout_);
  gtk_widget_show(layout_);

  g_signal_connect(layout_, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(layout_, "event", G_CALLBACK(OnLayoutEvent), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnWindowDestroyed), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(OnConfigure), this);
  g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);
  screen_ = gtk_widget_get_screen(window_);
  g_signal_connect(screen_, "monitors-changed", G_CALLBACK(OnMonitorsChanged), this);
  placement_.Attach(window_);
  gtk_widget_realize(window_);
  gtk_widget_realize(layout_);
  // Every pointer move is seen, as Windows delivers them: the title drag follows the pointer
  // only while it stays on the band, which merged moves could jump past.
  gdk_window_set_event_compression(gtk_layout_get_bin_window(GTK_LAYOUT(layout_)), FALSE);
}

GameInitStop CGameDialog::DoModal() {
  if (window_) return GameInitStop::kNone;  // runs once
  loop_ = g_main_loop_new(nullptr, FALSE);
  BuildWindow();
  const GameInitStop stop = model_.Initialize();
  placement_.SetMinimumSize(model_.minTrackSize());
  if (stop != GameInitStop::kNone && !ended_) {
    // The frame does not work without the parts that were not made: the system's frame lets
    // the player move and close the window (through the close question). What was made is
    // put in place once, as for a restored window of this size.
    gtk_window_set_decorated(GTK_WINDOW(window_), TRUE);
    AnnounceFrame(window_, false);
    model_.LayoutChildren();
    gtk_widget_show(window_);
  }
  if (!ended_) g_main_loop_run(loop_);
  ended_ = true;
  model_.OnDestroy();
  tray_.Remove();
  menu_.Close();
  if (!windowGone_) gtk_widget_hide(window_);
  return stop;
}

// --- Facts ---------------------------------------------------------------------------------

GameRect CGameDialog::WorkArea() { return FromGdk(placement_.Monitor().workArea); }

GameRect CGameDialog::MonitorRect() { return FromGdk(placement_.Monitor().geometry); }

GamePoint CGameDialog::CursorPosition() {
  GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
  GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
  gint x = 0, y = 0;
  if (pointer) gdk_device_get_position(pointer, nullptr, &x, &y);
  return {x, y};
}

// --- Making the parts ----------------------------------------------------------------------

void CGameDialog::SetWindowText(const std::string& text) {
  gtk_window_set_title(GTK_WINDOW(window_), GbkToUtf8(text).c_str());
}

bool CGameDialog::LoadSprite() { return LoadPackageImage(config_, app_, kSpriteEntry, sprite_); }

bool CGameDialog::CutEdgePiece(EdgePiece piece, const SpriteCut& s) {
  if (!sprite_.bitmap()) return false;
  const SkinBitmap cut = CutBitmap(*sprite_.bitmap(), s.x, s.y, s.width, s.height);
  return cut && painter_.SetPiece(piece, *cut);
}

bool CGameDialog::CreateBrowser(const GameRect& inWindow) {
  if (windowGone_) return false;
  auto browser = std::make_unique<CWebBrowserEx>(webContext_);
  if (!browser->Create(layout_, ChildRect(inWindow), true, kBrowserControlId, nullptr))
    return false;
  g_signal_connect(browser->view(), "event", G_CALLBACK(OnChildEvent), this);
  g_signal_connect(browser->view(), "enter-fullscreen", G_CALLBACK(OnPageEnterFullScreen), this);
  g_signal_connect(browser->view(), "leave-fullscreen", G_CALLBACK(OnPageLeaveFullScreen), this);
  browser_ = std::move(browser);
  return true;
}

void CGameDialog::StartBrowser(const std::string& gameUrl) {
  browser_->Navigate("about:blank");
  browser_->AttachUIHandler(false);
  browser_->SetExternal(&callback_);
  browser_->Navigate(gameUrl);
  browser_->SetSilent(true);
}

bool CGameDialog::CreateTitleButton(const TitleButtonSetup& setup) {
  if (windowGone_) return false;
  auto button = std::make_unique<CSkinButton>();
  const PixelRect rect{0, 0, setup.size.width, setup.size.height};
  if (!button->Create(setup.caption, rect, setup.commandId, [this](int id) { PostCommand(id); }))
    return false;
  SkinBitmap faces[3];
  for (size_t i = 0; i < 3; ++i) {
    const SpriteCut& face = setup.faces[i];
    if (sprite_.bitmap() && IsCuttable(face))
      faces[i] = CutBitmap(*sprite_.bitmap(), face.x, face.y, face.width, face.height);
  }
  button->typeTag = static_cast<uint8_t>(setup.type);
  button->SetImages(std::move(faces[0]), std::move(faces[1]), std::move(faces[2]), nullptr, nullptr,
                    nullptr, 0, 0, 0);
  if (setup.link) button->SetLinkUrl(*setup.link);
  if (!setup.tip.empty()) button->SetTipText(setup.tip);
  button->SetCaptionColor(static_cast<uint32_t>(setup.captionColor));
  button->indexTag = static_cast<int32_t>(setup.entryIndex);
  // The keyboard stays with the game page: a click on a title-bar button, or a menu or
  // question it opens, must not leave the player's keys on the button.
  gtk_widget_set_can_focus(button->widget(), FALSE);
  gtk_layout_put(GTK_LAYOUT(layout_), button->widget(), 0, 0);
  g_signal_connect(button->widget(), "event", G_CALLBACK(OnChildEvent), this);
  buttonRects_.push_back({0, 0, setup.size.width, setup.size.height});
  buttons_.push_back(std::move(button));
  return true;
}

bool CGameDialog::CreateLogo(GamePoint position, GameSize& size) {
  if (windowGone_) return false;
  SkinImage image;
  if (!LoadPackageImage(config_, app_, kLogoEntry, image) || !image.bitmap()) return false;
  // A plain copy of the picture, as a bitmap control shows it: no alpha blending.
  CairoSurfacePtr surface = OpaqueSurface(*image.bitmap());
  if (!surface) return false;
  size = {image.GetWidth(), image.GetHeight()};
  // A picture without a window of its own: presses on it reach the window below, which
  // moves by it like by the rest of the title band.
  logo_ = gtk_image_new_from_surface(surface.get());
  const GdkRectangle at = ChildRect({position.x, position.y, position.x, position.y});
  gtk_layout_put(GTK_LAYOUT(layout_), logo_, at.x, at.y);
  gtk_widget_show(logo_);
  return true;
}

void CGameDialog::ShowInTaskbar() { gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window_), FALSE); }

// --- The window ----------------------------------------------------------------------------

void CGameDialog::MoveWindow(const GameRect& rect) {
  // X moves a window with its contents; only a new size needs painting, and the size change
  // lays the window out and invalidates it.
  if (!windowGone_ && placement_.Move(rect)) model_.OnSize(iconified_);
}

void CGameDialog::PlaceWindow(const GameRect& rect, GameWindowState state) {
  if (!windowGone_ && placement_.Place(rect, state)) model_.OnSize(iconified_);
}

void CGameDialog::HideWindow() {
  if (!windowGone_) gtk_widget_hide(window_);
}

void CGameDialog::ShowWindow() {
  if (windowGone_) return;
  // Mapped again, the window goes back where it was, not where a window manager would put it.
  const GameRect& r = placement_.rect();
  gtk_window_move(GTK_WINDOW(window_), r.left, r.top);
  gtk_window_present(GTK_WINDOW(window_));
}

void CGameDialog::MinimizeWindow() {
  if (windowGone_) return;
  gtk_window_iconify(GTK_WINDOW(window_));
  // A hidden window is mapped again minimised (where a window manager minimises windows at
  // all; without one it simply shows), where it was.
  if (!gtk_widget_get_visible(window_)) {
    const GameRect& r = placement_.rect();
    gtk_window_move(GTK_WINDOW(window_), r.left, r.top);
    gtk_widget_show(window_);
  }
}

void CGameDialog::InvalidateWindow() {
  if (!windowGone_) gtk_widget_queue_draw(window_);
}

void CGameDialog::BeginSizing(int edge, GamePoint screen) {
  if (placement_.managed()) {
    placement_.BeginResize(edge, press_);
  } else {
    sizing_.Begin(edge, placement_.rect(), screen);
  }
}

void CGameDialog::Sizing(GamePoint pointer) {
  std::optional<GameRect> proposed = sizing_.Track(pointer);
  if (!proposed) return;
  model_.OnSizing(*proposed);
  if (*proposed != placement_.rect()) MoveWindow(*proposed);
}

void CGameDialog::EndPointerOperation() {
  sizing_.End();
  pressOnClient_ = false;
  ScheduleSettle();
}

void CGameDialog::SetCursor(CursorShape shape) {
  if (cursorShown_ == shape) return;
  GdkWindow* surface = gtk_layout_get_bin_window(GTK_LAYOUT(layout_));
  if (!surface) return;
  auto& cursor = cursors_[static_cast<size_t>(shape)];
  if (!cursor) {
    GdkDisplay* display = gdk_window_get_display(surface);
    GdkCursor* made = gdk_cursor_new_from_name(display, CursorName(shape));
    cursor = GObjectPtr<GdkCursor>::Adopt(made ? made
                                               : gdk_cursor_new_for_display(display, GDK_LEFT_PTR));
  }
  gdk_window_set_cursor(surface, cursor.get());
  cursorShown_ = shape;
}

// --- Children ------------------------------------------------------------------------------

void CGameDialog::MoveBrowser(const GameRect& inWindow) {
  if (!browser_ || windowGone_) return;
  browser_->Move(ChildRect(inWindow));
  gtk_widget_queue_draw(browser_->widget());
}

void CGameDialog::RedrawBrowser() {
  if (browser_ && !windowGone_) gtk_widget_queue_draw(browser_->widget());
}

void CGameDialog::MoveButton(size_t slot, const GameRect& inWindow) {
  if (slot >= buttons_.size() || windowGone_) return;
  buttonRects_[slot] = inWindow;
  const GdkRectangle r = ChildRect(inWindow);
  GtkWidget* widget = buttons_[slot]->widget();
  gtk_layout_move(GTK_LAYOUT(layout_), widget, r.x, r.y);
  gtk_widget_set_size_request(widget, std::max(r.width, 1), std::max(r.height, 1));
}

void CGameDialog::SetButtonVisible(size_t slot, bool visible) {
  if (slot < buttons_.size() && !windowGone_)
    gtk_widget_set_visible(buttons_[slot]->widget(), visible);
}

GameRect CGameDialog::ButtonRectOnScreen(size_t slot) {
  if (slot >= buttonRects_.size()) return {};
  const GameRect& r = buttonRects_[slot];
  const GameRect& window = placement_.rect();
  return {SaturatedAdd(r.left, window.left), SaturatedAdd(r.top, window.top),
          SaturatedAdd(r.right, window.left), SaturatedAdd(r.bottom, window.top)};
}

void CGameDialog::SetButtonLink(size_t slot, const std::string& url) {
  if (slot < buttons_.size()) buttons_[slot]->SetLinkUrl(url);
}

void CGameDialog::SetLogoVisible(bool visible) {
  if (logo_ && !windowGone_) gtk_widget_set_visible(logo_, visible);
}

// --- Questions, menus and the rest ---------------------------------------------------------

bool CGameDialog::AskOkCancel(const std::string& text, const std::string& caption) {
  return gtk::AskOkCancel(windowGone_ ? nullptr : GTK_WINDOW(window_), GbkToUtf8(text),
                          GbkToUtf8(caption));
}

void CGameDialog::PopupMenu(const std::vector<MenuItem>& items, GamePoint screen) {
  // A menu opened while the window is shown is its popup, placed in its coordinates: Wayland
  // has no screen coordinates and shows a popup only over its parent. On X11 the place on
  // screen is the same either way. A hidden window leaves the screen point (the tray's).
  GdkWindow* relativeTo = nullptr;
  GamePoint at = screen;
  if (!windowGone_ && gtk_widget_get_mapped(window_) && !iconified_) {
    relativeTo = gtk_widget_get_window(window_);
    const GameRect& window = placement_.rect();
    at = {SaturatedAdd(screen.x, -window.left), SaturatedAdd(screen.y, -window.top)};
  }
  if (!relativeTo) relativeTo = gdk_screen_get_root_window(gtk_widget_get_screen(window_));
  menu_.Show(items, relativeTo, at, commandEvent_.get(), [this](int id) { PostCommand(id); });
}

bool CGameDialog::AddTrayIcon(const TrayIconSetup& icon) {
  const unsigned id = icon.id;
  TrayEvents events;
  events.mouse = [this, id](unsigned mouseMessage) {
    PostWithEvent([this, id, mouseMessage] { model_.OnTrayNotify(id, mouseMessage); });
  };
  events.command = [this](int command) { PostCommand(command); };
  events.lost = [this] {
    Post([this] {
      if (!ended_) model_.OnTrayIconLost();
    });
  };
  return tray_.Show(icon_.get(), icon, std::move(events));
}

void CGameDialog::CleanBrowserCache() {
  if (browser_) ClearBrowserCache(browser_->view());
}

void CGameDialog::StartProgram() {
  const std::string path = app_.ProgramPath();
  if (path.empty()) return;
  // The path itself is the whole command: no shell, no search, nothing to quote.
  gchar* argv[] = {const_cast<gchar*>(path.c_str()), nullptr};
  GError* error = nullptr;
  if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error))
    g_clear_error(&error);
}

void CGameDialog::CallPage(const PageCall& call) {
  if (browser_) browser_->CallFunction(call.function, call.args, nullptr);
}

void CGameDialog::EndDialog() {
  ended_ = true;
  if (!windowGone_) gtk_widget_hide(window_);
  if (loop_ && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
}

// The page's element goes full screen as WebKit does it (the signal is not stopped), and the
// window enters its own full screen, the state the key and the menu toggle.
gboolean CGameDialog::OnPageEnterFullScreen(WebKitWebView*, gpointer self) {
  auto* dialog = static_cast<CGameDialog*>(self);
  dialog->pageFullScreen_ = true;
  if (!dialog->ended_ && !dialog->model_.fullScreen())
    Guarded([&] { dialog->model_.EnterFullScreen(); });
  return FALSE;
}

gboolean CGameDialog::OnPageLeaveFullScreen(WebKitWebView*, gpointer self) {
  auto* dialog = static_cast<CGameDialog*>(self);
  dialog->pageFullScreen_ = false;
  if (!dialog->ended_ && dialog->model_.fullScreen())
    Guarded([&] { dialog->model_.LeaveFullScreen(); });
  return FALSE;
}

void CGameDialog::FullScreenChanged(bool fullScreen) {
  if (fullScreen || !pageFullScreen_ || !browser_ || !browser_->view()) return;
  // Leaving by key or menu: the page leaves its element's full screen too.
  webkit_web_view_evaluate_javascript(browser_->view(),
                                      "if (document.fullscreenElement) document.exitFullscreen();",
                                      -1, nullptr, nullptr, nullptr, nullptr, nullptr);
}

void CGameDialog::Post(std::function<void()> task) noexcept {
  PostToUiThread(alive_, std::move(task));
}

void CGameDialog::PostWithEvent(std::function<void()> task) noexcept {
  // The event that asked for the task goes with it: a menu the task opens is placed and takes
  // the pointer with it (a Wayland popup needs it).
  Post([this, task = std::move(task), event = CurrentEvent()] {
    commandEvent_ = event;
    task();
    commandEvent_.reset();
  });
}

void CGameDialog::PostCommand(int id) noexcept {
  PostWithEvent([this, id] {
    if (!ended_) model_.OnCommand(id);
  });
}

// --- Native events -------------------------------------------------------------------------

gboolean CGameDialog::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* self = static_cast<CGameDialog*>(data);
  if (!gtk_cairo_should_draw_window(cr, gtk_layout_get_bin_window(GTK_LAYOUT(widget))))
    return FALSE;
  const GameSize client{gtk_widget_get_allocated_width(widget),
                        gtk_widget_get_allocated_height(widget)};
  // A minimised X11 window is unmapped and never painted, so the icon plan does not arise.
  Guarded(
      [&] {
        self->painter_.Paint(cr, self->model_.PaintPlan(false, client, {}),
                             self->titleText_.For(widget));
        return 0;
      },
      0);
  return FALSE;  // the children paint over the frame
}

gboolean CGameDialog::OnLayoutEvent(GtkWidget*, GdkEvent* event, gpointer self) {
  return Guarded([&] { return static_cast<CGameDialog*>(self)->LayoutEvent(*event); }, false);
}

bool CGameDialog::LayoutEvent(const GdkEvent& event) {
  if (ended_) return false;
  const GamePoint screen = ScreenPoint(event);
  switch (event.type) {
    case GDK_BUTTON_PRESS:
      if (event.button.button == 3)
        return model_.FilterInput(*MouseInput(event)) == InputRoute::kConsumed;
      if (event.button.button == 1) {
        press_ = {event.button.button, screen, event.button.time};
        const HitCode hit = model_.OnNcHitTest(screen);
        if (IsDoubleClick(layout_, event.button) && hit == HitCode::kClient &&
            TitleDoubleClick(screen))
          return true;
        if (hit != HitCode::kClient) {
          model_.OnNcLButtonDown(static_cast<int>(hit), screen);
        } else if (placement_.managed()) {
          // The system's move starts once the pointer travels (SystemMoveEvent), so that
          // clicks and double-clicks on the band stay ours.
          pressOnClient_ = model_.TitleBandDraggable(ClientPoint(screen));
        } else {
          // The grab point is where the button went down, whatever moves came before.
          model_.OnMouseMove(ClientPoint(screen), false);
          pressOnClient_ = true;
        }
      }
      return true;
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
      return true;  // double-clicks were told apart at their second press
    case GDK_BUTTON_RELEASE:
      if (event.button.button == 3)
        return model_.FilterInput(*MouseInput(event)) == InputRoute::kConsumed;
      if (event.button.button == 1) EndPointerOperation();
      return true;
    case GDK_MOTION_NOTIFY: {
      if (sizing_.active()) {
        Sizing(screen);
        return true;
      }
      // The layout keeps the pointer while a button is held; outside the window there is no
      // surface of ours to test, only a drag in progress to follow.
      if (!Inside(screen) && !pressOnClient_) return true;
      const HitCode hit = model_.OnNcHitTest(screen);
      SetCursor(model_.OnSetCursor(static_cast<int>(hit)));
      if (placement_.managed()) {
        if (pressOnClient_) SystemMoveEvent(event.motion, screen);
        return true;
      }
      if (hit == HitCode::kClient || pressOnClient_)
        model_.OnMouseMove(ClientPoint(screen), LeftButtonOnly(event.motion.state));
      return true;
    }
    case GDK_GRAB_BROKEN:
      EndPointerOperation();
      return false;
    default:
      return false;
  }
}

gboolean CGameDialog::OnChildEvent(GtkWidget* child, GdkEvent* event, gpointer self) {
  return Guarded([&] { return static_cast<CGameDialog*>(self)->ChildEvent(child, *event); }, false);
}

bool CGameDialog::ChildEvent(GtkWidget* child, const GdkEvent& event) {
  if (ended_) return false;
  if (!browser_ || child != GTK_WIDGET(browser_->view())) return ButtonEvent(child, event);
  const std::optional<InputEvent> input = MouseInput(event);
  return input && model_.FilterInput(*input) == InputRoute::kConsumed;
}

bool CGameDialog::ButtonEvent(GtkWidget* button, const GdkEvent& event) {
  switch (event.type) {
    case GDK_BUTTON_PRESS:
      if (event.button.button == 3)
        return model_.FilterInput(*MouseInput(event)) == InputRoute::kConsumed;
      if (event.button.button == 1 && IsDoubleClick(button, event.button) &&
          TitleDoubleClick(ScreenPoint(event))) {
        swallowRelease_ = button;
        return true;
      }
      return false;
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
      return true;
    case GDK_BUTTON_RELEASE:
      if (event.button.button == 3)
        return model_.FilterInput(*MouseInput(event)) == InputRoute::kConsumed;
      if (event.button.button == 1 && swallowRelease_ == button) {
        swallowRelease_ = nullptr;
        return true;
      }
      return false;
    default:
      return false;
  }
}

void CGameDialog::SystemMoveEvent(const GdkEventMotion& motion, GamePoint screen) {
  if (!(motion.state & GDK_BUTTON1_MASK)) {
    pressOnClient_ = false;
    return;
  }
  gint threshold = 8;
  g_object_get(gtk_settings_get_default(), "gtk-dnd-drag-threshold", &threshold, nullptr);
  if (std::abs(screen.x - press_.root.x) < threshold &&
      std::abs(screen.y - press_.root.y) < threshold)
    return;
  pressOnClient_ = false;
  // As from the press itself: the window catches up with the pointer.
  placement_.BeginMove(press_);
}

bool CGameDialog::IsDoubleClick(GtkWidget* widget, const GdkEventButton& press) {
  DoubleClickLimits limits;
  g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &limits.time,
               "gtk-double-click-distance", &limits.distance, nullptr);
  return clicks_.Press(widget, press.time, ScreenPoint(reinterpret_cast<const GdkEvent&>(press)),
                       limits);
}

bool CGameDialog::TitleDoubleClick(GamePoint screen) {
  if (model_.FilterInput(InputEvent::Mouse(InputEvent::Kind::kLeftDoubleClick, screen)) !=
      InputRoute::kConsumed)
    return false;
  // The window changed state under the held button: a drag starts afresh from here.
  pressOnClient_ = false;
  if (Inside(screen)) model_.OnMouseMove(ClientPoint(screen), false);
  return true;
}

gboolean CGameDialog::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<CGameDialog*>(data);
  if (self->ended_) return FALSE;
  return Guarded(
      [&] { return self->model_.FilterInput(KeyInput(*event)) == InputRoute::kConsumed; }, false);
}

gboolean CGameDialog::OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  Guarded([&] { static_cast<CGameDialog*>(data)->PostCommand(kCommandCancel); });
  return TRUE;  // the close question decides
}

void CGameDialog::OnWindowDestroyed(GtkWidget*, gpointer data) {
  // Destroyed from outside (the X window went away): nothing is left to show, so the game
  // window ends as if it had been closed.
  auto* self = static_cast<CGameDialog*>(data);
  self->windowGone_ = true;
  self->placement_.Attach(nullptr);
  Guarded([&] { self->model_.EndGameWindow(); });
  self->EndDialog();
}

gboolean CGameDialog::OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data) {
  auto* self = static_cast<CGameDialog*>(data);
  const GameRect seen{event->x, event->y, event->x + event->width, event->y + event->height};
  if (self->ended_ || self->windowGone_) return FALSE;
  // On bare X11 the reports trail our own moves: where the window is settles once they stop.
  // Where the system moves and sizes the window, its reports are taken at once; under a window
  // manager the position settles as well, since the manager may move the frame without a
  // report (as it maps the window).
  const DesktopKind kind = self->placement_.kind();
  if (kind == DesktopKind::kBareX11) {
    if (seen != self->placement_.rect()) self->ScheduleSettle();
    return FALSE;
  }
  self->TakeGeometry(seen);
  if (kind == DesktopKind::kX11WindowManager) self->ScheduleSettle();
  return FALSE;
}

void CGameDialog::TakeGeometry(const GameRect& seen) {
  if (placement_.Take(seen)) Guarded([&] { model_.OnSize(iconified_); });
}

void CGameDialog::ScheduleSettle() {
  if (settleTimer_) g_source_remove(settleTimer_);
  settleTimer_ = g_timeout_add(kSettleMilliseconds, OnSettle, this);
}

gboolean CGameDialog::OnSettle(gpointer data) {
  auto* self = static_cast<CGameDialog*>(data);
  self->settleTimer_ = 0;
  if (self->ended_ || self->windowGone_ || !gtk_widget_get_mapped(self->window_))
    return G_SOURCE_REMOVE;
  // A drag in progress settles on its release.
  if (self->sizing_.active() || self->pressOnClient_) return G_SOURCE_REMOVE;
  GdkWindow* window = gtk_widget_get_window(self->window_);
  gint x = 0, y = 0;
  gdk_window_get_origin(window, &x, &y);
  const GameRect actual{x, y, x + gdk_window_get_width(window), y + gdk_window_get_height(window)};
  // Moved or sized from outside: the window is where the system put it.
  if (actual != self->placement_.rect()) self->TakeGeometry(actual);
  return G_SOURCE_REMOVE;
}

void CGameDialog::OnMonitorsChanged(GdkScreen*, gpointer data) {
  // Run from the main loop, once GDK knows the new monitors and outside the signal.
  auto* self = static_cast<CGameDialog*>(data);
  self->Post([self] {
    if (!self->ended_ && !self->windowGone_) self->model_.OnMonitorsChanged();
  });
}

gboolean CGameDialog::OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
  auto* self = static_cast<CGameDialog*>(data);
  if (!(event->changed_mask & GDK_WINDOW_STATE_ICONIFIED)) return FALSE;
  self->iconified_ = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
  if (!self->ended_) Guarded([&] { self->model_.OnSize(self->iconified_); });
  return FALSE;
}

}  // namespace mc::gtk
