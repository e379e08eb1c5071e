// The program's icon on Linux, for the launcher, the game window and its tray icon. Windows keeps it as
// icon resource 128; the Linux port compiles the same .ico file in (see cmake/port-gtk.cmake)
// and decodes it here.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstddef>
#include <cstdint>

#include "platform/gtk/gobject_ptr.h"

namespace mc::gtk {

// The largest picture of an .ico file held in memory: a 32-bit DIB (with its alpha channel)
// or a PNG. Null for anything else or for bytes that are not a whole icon file.
GObjectPtr<GdkPixbuf> DecodeIco(const uint8_t* data, size_t size);

// The program icon, decoded once per call; null if the compiled-in file does not decode.
GObjectPtr<GdkPixbuf> ProgramIcon();

}  // namespace mc::gtk
