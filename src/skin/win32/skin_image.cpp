#include "skin/win32/skin_image.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "skin/package_image.h"
#include "skin/skin_pixels.h"
#include "skin/win32/dib_pixels.h"

namespace mc::win32 {
namespace {

namespace gp = Gdiplus::DllExports;

// The image class's own GDI+ start-up, shared by every SkinImage of the process: a token and
// a count of live images under one lock. This is the one piece of process-wide state of the
// skin code; it must be, since images are made by any window and GDI+ is per process.
class DecoderStartup {
 public:
  static DecoderStartup& Instance() {
    static DecoderStartup instance;
    return instance;
  }
  void ImageCreated() {
    Lock lock(this);
    ++images_;
  }
  void ImageDestroyed() {
    Lock lock(this);
    if (images_ > 0 && --images_ == 0 && token_) {
      Gdiplus::GdiplusShutdown(token_);
      token_ = 0;
    }
  }
  bool EnsureStarted() {
    Lock lock(this);
    if (token_) return true;
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    token_ = token;
    ++startups_;
    return true;
  }
  int startups() {
    Lock lock(this);
    return startups_;
  }

 private:
  struct Lock {
    explicit Lock(DecoderStartup* s) : s_(s) { EnterCriticalSection(&s_->lock_); }
    ~Lock() { LeaveCriticalSection(&s_->lock_); }
    DecoderStartup* s_;
  };
  DecoderStartup() { InitializeCriticalSection(&lock_); }
  // At process exit a start-up still held (images never destroyed) is shut down.
  ~DecoderStartup() {
    if (token_) Gdiplus::GdiplusShutdown(token_);
    DeleteCriticalSection(&lock_);
  }

  CRITICAL_SECTION lock_;
  ULONG_PTR token_ = 0;
  int images_ = 0;
  int startups_ = 0;
};

// A decoded GDI+ bitmap, disposed of at scope end.
class DecodedBitmap {
 public:
  ~DecodedBitmap() {
    if (bitmap_) gp::GdipDisposeImage(bitmap_);
  }
  Gdiplus::GpBitmap** put() { return &bitmap_; }
  Gdiplus::GpBitmap* get() const { return bitmap_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

bool DecodedPalette(Gdiplus::GpBitmap* bitmap, std::vector<uint32_t>& argb) {
  INT size = 0;
  if (gp::GdipGetImagePaletteSize(bitmap, &size) != Gdiplus::Ok ||
      size < static_cast<INT>(sizeof(Gdiplus::ColorPalette)))
    return false;
  std::vector<uint8_t> buffer(static_cast<size_t>(size));
  auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
  if (gp::GdipGetImagePalette(bitmap, palette, size) != Gdiplus::Ok) return false;
  const size_t room = (static_cast<size_t>(size) - offsetof(Gdiplus::ColorPalette, Entries)) /
                      sizeof(Gdiplus::ARGB);
  if (palette->Count > room) return false;
  argb.assign(palette->Entries, palette->Entries + palette->Count);
  return true;
}

}  // namespace

SkinImage::SkinImage() { DecoderStartup::Instance().ImageCreated(); }

SkinImage::~SkinImage() {
  Destroy();
  DecoderStartup::Instance().ImageDestroyed();
}

int SkinImage::DecoderStartups() { return DecoderStartup::Instance().startups(); }

void SkinImage::Destroy() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = bitsPerPixel_ = 0;
}

HBITMAP SkinImage::Detach() {
  HBITMAP bitmap = bitmap_;
  bitmap_ = nullptr;
  width_ = height_ = bitsPerPixel_ = 0;
  return bitmap;
}

bool SkinImage::Load(IStream* stream) {
  Destroy();
  if (!stream || !DecoderStartup::Instance().EnsureStarted()) return false;
  DecodedBitmap decoded;
  if (gp::GdipCreateBitmapFromStream(stream, decoded.put()) != Gdiplus::Ok) return false;
  UINT width = 0, height = 0;
  Gdiplus::PixelFormat gdiplusFormat = 0;
  if (gp::GdipGetImageWidth(decoded.get(), &width) != Gdiplus::Ok ||
      gp::GdipGetImageHeight(decoded.get(), &height) != Gdiplus::Ok ||
      gp::GdipGetImagePixelFormat(decoded.get(), &gdiplusFormat) != Gdiplus::Ok)
    return false;
  const uint32_t format = static_cast<uint32_t>(gdiplusFormat);
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  const uint32_t skinFormat = SkinFormatFor(format);
  const int bpp = BitsPerPixel(skinFormat);
  // The bitmap is built in a SkinPixels buffer by the shared rules, then becomes a DIB section.
  SkinPixels pixels;
  if (!SkinSizeAcceptable(w, h) || !pixels.Create(w, h, bpp)) return false;
  if (format & pixel_format::kIndexed) {
    std::vector<uint32_t> argb;
    ColorTable table;
    if (!DecodedPalette(decoded.get(), argb) || !ColorTableFromPalette(argb, table)) return false;
    std::copy_n(table.begin(), std::min(table.size(), pixels.colorTable().size()),
                pixels.colorTable().begin());
  }
  Gdiplus::Rect all(0, 0, w, h);
  if (skinFormat == format) {
    Gdiplus::BitmapData locked{};
    if (gp::GdipBitmapLockBits(decoded.get(), &all, Gdiplus::ImageLockModeRead, gdiplusFormat,
                               &locked) !=
        Gdiplus::Ok)
      return false;
    PixelRows rows{w, h, bpp, static_cast<const uint8_t*>(locked.Scan0), locked.Stride};
    CopyRowsBottomUp(rows, pixels.bits().data(), pixels.stride());
    gp::GdipBitmapUnlockBits(decoded.get(), &locked);
  } else {
    // GDI+ converts by drawing onto a bitmap laid over the rows; a negative stride from the
    // last stored row makes the bottom-up buffer read top-down. The destination size is given
    // so that a resolution recorded in the file cannot scale the picture.
    Gdiplus::GpBitmap* target = nullptr;
    uint8_t* top = pixels.bits().data() + (h - 1) * pixels.stride();
    if (gp::GdipCreateBitmapFromScan0(w, h, -static_cast<INT>(pixels.stride()),
                                      static_cast<Gdiplus::PixelFormat>(skinFormat), top,
                                      &target) != Gdiplus::Ok)
      return false;
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdiplus::GpStatus drawn = gp::GdipGetImageGraphicsContext(target, &graphics);
    if (drawn == Gdiplus::Ok) {
      drawn = gp::GdipDrawImageRectI(graphics, decoded.get(), 0, 0, w, h);
      gp::GdipDeleteGraphics(graphics);
    }
    gp::GdipDisposeImage(target);
    if (drawn != Gdiplus::Ok) return false;
  }
  bitmap_ = CreateBitmapFromPixels(pixels);
  if (!bitmap_) return false;
  width_ = w;
  height_ = h;
  bitsPerPixel_ = bpp;
  return true;
}

bool LoadImageFromMemory(SkinImage& image, const uint8_t* data, size_t size) {
  image.Destroy();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(p, data, size);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return false;
  }
  const bool loaded = image.Load(stream);
  stream->Release();  // frees the block
  return loaded;
}

bool LoadPackageImage(const LauncherConfig& config, AppHost& host, const std::string& name,
                      SkinImage& image) {
  std::vector<uint8_t> png;
  if (!ReadPackageImage(config, host, name, png)) return false;
  return LoadImageFromMemory(image, png.data(), png.size());
}

}  // namespace mc::win32
