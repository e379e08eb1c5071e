#include "browser/gtk/web_browser_ex.h"

namespace mc::gtk {

bool CWebBrowserEx::AttachUIHandler(bool keepScrollbars) {
  if (!controller_.options.Attach(view() != nullptr, keepScrollbars)) return false;
  ShowBorder(controller_.options.showBorder);
  controller_.ConnectBrowser();
  return true;
}

}  // namespace mc::gtk
