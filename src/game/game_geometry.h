// Plain geometry of the game window: points, sizes and rectangles in pixels, in whichever
// coordinates the caller names (screen, window or sprite). Configuration numbers are any
// 32-bit values, so sums are formed in 64 bits and saturated back instead of overflowing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace mc {

struct GamePoint {
  int x = 0;
  int y = 0;
  bool operator==(const GamePoint&) const = default;
};

struct GameSize {
  int width = 0;
  int height = 0;
  bool operator==(const GameSize&) const = default;
};

// Left and top inside, right and bottom outside, like a Windows RECT.
struct GameRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const GameRect&) const = default;
};

// A rectangle given by its corner and size, as picture cuts and copies take it.
struct SpriteCut {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const SpriteCut&) const = default;
};

// A 64-bit intermediate brought back into int range.
constexpr int SaturateInt(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

constexpr int SaturatedAdd(int a, int b) { return SaturateInt(int64_t{a} + b); }

}  // namespace mc
