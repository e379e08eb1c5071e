#include "launcher/gtk/launcher_dialog.h"

#include "package/gtk/gbk_utf8.h"
#include "package/program_name.h"
#include "platform/gtk/colors.h"
#include "platform/gtk/prompts.h"
#include "platform/gtk/ui_thread.h"
#include "skin/gtk/program_icon.h"
#include "skin/gtk/skin_image.h"

namespace mc::gtk {
namespace {

// The Windows virtual-key code the key filters are written for; other keys only need to be
// told apart from those.
unsigned VirtualKey(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      return kVkReturn;
    case GDK_KEY_Escape:
      return kVkEscape;
    default:
      if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return kVkF1 + (keyval - GDK_KEY_F1);
      return 0xFF;  // any other key
  }
}

// The pages start at the latest this long after the window is made, painted or not.
constexpr guint kPagesAtLatestMs = 1000;

bool IsInside(GtkWidget* widget, GtkWidget* container) {
  return widget && container && (widget == container || gtk_widget_is_ancestor(widget, container));
}

}  // namespace

CLauncherStandardDlg::CLauncherStandardDlg(CTranslucentDialog* parent, const LauncherSession& session,
                                           WebContextSource webContext, UpdateStarter startUpdate)
    : CStandardDialog(parent),
      session_(session),
      webContext_(std::move(webContext)),
      startUpdate_(std::move(startUpdate)) {}

CLauncherStandardDlg::~CLauncherStandardDlg() {
  if (pagesDue_) g_source_remove(pagesDue_);
  // Buttons first, then the html areas, each in creation order.
  buttons_.clear();
  browsers_.clear();
}

GtkWindow* CLauncherStandardDlg::toplevel() const {
  return launcherOwner && launcherOwner->window() ? GTK_WINDOW(launcherOwner->window()) : nullptr;
}

bool CLauncherStandardDlg::OnInitDialog() {
  CStandardDialog::OnInitDialog();
  capture_ = GameAddressCapture();
  const ConfigRecord& config = session_.config.record();
  placeholderColor_ = static_cast<uint32_t>(config.loginCenterColor);
  if (GtkWindow* window = toplevel()) {
    gtk_window_set_title(window, GbkToUtf8(config.title).c_str());
    gtk_window_set_role(window, "launcher");
    if (const GObjectPtr<GdkPixbuf> icon = ProgramIcon()) gtk_window_set_icon(window, icon.get());
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect_after(window, "draw", G_CALLBACK(OnFirstDraw), this);
  }
  pagesDue_ = g_timeout_add(kPagesAtLatestMs, OnPagesDue, this);
  g_signal_connect(layer(), "draw", G_CALLBACK(OnLayerDraw), this);

  // A control that cannot be made stops the building there; the ones before it stay.
  BuildOverlayControls(BuildLauncherPlan(config), launcherOwner->pictureWidth(),
                       launcherOwner->pictureHeight(), *this);
  return true;
}

bool CLauncherStandardDlg::LoadButtonImage(const std::string& name, bool pressed, int& width,
                                           int& height) {
  SkinImage& face = pressed ? pressedFace_ : normalFace_;
  if (!LoadPackageImage(session_.config, session_.host, name, face)) return false;
  width = face.GetWidth();
  height = face.GetHeight();
  return true;
}

bool CLauncherStandardDlg::CreateButton(const LauncherControl& control, const ControlRect& r) {
  auto button = std::make_unique<CSkinButton>();
  if (!button->Create({}, {r.left, r.top, r.left + r.width, r.top + r.height}, control.id,
                      [this](int id) { OnButton(id); }))
    return false;
  Put(button->widget(), r.left, r.top);
  // Entirely off the picture: it exists, but even its one-pixel minimum must not grow the window.
  if (r.width == 0 || r.height == 0) gtk_widget_hide(button->widget());
  buttons_.push_back(std::move(button));
  return true;
}

void CLauncherStandardDlg::FinishButton(const LauncherControl& control) {
  CSkinButton& button = *buttons_.back();
  button.SetImages(normalFace_.Detach(), pressedFace_.Detach(), nullptr, nullptr, nullptr, nullptr,
                   0, 0, 0);
  button.SetLinkUrl(control.url);
  button.typeTag = static_cast<uint8_t>(control.linkType);
}

bool CLauncherStandardDlg::CreateHtmlArea(const LauncherControl& control, const ControlRect& r) {
  // Each area lies in a box of exactly its size: a web view may ask for more room than it was
  // given, and the layer would then grow the window beyond the picture.
  GtkWidget* box = gtk_layout_new(nullptr, nullptr);
  gtk_widget_set_size_request(box, r.width, r.height);
  Put(box, r.left, r.top);  // hidden with its area until the first page is there
  pendingAreas_.push_back({control, r, box});
  return true;
}

gboolean CLauncherStandardDlg::OnFirstDraw(GtkWidget* window, cairo_t*, gpointer data) {
  auto* self = static_cast<CLauncherStandardDlg*>(data);
  g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(OnFirstDraw), data);
  // Once this frame has gone out: idle work runs after the paint that called this.
  if (self->layer())
    PostToUiThread(WidgetLifetime(self->layer()), [self] { self->StartPages(); },
                   G_PRIORITY_DEFAULT_IDLE);
  return FALSE;
}

