// Checks a screenshot of the game window against what its frame must show, computed from the
// package's style.png and the core's paint plan (the same rules the window paints by).
//
// usage: game_frame_check frame CONFIG_DIR SHOT.png X Y W H max|restored
//          Samples every edge copy of the plan for a window at (X, Y) of W x H (stretched
//          pieces at both ends of the span each source pixel covers, where smoothing would
//          show) and compares the screenshot's pixels with the sprite's, except where a
//          title-bar button, the browser, the logo or the title text lies over the frame; then
//          the logo (a plain copy of logo.png) and the normal face of every button without a
//          caption that the state shows (the first maximise button only when restored, the
//          first restore button only when maximised). Prints "checked N, differ M"; exit 0
//          when N > 0 and M == 0.
//        game_frame_check title CONFIG_DIR SHOT.png X Y W H max|restored
//          Prints the rightmost column (window coordinates) of the title band, left of the
//          buttons, that shows the title colour; -1 when none does.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "game/edge_pieces.h"
#include "game/frame_layout.h"
#include "game/title_buttons.h"
#include "game/title_paint.h"
#include "package/config_record.h"
#include "package/ini_document.h"
#include "skin/gtk/png_decoder.h"

namespace {

bool ReadFile(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

bool Decode(const std::string& path, mc::SkinPixels& pixels) {
  std::vector<uint8_t> bytes;
  return ReadFile(path, bytes) && mc::gtk::DecodePngToSkin(bytes.data(), bytes.size(), pixels);
}

uint32_t ColorAt(const mc::SkinPixels& p, int x, int y) {
  if (x < 0 || y < 0 || x >= p.width() || y >= p.height()) return 0;  // cut pieces hold 0 there
  return mc::PixelColorRef(p.rows(), p.colorTable(), x, y);
}

bool Inside(const mc::GameRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Source columns (or rows) to sample: all of a small piece, 16 spread over a larger one.
std::vector<int> Samples(int size) {
  std::vector<int> out;
  const int count = std::min(size, 16);
  for (int i = 0; i < count; ++i) out.push_back(size <= 16 ? i : i * (size - 1) / (count - 1));
  return out;
}

// Nearest-neighbour stretching of `source` pixels over `dest`: destination pixel d shows the
// source pixel under its centre. For each sampled source pixel, the first and the last
// destination pixel showing it, as (source, destination) pairs: there a smoothing filter would
// blend in the neighbours. Pixels whose centre falls (nearly) on a source boundary are left
// out, since rounding may put them on either side.
std::vector<std::pair<int, int>> SpanEnds(int source, int dest) {
  std::vector<int> first(static_cast<size_t>(source), -1), last(static_cast<size_t>(source), -1);
  for (int d = 0; d < dest; ++d) {
    const int64_t scaled = (2 * int64_t{d} + 1) * source, whole = 2 * int64_t{dest};
    const int64_t fraction = scaled % whole;
    if (fraction < whole / 100 || fraction > whole - whole / 100) continue;
    const auto s = static_cast<size_t>(scaled / whole);
    if (first[s] < 0) first[s] = d;
    last[s] = d;
  }
  std::vector<std::pair<int, int>> out;
  for (int s : Samples(source)) {
    if (first[static_cast<size_t>(s)] < 0) continue;
    out.emplace_back(s, first[static_cast<size_t>(s)]);
    if (last[static_cast<size_t>(s)] != first[static_cast<size_t>(s)])
      out.emplace_back(s, last[static_cast<size_t>(s)]);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 9) {
    std::fprintf(stderr, "usage: %s frame|title CONFIG_DIR SHOT.png X Y W H max|restored\n",
                 argv[0]);
    return 2;
  }
  const std::string mode = argv[1], dir = argv[2];
  const int wx = std::atoi(argv[4]), wy = std::atoi(argv[5]);
  const mc::GameSize window{std::atoi(argv[6]), std::atoi(argv[7])};
  const bool maximized = std::strcmp(argv[8], "max") == 0;

  std::vector<uint8_t> text;
  mc::IniDocument ini;
  mc::ConfigRecord config;
  if (!ReadFile(dir + "/cg.txt", text) ||
      !ini.Load(reinterpret_cast<const char*>(text.data()), text.size()) ||
      !mc::ParseConfig(
          ini, [] { return std::string(); }, config)) {
    std::fprintf(stderr, "cannot read %s/cg.txt\n", dir.c_str());
    return 2;
  }
  mc::SkinPixels sprite, shot, logo;
  if (!Decode(dir + "/style.png", sprite) || !Decode(argv[3], shot)) {
    std::fprintf(stderr, "cannot decode style.png or the screenshot\n");
    return 2;
  }
  const bool hasLogo = Decode(dir + "/logo.png", logo);

  mc::EdgePieces edges;
  for (mc::EdgePiece piece : mc::kAllEdgePieces) {
    const auto source = mc::EdgePieceSource(config, piece);
    edges.Set(piece, source, source && mc::IsCuttable(*source));
  }
  // What lies over the frame: the buttons, the browser (which overlaps corners wider than
  // the sides), the logo and the title text.
  std::vector<mc::ButtonAnchor> anchors;
  for (const mc::TitleButtonSetup& b : mc::TitleButtonSetups(config))
    anchors.push_back({b.offset, b.size});
  const mc::ChildLayout children = mc::ComputeChildLayout(window, maximized, false, edges, anchors);
  std::vector<mc::GameRect> covered = children.buttons;
  int buttonsLeft = window.width;
  for (const mc::GameRect& r : covered) buttonsLeft = std::min(buttonsLeft, r.left);
  covered.push_back(children.browser);
  if (hasLogo)
    covered.push_back(mc::LogoRect({config.logx, config.logy}, {logo.width(), logo.height()}));
  const mc::GameRect titleBox{config.titlex, config.titley, buttonsLeft, edges.TitleHeight()};
  covered.push_back(titleBox);

  if (mode == "title") {
    int rightmost = -1;
    for (int y = titleBox.top; y < titleBox.bottom; ++y)
      for (int x = std::max(titleBox.left, 0); x < titleBox.right; ++x)
        if (ColorAt(shot, wx + x, wy + y) == static_cast<uint32_t>(config.titleColor))
          rightmost = std::max(rightmost, x);
    std::printf("%d\n", rightmost);
    return 0;
  }

  int checked = 0, differ = 0;
  const auto compare = [&](const char* what, int x, int y, uint32_t want) {
    if (wx + x < 0 || wy + y < 0 || wx + x >= shot.width() || wy + y >= shot.height()) return;
    const uint32_t got = ColorAt(shot, wx + x, wy + y);
    ++checked;
    if (want != got && ++differ <= 5)
      std::printf("%s at %d,%d: want %06x got %06x\n", what, x, y, want, got);
  };
  const std::vector<mc::EdgeBlit> blits = mc::PlanEdgeBlits(edges, window, maximized, false);
  for (size_t i = 0; i < blits.size(); ++i) {
    const mc::EdgeBlit& blit = blits[i];
    // Pieces drawn later cover this one where they overlap (pieces of odd sizes do).
    std::vector<mc::GameRect> over = covered;
    for (size_t later = i + 1; later < blits.size(); ++later) {
      const mc::SpriteCut& d = blits[later].dest;
      over.push_back({d.x, d.y, d.x + d.width, d.y + d.height});
    }
    for (const auto& [sy, offsetY] : SpanEnds(blit.piece.height, blit.dest.height)) {
      for (const auto& [sx, offsetX] : SpanEnds(blit.piece.width, blit.dest.width)) {
        const int dx = blit.dest.x + offsetX, dy = blit.dest.y + offsetY;
        if (std::any_of(over.begin(), over.end(),
                        [&](const mc::GameRect& r) { return Inside(r, dx, dy); }))
          continue;
        compare("frame", dx, dy, ColorAt(sprite, blit.sprite.x + sx, blit.sprite.y + sy));
      }
    }
  }
  if (hasLogo) {
    for (int y : Samples(logo.height()))
      for (int x : Samples(logo.width()))
        compare("logo", config.logx + x, config.logy + y, ColorAt(logo, x, y));
  }
  const std::vector<mc::TitleButtonSetup> buttons = mc::TitleButtonSetups(config);
  const auto first = [&](int32_t type) {
    for (size_t i = 0; i < buttons.size(); ++i)
      if (buttons[i].type == type) return i;
    return buttons.size();
  };
  const size_t hidden = first(maximized ? mc::button_type::kMaximize : mc::button_type::kRestore);
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (i == hidden || !buttons[i].caption.empty()) continue;
    const mc::GameRect& at = children.buttons[i];
    const mc::SpriteCut& face = buttons[i].faces[0];
    for (int y : Samples(face.height))
      for (int x : Samples(face.width))
        compare("button", at.left + x, at.top + y, ColorAt(sprite, face.x + x, face.y + y));
  }
  std::printf("checked %d, differ %d\n", checked, differ);
  return checked > 0 && differ == 0 ? 0 : 1;
}
