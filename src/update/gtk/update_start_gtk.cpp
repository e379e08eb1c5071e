#include "update/gtk/update_start_gtk.h"

#include "update/gtk/update_platform_gtk.h"

namespace mc::gtk {
namespace {

// A weak reference to the window: it neither keeps the window alive nor dangles once the
// window is finalized. GWeakRef may be read from any thread.
class WindowRef {
 public:
  explicit WindowRef(GtkWidget* window) { g_weak_ref_init(&ref_, window); }
  ~WindowRef() { g_weak_ref_clear(&ref_); }
  WindowRef(const WindowRef&) = delete;
  WindowRef& operator=(const WindowRef&) = delete;
  // A new reference to the window, or nullptr when it is gone or being destroyed.
  GtkWidget* Get() {
    gpointer object = g_weak_ref_get(&ref_);
    if (object && gtk_widget_in_destruction(GTK_WIDGET(object))) {
      g_object_unref(object);
      return nullptr;
    }
    return object ? GTK_WIDGET(object) : nullptr;
  }

 private:
  GWeakRef ref_;
};

struct Delivery {
  std::shared_ptr<WindowRef> window;
  std::shared_ptr<const std::function<void(int32_t)>> onResult;
  int32_t code;
};

gboolean Deliver(gpointer data) {
  auto* delivery = static_cast<Delivery*>(data);
  if (GtkWidget* window = delivery->window->Get()) {
    try {
      if (*delivery->onResult) (*delivery->onResult)(delivery->code);
    } catch (...) {
      // Nothing may leave a GLib callback.
    }
    g_object_unref(window);
  }
  return G_SOURCE_REMOVE;
}

void FreeDelivery(gpointer data) { delete static_cast<Delivery*>(data); }

}  // namespace

UpdateWorker::PostResult PostToWindow(GtkWidget* window, std::function<void(int32_t)> onResult) {
  auto ref = std::make_shared<WindowRef>(window);
  auto handler = std::make_shared<const std::function<void(int32_t)>>(std::move(onResult));
  return [ref, handler](int32_t code, const UpdateRecord&) {
    // The default main context is the UI thread's; the delivery is freed after it has run,
    // or with its source.
    g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, Deliver, new Delivery{ref, handler, code},
                    FreeDelivery);
  };
}

std::unique_ptr<UpdateWorker> StartUpdateCheck(const ConfigRecord& config,
                                               const std::string& workDirectory,
                                               GtkWidget* notifyWindow,
                                               std::function<void(int32_t)> onResult) {
  CurlHttpClient::GlobalInit();
  auto stop = std::make_shared<StopSignal>();
  return UpdateWorker::Start(MakeUpdateRecord(config, workDirectory),
                             std::make_unique<GtkUpdatePlatform>(stop),
                             PostToWindow(notifyWindow, std::move(onResult)), stop);
}

}  // namespace mc::gtk