gboolean CLauncherStandardDlg::OnPagesDue(gpointer data) {
  auto* self = static_cast<CLauncherStandardDlg*>(data);
  self->pagesDue_ = 0;
  self->StartPages();
  return G_SOURCE_REMOVE;
}

void CLauncherStandardDlg::StartPages() {
  if (pagesStarted_ || !layer()) return;
  pagesStarted_ = true;
  if (pagesDue_) g_source_remove(pagesDue_);
  pagesDue_ = 0;
  // The worker reports to this layer; it outlives the launcher and owns its own copies.
  if (startUpdate_) startUpdate_(layer());
  std::vector<PendingArea> areas = std::move(pendingAreas_);
  pendingAreas_.clear();
  for (size_t i = 0; i < areas.size(); ++i) {
    if (StartHtmlArea(areas[i].control, areas[i].rect, areas[i].box)) continue;
    // An area that cannot be made ends the areas there.
    for (size_t j = i; j < areas.size(); ++j) gtk_widget_destroy(areas[j].box);
    break;
  }
}

bool CLauncherStandardDlg::StartHtmlArea(const LauncherControl& control, const ControlRect& r,
                                         GtkWidget* box) {
  auto browser = std::make_unique<CWebBrowserEx>(webContext_ ? webContext_() : nullptr);
  // Only the first area reports its events.
  BrowserEvents* events = control.id == kFirstHtmlAreaId ? this : nullptr;
  if (!browser->Create(box, GdkRectangle{0, 0, r.width, r.height}, false, control.id, events))
    return false;
  // An area off the picture stays hidden: GTK gives even an empty box one pixel.
  if (r.width > 0 && r.height > 0) areaBoxes_.push_back(box);
  browser->Navigate("about:blank");
  browser->AttachUIHandler(false);
  browser->Navigate(control.url);
  browsers_.push_back(std::move(browser));
  return true;
}

void CLauncherStandardDlg::OnButton(int id) {
  if (id == kMinimizeCommand) Minimize();
  if (id == kCloseCommand) CloseWithQuestion();
}

void CLauncherStandardDlg::Minimize() {
  // The picture and its controls are one window here.
  if (GtkWindow* window = toplevel()) gtk_window_iconify(window);
}

void CLauncherStandardDlg::CloseWithQuestion() {
  const std::string caption =
      ProgramBaseName(session_.host.ProgramPath(), '/', WithoutExtension::kWholeName);
  if (AskOkCancel(toplevel(), GbkToUtf8(session_.config.record().closeMsg), GbkToUtf8(caption)))
    OnOK();
}

void CLauncherStandardDlg::BeforeNavigate2(int controlId, const std::string& url, bool& cancel) {
  GameAddressCapture::Verdict verdict =
      capture_.OnBeforeNavigate(controlId, url, session_.config.record().gameheader);
  if (verdict.cancel) cancel = true;
  if (!verdict.address) return;
  session_.gameAddress = std::move(*verdict.address);
  OnOK();
}

void CLauncherStandardDlg::DocumentComplete(int controlId, const std::string& url) {
  if (!capture_.OnDocumentComplete(controlId, url)) return;
  for (const auto& browser : browsers_) browser->Show(true);
  for (GtkWidget* box : areaBoxes_) gtk_widget_show(box);
  if (layer()) gtk_widget_queue_draw(layer());
}

gboolean CLauncherStandardDlg::OnLayerDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  auto* self = static_cast<CLauncherStandardDlg*>(data);
  if (self->capture_.pageLoaded()) return FALSE;
  // Until the first page is there, the last html area's place shows the configured colour.
  const ControlRect& r = self->htmlAreaRect_;
  const uint32_t c = self->placeholderColor_;
  cairo_save(cr);
  SetSourceColorRef(cr, c);
  cairo_rectangle(cr, r.left, r.top, r.width, r.height);
  cairo_fill(cr);
  cairo_restore(cr);
  return FALSE;  // the controls are drawn next
}

gboolean CLauncherStandardDlg::OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<CLauncherStandardDlg*>(data);
  const unsigned key = VirtualKey(event->keyval);
  // Keys for a control of the layer pass (Enter and Escape never become dialog commands: a
  // plain window has none). Keys the picture itself has are filtered: function keys and
  // Ctrl or Shift combinations are dropped.
  if (IsInside(gtk_window_get_focus(GTK_WINDOW(window)), self->layer()))
    return FALSE;
  const bool ctrl = (event->state & GDK_CONTROL_MASK) != 0;
  const bool shift = (event->state & GDK_SHIFT_MASK) != 0;
  return FilterBackgroundKey(key, ctrl, shift) == KeyVerdict::kDiscard;
}

CLauncherTranslucentDlg::CLauncherTranslucentDlg(const LauncherSession& session,
                                                 std::unique_ptr<BackgroundImage> background,
                                                 WebContextSource webContext,
                                                 UpdateStarter startUpdate)
    : CTranslucentDialog(std::move(background)),
      session_(session),
      webContext_(std::move(webContext)),
      startUpdate_(std::move(startUpdate)) {}

std::unique_ptr<CStandardDialog> CLauncherTranslucentDlg::MakeOverlayDialog() {
  auto overlay = std::make_unique<CLauncherStandardDlg>(this, session_, webContext_, startUpdate_);
  overlay->owner = this;
  overlay->launcherOwner = this;
  overlayDlg_ = overlay.get();
  return overlay;
}

}  // namespace mc::gtk
