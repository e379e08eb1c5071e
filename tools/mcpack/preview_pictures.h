// The package folder's pictures for the preview, decoded by the Linux client's own decoders so
// the preview shows the pixels the client shows: the launcher background with its alpha, the
// other pictures as opaque skin bitmaps.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "game/gtk/game_frame_painter.h"
#include "preview/preview_scene.h"
#include "skin/gtk/background_image.h"
#include "skin/skin_pixels.h"

namespace mcpack {

class FolderPictures final : public mc::PreviewPictures {
 public:
  explicit FolderPictures(std::filesystem::path root) : root_(std::move(root)) {}

  std::optional<mc::GameSize> PictureSize(const std::string& name) override;
  bool CutEdgePiece(mc::EdgePiece piece, const mc::SpriteCut& cut) override;

  // A decoded skin picture; nullptr when missing or undecodable. Decoded once.
  const mc::SkinPixels* Skin(const std::string& name);
  // The launcher background, premultiplied as the launcher paints it; nullptr without one.
  cairo_surface_t* Background();
  // Holds the edge pieces cut so far.
  mc::gtk::GameFramePainter& painter() { return painter_; }

 private:
  std::filesystem::path root_;
  std::map<std::string, std::unique_ptr<mc::SkinPixels>> skins_;  // nullptr: did not decode
  std::unique_ptr<mc::gtk::CairoBackground> background_;
  bool backgroundRead_ = false;
  mc::gtk::GameFramePainter painter_;
};

}  // namespace mcpack
