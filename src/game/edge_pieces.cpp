#include "game/edge_pieces.h"

#include <algorithm>

namespace mc {

const GamePicEntry* PictureByNumber(const ConfigRecord& config, int32_t number) {
  if (number < 1 || static_cast<size_t>(number) > config.gamePics.size()) return nullptr;
  return &config.gamePics[static_cast<size_t>(number) - 1];
}

std::optional<SpriteCut> EdgePieceSource(const ConfigRecord& config, EdgePiece piece) {
  const int number = config.edgeImages[static_cast<size_t>(piece) - 1];
  const GamePicEntry* picture = PictureByNumber(config, number);
  if (!picture) return std::nullopt;
  return SpriteCut{picture->x, picture->y, std::clamp(picture->width, 0, kMaxPieceSide),
                   std::clamp(picture->height, 0, kMaxPieceSide)};
}

void EdgePieces::Set(EdgePiece piece, std::optional<SpriteCut> source, bool hasBitmap) {
  Entry& entry = entries_[static_cast<int>(piece) - 1];
  entry.source = source;
  entry.hasBitmap = hasBitmap && source.has_value();
}

}  // namespace mc
