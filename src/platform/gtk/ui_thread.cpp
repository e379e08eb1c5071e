#include "platform/gtk/ui_thread.h"

#include "platform/gtk/callback_guard.h"

namespace mc::gtk {
namespace {

struct PostedTask {
  std::weak_ptr<const void> owner;
  std::function<void()> run;
};

constexpr char kLifetimeKey[] = "mc-lifetime";

}  // namespace

void PostToUiThread(std::weak_ptr<const void> owner, std::function<void()> task,
                    int priority) noexcept {
  PostedTask* posted = Guarded([&] { return new PostedTask{std::move(owner), std::move(task)}; },
                               static_cast<PostedTask*>(nullptr));
  if (!posted) return;
  g_idle_add_full(
      priority,
      [](gpointer data) -> gboolean {
        auto* posted = static_cast<PostedTask*>(data);
        if (const std::shared_ptr<const void> alive = posted->owner.lock())
          Guarded([&] { posted->run(); });
        return G_SOURCE_REMOVE;
      },
      posted, [](gpointer data) { delete static_cast<PostedTask*>(data); });
}

std::weak_ptr<const void> WidgetLifetime(GtkWidget* widget) {
  // The widget holds the only strong reference; "destroy" drops it, which every weak reference
  // handed out sees at once.
  if (auto* held = static_cast<Lifetime*>(g_object_get_data(G_OBJECT(widget), kLifetimeKey)))
    return *held;
  auto* held = new Lifetime(NewLifetime());
  g_object_set_data_full(G_OBJECT(widget), kLifetimeKey, held,
                         [](gpointer data) { delete static_cast<Lifetime*>(data); });
  g_signal_connect(widget, "destroy", G_CALLBACK(+[](GtkWidget* w, gpointer) {
                     g_object_set_data(G_OBJECT(w), kLifetimeKey, nullptr);
                   }),
                   nullptr);
  return *held;
}

}  // namespace mc::gtk
