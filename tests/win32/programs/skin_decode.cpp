// Decodes PNG files into skin bitmaps with the Windows decoder (GDI+ into DIB sections) and
// writes each one's dump, read back from the DIB section, to OUT-DIR\NAME.out ("fail" when
// it does not decode), for comparison with the fixtures' expectations.
// usage: skin_decode.exe OUT-DIR FILE.png...
#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../fixtures/skin/skin_dump.h"
#include "skin/win32/dib_pixels.h"
#include "skin/win32/skin_image.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), {});
    mc::win32::SkinImage image;
    mc::SkinPixels pixels;
    std::string text = "fail\n";
    if (mc::win32::LoadImageFromMemory(image, png.data(), png.size()) &&
        mc::win32::ReadBitmapPixels(image.bitmap(), pixels))
      text = mc::test::DumpSkinPixels(pixels);
    std::string name = argv[i];
    name = name.substr(name.find_last_of("\\/") + 1);
    name = name.substr(0, name.rfind('.'));
    std::ofstream(std::string(argv[1]) + "\\" + name + ".out", std::ios::binary) << text;
  }
  return 0;
}
