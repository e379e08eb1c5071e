// Skin bitmaps on Windows: package PNGs decoded by GDI+ into DIB sections laid out by the
// shared rules of skin/skin_pixels.h (straight BGRA for pictures with alpha, the decoded depth
// for GDI formats, 32-bit RGB otherwise; bottom-up rows; palette as colour table).
//
// SkinImage plays the part of the framework's image class: it owns its bitmap until Detach,
// and keeps GDI+ started for itself, independently of the application's own start-up, for as
// long as any SkinImage exists (a process-wide count under a lock; the first Load after the
// last image has gone starts GDI+ again).
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/app_host.h"
#include "package/launcher_config.h"

namespace mc::win32 {

class SkinImage {
 public:
  SkinImage();
  ~SkinImage();
  SkinImage(const SkinImage&) = delete;
  SkinImage& operator=(const SkinImage&) = delete;

  // Decodes the stream into a new DIB section, replacing what the image held. False, leaving
  // the image empty, when GDI+ cannot be started or the stream does not decode.
  bool Load(IStream* stream);
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetBitsPerPixel() const { return bitsPerPixel_; }
  HBITMAP bitmap() const { return bitmap_; }
  // The bitmap leaves the image: the image forgets it and its size; the caller deletes it.
  HBITMAP Detach();
  void Destroy();

  // How many times images have started GDI+ in this process (for tests of the start-up count).
  static int DecoderStartups();

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
};

// Copies the bytes into a movable global block and decodes it through a stream that owns the
// block; the block is freed exactly once whatever happens.
bool LoadImageFromMemory(SkinImage& image, const uint8_t* data, size_t size);

// Reads and decodes a package picture by its exact entry name. A missing entry shows the
// start-up failure message; an undecodable one fails silently.
bool LoadPackageImage(const LauncherConfig& config, AppHost& host, const std::string& name,
                      SkinImage& image);

}  // namespace mc::win32
