// pixel_watch X Y RRGGBB SECONDS: reads the screen pixel at X,Y of $DISPLAY every millisecond
// and prints the wall-clock time (seconds since the epoch, with nanoseconds) at which it first
// has the colour RRGGBB (hex); exits 1 when SECONDS pass without it. Started just before a
// program, it tells when that program's first frame really reached the screen, which the
// window's map event alone does not.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: pixel_watch X Y RRGGBB SECONDS\n");
    return 2;
  }
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const unsigned long want = std::strtoul(argv[3], nullptr, 16);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(std::atof(argv[4]));
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  const Window root = DefaultRootWindow(display);
  while (std::chrono::steady_clock::now() < deadline) {
    if (XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap)) {
      const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
      XDestroyImage(image);
      if (pixel == want) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        XCloseDisplay(display);
        return 0;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  XCloseDisplay(display);
  return 1;
}
