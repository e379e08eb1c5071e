#include "skin/gtk/skin_image.h"

#include <vector>

#include "skin/gtk/png_decoder.h"
#include "skin/package_image.h"

namespace mc::gtk {

bool SkinImage::LoadFromMemory(const uint8_t* data, size_t size) {
  bitmap_.reset();
  auto decoded = std::make_unique<SkinPixels>();
  if (!DecodePngToSkin(data, size, *decoded)) return false;
  bitmap_ = std::move(decoded);
  return true;
}

bool LoadImageFromMemory(SkinImage& image, const uint8_t* data, size_t size) {
  return image.LoadFromMemory(data, size);
}

bool LoadPackageImage(const LauncherConfig& config, AppHost& host, const std::string& name,
                      SkinImage& image) {
  std::vector<uint8_t> png;
  if (!ReadPackageImage(config, host, name, png)) return false;
  return LoadImageFromMemory(image, png.data(), png.size());
}

SkinBitmap CutBitmap(const SkinPixels& source, int x, int y, int width, int height) {
  auto piece = std::make_unique<SkinPixels>();
  if (!CutPixels(source, x, y, width, height, *piece)) return nullptr;
  return piece;
}

}  // namespace mc::gtk
