// Decodes PNG files into skin bitmaps with the Linux decoder and writes each one's dump
// (or "fail") to OUT-DIR/NAME.out, for comparison with the fixtures' expectations.
// usage: skin_decode OUT-DIR FILE.png...
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../fixtures/skin/skin_dump.h"
#include "skin/gtk/skin_image.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUT-DIR FILE.png...\n", argv[0]);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), {});
    mc::gtk::SkinImage image;
    const std::string text = mc::gtk::LoadImageFromMemory(image, png.data(), png.size())
                                 ? mc::test::DumpSkinPixels(*image.bitmap())
                                 : std::string("fail\n");
    std::string name = argv[i];
    name = name.substr(name.find_last_of('/') + 1);
    name = name.substr(0, name.rfind('.'));
    std::ofstream(std::string(argv[1]) + "/" + name + ".out", std::ios::binary) << text;
  }
  return 0;
}
