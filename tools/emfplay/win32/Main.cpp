// tavrel-emfplay [EMF BMP WIDTH HEIGHT LEFT TOP RIGHT BOTTOM]...: plays the
// metafile with PlayEnhMetaFile into a WIDTH x HEIGHT 32-bit bitmap, its
// picture frame mapped onto the rectangle LEFT TOP RIGHT BOTTOM, and writes
// the bitmap with an alpha channel (a 32-bit BMP with a V4 header): a pixel
// is opaque where the metafile drew, transparent elsewhere. GDI draws no
// alpha, so the metafile is played twice, over white and over black; a
// pixel is drawn where either differs from its background. Several groups
// of arguments play several metafiles in one run. Exits 0 on success, 1
// when a metafile cannot be read or a bitmap written, 2 on a bad command
// line.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace {

using tavrel::platform::win32::GdiObjectHandle;
using tavrel::platform::win32::MemoryDcHandle;
using tavrel::platform::win32::MetafileHandle;

class MemoryBitmap {
 public:
  MemoryBitmap(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<std::uint32_t*>(bits);
    if (bitmap_) old_ = SelectObject(dc_.Get(), bitmap_.Get());
  }
  // The bitmap is selected out before it is deleted, then the context.
  ~MemoryBitmap() {
    if (old_ != nullptr) SelectObject(dc_.Get(), old_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Ok() const { return pixels_ != nullptr; }
  // The pixels (0x00RRGGBB) after filling with `background` and playing.
  std::vector<std::uint32_t> Play(HENHMETAFILE metafile, const RECT& target, std::uint32_t background) {
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    for (std::size_t i = 0; i < count; ++i) pixels_[i] = background;
    GdiFlush();
    PlayEnhMetaFile(dc_.Get(), metafile, &target);
    GdiFlush();
    return std::vector<std::uint32_t>(pixels_, pixels_ + count);
  }

 private:
  int width_;
  int height_;
  MemoryDcHandle dc_;
  GdiObjectHandle bitmap_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
};

template <class T>
void Put(std::ofstream& out, const T& value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

bool WriteBmp(const char* file, int width, int height, const std::vector<std::uint32_t>& argb) {
  BITMAPV4HEADER header{};
  header.bV4Size = sizeof header;
  header.bV4Width = width;
  header.bV4Height = -height;
  header.bV4Planes = 1;
  header.bV4BitCount = 32;
  header.bV4V4Compression = BI_BITFIELDS;
  header.bV4SizeImage = static_cast<DWORD>(argb.size()) * 4;
  header.bV4RedMask = 0x00FF0000;
  header.bV4GreenMask = 0x0000FF00;
  header.bV4BlueMask = 0x000000FF;
  header.bV4AlphaMask = 0xFF000000;
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + header.bV4SizeImage;
  std::ofstream out(file, std::ios::binary);
  Put(out, fileHeader);
  Put(out, header);
  out.write(reinterpret_cast<const char*>(argb.data()), static_cast<std::streamsize>(argb.size() * 4));
  return static_cast<bool>(out);
}

// Plays one metafile; the arguments as in the usage. 0, 1 or 2 as main's.
int PlayOne(char** args) {
  int numbers[6];
  for (int i = 0; i < 6; ++i) numbers[i] = std::atoi(args[2 + i]);
  const int width = numbers[0], height = numbers[1];
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    std::fputs("tavrel-emfplay: the bitmap size must be 1 to 16384 pixels\n", stderr);
    return 2;
  }
  const MetafileHandle metafile(GetEnhMetaFileA(args[0]));
  if (!metafile) {
    std::fprintf(stderr, "tavrel-emfplay: cannot read %s\n", args[0]);
    return 1;
  }
  const RECT target = {numbers[2], numbers[3], numbers[4], numbers[5]};
  MemoryBitmap bitmap(width, height);
  if (!bitmap.Ok()) {
    std::fputs("tavrel-emfplay: cannot make the bitmap\n", stderr);
    return 1;
  }
  const std::vector<std::uint32_t> overWhite = bitmap.Play(metafile.Get(), target, 0x00FFFFFF);
  const std::vector<std::uint32_t> overBlack = bitmap.Play(metafile.Get(), target, 0x00000000);
  std::vector<std::uint32_t> argb(overWhite.size());
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint32_t white = overWhite[i] & 0xFFFFFF, black = overBlack[i] & 0xFFFFFF;
    if (white != 0xFFFFFF) {
      argb[i] = 0xFF000000 | white;
    } else if (black != 0) {
      argb[i] = 0xFF000000 | black;
    }
  }
  if (!WriteBmp(args[1], width, height, argb)) {
    std::fprintf(stderr, "tavrel-emfplay: cannot write %s\n", args[1]);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 9 || (argc - 1) % 8 != 0) {
    std::fputs("usage: tavrel-emfplay [EMF BMP WIDTH HEIGHT LEFT TOP RIGHT BOTTOM]...\n", stderr);
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; i += 8) status = (std::max)(status, PlayOne(argv + i));
  return status;
}
