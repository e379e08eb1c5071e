// Linux entry point: GTK is started, then the start-up sequence runs the program's windows.
#include <gtk/gtk.h>

#include "app/launcher_app.h"
#include "platform/gtk/gtk_app_host.h"

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  mc::gtk::GtkAppHost host;
  mc::LauncherApp app(host);
  app.InitInstance();
  return 0;
}
