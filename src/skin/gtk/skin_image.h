// Skin bitmaps on Linux. A skin bitmap is a SkinPixels object (device-independent layout,
// same bytes as on Windows); whoever holds its unique_ptr owns it. SkinImage plays the part of
// the image class that decodes a package picture: it owns its bitmap until Detach hands the
// bitmap to a control that keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/app_host.h"
#include "package/launcher_config.h"
#include "skin/skin_pixels.h"

namespace mc::gtk {

using SkinBitmap = std::unique_ptr<SkinPixels>;

class SkinImage {
 public:
  // Decodes PNG bytes, replacing what the image held. False, leaving it empty, when they do
  // not decode.
  bool LoadFromMemory(const uint8_t* data, size_t size);
  int GetWidth() const { return bitmap_ ? bitmap_->width() : 0; }
  int GetHeight() const { return bitmap_ ? bitmap_->height() : 0; }
  const SkinPixels* bitmap() const { return bitmap_.get(); }
  // The bitmap leaves the image; the image forgets it and its size.
  SkinBitmap Detach() { return std::move(bitmap_); }
  void Destroy() { bitmap_.reset(); }

 private:
  SkinBitmap bitmap_;
};

bool LoadImageFromMemory(SkinImage& image, const uint8_t* data, size_t size);

// Reads and decodes a package picture by its exact entry name. A missing entry shows the
// start-up failure message; an undecodable one fails silently.
bool LoadPackageImage(const LauncherConfig& config, AppHost& host, const std::string& name,
                      SkinImage& image);

// A new bitmap holding the source rectangle at (x, y) of width x height, in the source's
// depth; nullptr for an empty size. The source is unchanged.
SkinBitmap CutBitmap(const SkinPixels& source, int x, int y, int width, int height);

}  // namespace mc::gtk
