#include "update/gtk/update_start.h"

#include "platform/gtk/ui_thread.h"
#include "update/gtk/update_platform.h"

namespace mc::gtk {

UpdateWorker::PostResult PostToWindow(GtkWidget* window, std::function<void(int32_t)> onResult) {
  const std::weak_ptr<const void> windowAlive = WidgetLifetime(window);
  auto handler = std::make_shared<const std::function<void(int32_t)>>(std::move(onResult));
  return [windowAlive, handler](int32_t code, const UpdateRecord&) {
    PostToUiThread(
        windowAlive,
        [handler, code] {
          if (*handler) (*handler)(code);
        },
        G_PRIORITY_DEFAULT_IDLE);
  };
}

std::unique_ptr<UpdateWorker> StartUpdateCheck(UpdateRecord record,
                                               GtkWidget* notifyWindow,
                                               std::function<void(int32_t)> onResult) {
  CurlHttpClient::GlobalInit();
  auto stop = std::make_shared<StopSignal>();
  return UpdateWorker::Start(std::move(record),
                             std::make_unique<GtkUpdatePlatform>(stop),
                             PostToWindow(notifyWindow, std::move(onResult)), stop);
}

}  // namespace mc::gtk
