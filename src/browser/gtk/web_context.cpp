#include "browser/gtk/web_context.h"

#include <glib.h>

namespace mc::gtk {
namespace {

std::string Join(const char* base, const std::string& name) {
  gchar* path = g_build_filename(base, name.c_str(), nullptr);
  std::string result = path;
  g_free(path);
  return result;
}

}  // namespace

GObjectPtr<WebKitWebContext> NewProgramWebContext(const std::string& programName) {
  if (programName.empty() || programName == "." || programName == ".." ||
      programName.find('/') != std::string::npos)
    return {};
  const std::string data = Join(g_get_user_data_dir(), programName);
  const std::string cache = Join(g_get_user_cache_dir(), programName);
  const auto manager = GObjectPtr<WebKitWebsiteDataManager>::Adopt(webkit_website_data_manager_new(
      "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr));
  // Cookies are kept in memory unless given a file; SQLite keeps them as browsers do.
  const std::string cookies = Join(data.c_str(), "cookies.sqlite");
  webkit_cookie_manager_set_persistent_storage(
      webkit_website_data_manager_get_cookie_manager(manager.get()), cookies.c_str(),
      WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
  return GObjectPtr<WebKitWebContext>::Adopt(
      webkit_web_context_new_with_website_data_manager(manager.get()));
}

}  // namespace mc::gtk
