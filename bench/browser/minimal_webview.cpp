// The floor for the browser benchmark: the least a WebKitGTK program does to show one page in
// one window. Prints the wall-clock time of the page's first load-finished to stderr, then
// keeps running until killed so its memory can be measured.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdio>
#include <ctime>

static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer done) {
  if (event != WEBKIT_LOAD_FINISHED || *static_cast<bool*>(done)) return;
  *static_cast<bool*>(done) = true;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "first-complete %lld.%09ld\n", static_cast<long long>(now.tv_sec),
               now.tv_nsec);
}

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc < 2) return 64;
  bool done = false;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 400, 300);
  GtkWidget* view = webkit_web_view_new();
  gtk_container_add(GTK_CONTAINER(window), view);
  g_signal_connect(view, "load-changed", G_CALLBACK(OnLoadChanged), &done);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
