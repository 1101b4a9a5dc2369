// Helpers for the desktop test that the X tools on a plain Debian machine lack:
//   desktop_tool png-info FILE        "WIDTH HEIGHT ORANGE DARK": the picture's size, the
//                                     orange pixels of the header strip (the logo and the
//                                     title), the dark pixels below it (page text)
//   desktop_tool png-diff A B         the number of pixels that differ in the header strip
//                                     and below it: "HEADER PAGE"
//   desktop_tool mapped-windows       the number of windows shown on the screen ($DISPLAY)
//   desktop_tool close-window XID     asks the window to close, as a window manager's close
//                                     button does (WM_DELETE_WINDOW)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kHeader = 50;  // the header strip's height in pixels

GdkPixbuf* Load(const char* file) {
  GError* error = nullptr;
  GdkPixbuf* p = gdk_pixbuf_new_from_file(file, &error);
  if (p == nullptr) {
    std::fprintf(stderr, "cannot read %s: %s\n", file, error != nullptr ? error->message : "?");
    if (error != nullptr) g_error_free(error);
  }
  return p;
}

const guchar* Pixel(GdkPixbuf* p, int x, int y) {
  return gdk_pixbuf_get_pixels(p) + y * gdk_pixbuf_get_rowstride(p) + x * gdk_pixbuf_get_n_channels(p);
}

int PngInfo(const char* file) {
  GdkPixbuf* p = Load(file);
  if (p == nullptr) return 1;
  const int w = gdk_pixbuf_get_width(p), h = gdk_pixbuf_get_height(p);
  long orange = 0, dark = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const guchar* c = Pixel(p, x, y);
      if (y < kHeader && c[0] > 200 && c[1] > 60 && c[1] < 150 && c[2] < 80) ++orange;
      if (y >= kHeader && c[0] < 110 && c[1] < 110 && c[2] < 110) ++dark;
    }
  }
  std::printf("%d %d %ld %ld\n", w, h, orange, dark);
  g_object_unref(p);
  return 0;
}

int PngDiff(const char* a, const char* b) {
  GdkPixbuf* p = Load(a);
  GdkPixbuf* q = Load(b);
  if (p == nullptr || q == nullptr) return 1;
  const int w = std::min(gdk_pixbuf_get_width(p), gdk_pixbuf_get_width(q));
  const int h = std::min(gdk_pixbuf_get_height(p), gdk_pixbuf_get_height(q));
  long header = 0, page = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (std::memcmp(Pixel(p, x, y), Pixel(q, x, y), 3) != 0) ++(y < kHeader ? header : page);
  std::printf("%ld %ld\n", header, page);
  g_object_unref(p);
  g_object_unref(q);
  return 0;
}

int MappedWindows() {
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) return 1;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  int count = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n) != 0) {
    for (unsigned int i = 0; i < n; ++i) {
      XWindowAttributes a;
      if (XGetWindowAttributes(d, children[i], &a) != 0 && a.map_state == IsViewable) ++count;
    }
    if (children != nullptr) XFree(children);
  }
  std::printf("%d\n", count);
  XCloseDisplay(d);
  return 0;
}

int CloseWindow(const char* xid) {
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) return 1;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = static_cast<Window>(std::strtoul(xid, nullptr, 0));
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
  XFlush(d);
  XCloseDisplay(d);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "png-info" && argc == 3) return PngInfo(argv[2]);
  if (command == "png-diff" && argc == 4) return PngDiff(argv[2], argv[3]);
  if (command == "mapped-windows" && argc == 2) return MappedWindows();
  if (command == "close-window" && argc == 3) return CloseWindow(argv[2]);
  std::fprintf(stderr, "usage: desktop_tool png-info FILE | png-diff A B | mapped-windows | close-window XID\n");
  return 2;
}
