// Compares a preview picture with its reference, text aside: fonts differ between machines,
// so the rectangles that hold text (as the preview lists them) are compared as regions only.
//   preview_compare REF.png REF.boxes NEW.png NEW.boxes
//     Same size; every pixel outside the text boxes of either picture equal; the same number
//     of text boxes, each overlapping its reference and holding more than one colour (ink).
//     Prints "same" or what differs; exit status 0 or 1.
//   preview_compare --pixel IMAGE.png X Y
//     Prints the pixel's colour as RRGGBB.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
  unsigned Pixel(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  }
};

struct Box {
  int x, y, w, h;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
  bool Overlaps(const Box& o) const {
    return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
  }
};

bool Load(const std::string& path, Image& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGB;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) return false;
  return true;
}

bool LoadBoxes(const std::string& path, std::vector<Box>& boxes) {
  std::ifstream in(path);
  if (!in) return false;
  Box b{};
  while (in >> b.x >> b.y >> b.w >> b.h) boxes.push_back(b);
  return in.eof();
}

std::string Hex(unsigned c) {
  char text[8];
  std::snprintf(text, sizeof text, "%06X", c);
  return text;
}

int Compare(const std::string& refPng, const std::string& refBoxes, const std::string& newPng,
            const std::string& newBoxes) {
  Image ref, got;
  std::vector<Box> refText, gotText;
  if (!Load(refPng, ref) || !Load(newPng, got) || !LoadBoxes(refBoxes, refText) ||
      !LoadBoxes(newBoxes, gotText)) {
    std::cout << "cannot read the pictures or their text boxes\n";
    return 1;
  }
  if (ref.width != got.width || ref.height != got.height) {
    std::cout << "size " << got.width << "x" << got.height << ", reference " << ref.width << "x"
              << ref.height << "\n";
    return 1;
  }
  std::vector<bool> text(static_cast<size_t>(ref.width) * ref.height, false);
  for (const std::vector<Box>* boxes : {&refText, &gotText})
    for (const Box& b : *boxes)
      for (int y = std::max(b.y, 0); y < std::min(b.y + b.h, ref.height); ++y)
        for (int x = std::max(b.x, 0); x < std::min(b.x + b.w, ref.width); ++x)
          text[static_cast<size_t>(y) * ref.width + x] = true;
  long differing = 0;
  for (int y = 0; y < ref.height; ++y) {
    for (int x = 0; x < ref.width; ++x) {
      if (text[static_cast<size_t>(y) * ref.width + x] || ref.Pixel(x, y) == got.Pixel(x, y))
        continue;
      if (differing++ < 5) {
        std::cout << "pixel " << x << "," << y << " is " << Hex(got.Pixel(x, y)) << ", reference "
                  << Hex(ref.Pixel(x, y)) << "\n";
      }
    }
  }
  if (differing > 0) {
    std::cout << differing << " pixels outside text differ\n";
    return 1;
  }
  if (refText.size() != gotText.size()) {
    std::cout << gotText.size() << " text boxes, reference " << refText.size() << "\n";
    return 1;
  }
  for (size_t i = 0; i < gotText.size(); ++i) {
    const Box& b = gotText[i];
    std::set<unsigned> colours;
    for (int y = std::max(b.y, 0); y < std::min(b.y + b.h, got.height) && colours.size() < 2; ++y)
      for (int x = std::max(b.x, 0); x < std::min(b.x + b.w, got.width); ++x)
        colours.insert(got.Pixel(x, y));
    if (!b.Overlaps(refText[i]) || colours.size() < 2) {
      std::cout << "text box " << i << " at " << b.x << "," << b.y << " "
                << (colours.size() < 2 ? "holds no ink" : "is away from its reference") << "\n";
      return 1;
    }
  }
  std::cout << "same\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "--pixel") {
    Image image;
    const int x = std::stoi(args[2]), y = std::stoi(args[3]);
    if (!Load(args[1], image) || x < 0 || y < 0 || x >= image.width || y >= image.height) {
      std::cout << "none\n";
      return 1;
    }
    std::cout << Hex(image.Pixel(x, y)) << "\n";
    return 0;
  }
  if (args.size() == 4) return Compare(args[0], args[1], args[2], args[3]);
  std::cerr << "usage: preview_compare REF.png REF.boxes NEW.png NEW.boxes\n"
               "       preview_compare --pixel IMAGE.png X Y\n";
  return 2;
}
