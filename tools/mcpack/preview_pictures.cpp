#include "preview_pictures.h"

#include "mcpack.h"
#include "skin/gtk/png_decoder.h"

namespace mcpack {

const mc::SkinPixels* FolderPictures::Skin(const std::string& name) {
  const auto [it, added] = skins_.try_emplace(name);
  if (added) {
    const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(root_ / name);
    auto pixels = std::make_unique<mc::SkinPixels>();
    if (bytes && mc::gtk::DecodePngToSkin(bytes->data(), bytes->size(), *pixels))
      it->second = std::move(pixels);
  }
  return it->second.get();
}

cairo_surface_t* FolderPictures::Background() {
  if (!backgroundRead_) {
    backgroundRead_ = true;
    if (const std::optional<std::vector<uint8_t>> bytes =
            ReadFileBytes(root_ / mc::kBackgroundEntry))
      background_ = mc::gtk::DecodeBackgroundPng(*bytes);
  }
  return background_ ? background_->surface() : nullptr;
}

std::optional<mc::GameSize> FolderPictures::PictureSize(const std::string& name) {
  if (name == mc::kBackgroundEntry) {
    cairo_surface_t* surface = Background();
    if (!surface) return std::nullopt;
    return mc::GameSize{cairo_image_surface_get_width(surface),
                        cairo_image_surface_get_height(surface)};
  }
  const mc::SkinPixels* pixels = Skin(name);
  if (!pixels) return std::nullopt;
  return mc::GameSize{pixels->width(), pixels->height()};
}

bool FolderPictures::CutEdgePiece(mc::EdgePiece piece, const mc::SpriteCut& cut) {
  const mc::SkinPixels* sprite = Skin(mc::kSpriteEntry);
  mc::SkinPixels pixels;
  return sprite && mc::CutPixels(*sprite, cut.x, cut.y, cut.width, cut.height, pixels) &&
         painter_.SetPiece(piece, pixels);
}

}  // namespace mcpack
