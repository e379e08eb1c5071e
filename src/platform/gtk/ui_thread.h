// The one way work reaches the UI thread (the default main context): from any thread, run once
// from the main loop, and only while whoever posted it still cares. A task whose owner is gone
// by then is dropped and freed; one that cannot even be allocated is dropped at once, as a full
// message queue drops a message. Nothing a task throws leaves the main loop's C frames.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>

namespace mc::gtk {

// Owners hand out weak references to a token they hold; their tasks run only while it lives.
using Lifetime = std::shared_ptr<const void>;
inline Lifetime NewLifetime() { return std::make_shared<int>(0); }

void PostToUiThread(std::weak_ptr<const void> owner, std::function<void()> task,
                    int priority = G_PRIORITY_DEFAULT) noexcept;

// An owner that lives exactly as long as `widget`: it expires when the widget is destroyed.
// Call on the UI thread.
std::weak_ptr<const void> WidgetLifetime(GtkWidget* widget);

}  // namespace mc::gtk
