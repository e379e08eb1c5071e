// The eight pieces of the game window's border and title band, cut out of the sprite
// config/style.png. Each piece takes the picture that its edgeImage number names; a number
// that names no picture leaves the piece out (size 0, nothing drawn) instead of reading past
// the picture list.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "game/game_geometry.h"
#include "package/config_record.h"

namespace mc {

// Positions of the pieces, numbered as the edgeImage keys are.
enum class EdgePiece : int {
  kTopLeft = 1,
  kTop = 2,  // the title band; its height is the title bar's
  kTopRight = 3,
  kLeft = 4,
  kRight = 5,
  kBottomLeft = 6,
  kBottom = 7,
  kBottomRight = 8,
};

inline constexpr std::array<EdgePiece, 8> kAllEdgePieces = {
    EdgePiece::kTopLeft, EdgePiece::kTop,        EdgePiece::kTopRight, EdgePiece::kLeft,
    EdgePiece::kRight,   EdgePiece::kBottomLeft, EdgePiece::kBottom,   EdgePiece::kBottomRight};

// No picture side is taken larger than this: no bitmap that large can be decoded, and it
// keeps every sum of piece sizes and window sizes far from overflowing.
inline constexpr int kMaxPieceSide = 32767;

// The gamePics entry with this number, counted from 1; nullptr when there is none.
const GamePicEntry* PictureByNumber(const ConfigRecord& config, int32_t number);

// The sprite rectangle a piece is cut from, its size clamped to 0..kMaxPieceSide. nullopt
// when the piece's edgeImage number names no picture.
std::optional<SpriteCut> EdgePieceSource(const ConfigRecord& config, EdgePiece piece);

// A cut that yields a bitmap: both sides above 0.
constexpr bool IsCuttable(const SpriteCut& cut) { return cut.width > 0 && cut.height > 0; }

// Sizes and bitmaps of the eight pieces as the window holds them: all zero until the pieces
// are cut. A piece keeps its size even when its bitmap could not be made, so the frame's
// geometry does not depend on whether a cut succeeded.
class EdgePieces {
 public:
  int W(EdgePiece piece) const { return At(piece).source ? At(piece).source->width : 0; }
  int H(EdgePiece piece) const { return At(piece).source ? At(piece).source->height : 0; }
  bool HasBitmap(EdgePiece piece) const { return At(piece).hasBitmap; }
  const std::optional<SpriteCut>& Source(EdgePiece piece) const { return At(piece).source; }

  void Set(EdgePiece piece, std::optional<SpriteCut> source, bool hasBitmap);

  // Title bar height (H2).
  int TitleHeight() const { return H(EdgePiece::kTop); }

 private:
  struct Entry {
    std::optional<SpriteCut> source;
    bool hasBitmap = false;
  };
  const Entry& At(EdgePiece piece) const { return entries_[static_cast<int>(piece) - 1]; }

  std::array<Entry, 8> entries_{};
};

}  // namespace mc
