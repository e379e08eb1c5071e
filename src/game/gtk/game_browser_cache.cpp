#include "game/gtk/game_browser_cache.h"

namespace mc::gtk {

void ClearBrowserCache(WebKitWebView* view) {
  if (!view) return;
  WebKitWebsiteDataManager* data = webkit_web_view_get_website_data_manager(view);
  if (!data) return;
  const auto caches = static_cast<WebKitWebsiteDataTypes>(WEBKIT_WEBSITE_DATA_MEMORY_CACHE |
                                                          WEBKIT_WEBSITE_DATA_DISK_CACHE);
  // A timespan of 0 clears everything; the result of the clearing is of no interest.
  webkit_website_data_manager_clear(data, caches, 0, nullptr, nullptr, nullptr);
}

}  // namespace mc::gtk
