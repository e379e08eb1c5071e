#include "skin/gtk/shell_open.h"

#include <gio/gio.h>

#include "package/gtk/gbk_utf8.h"

namespace mc::gtk {

void OpenWithDesktop(const std::string& gbkAddress) {
  const std::string uri = GbkToUtf8(gbkAddress);
  GError* error = nullptr;
  if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) g_clear_error(&error);
}

}  // namespace mc::gtk
