// Linux entry point: GTK is started, then the start-up sequence runs the program's windows.
#include <gtk/gtk.h>

#include "app/gtk/port_host.h"

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  mc::gtk::GtkAppHost host;
  mc::LauncherApp app(host, host);
  app.InitInstance();
  return 0;
}
