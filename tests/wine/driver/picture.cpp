#include "picture.h"

#include <stdio.h>

#include <vector>

namespace {

const int kMargin = 12;

bool WriteBmp(const char *path, const BITMAPINFOHEADER &header, const std::vector<char> &pixels) {
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE *out = fopen(path, "wb");
  if (!out) return false;
  bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                 fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return fclose(out) == 0 && written;
}

}  // namespace

bool WritePicture(HWND window, const char *path) {
  RECT area;
  if (!GetWindowRect(window, &area)) return false;
  InflateRect(&area, kMargin, kMargin);
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&area, &area, &screen);
  int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;

  HDC screenDc = GetDC(nullptr);
  HDC memoryDc = CreateCompatibleDC(screenDc);
  HBITMAP bitmap = CreateCompatibleBitmap(screenDc, width, height);
  HGDIOBJ previous = SelectObject(memoryDc, bitmap);
  BOOL copied = BitBlt(memoryDc, 0, 0, width, height, screenDc, area.left, area.top, SRCCOPY);
  SelectObject(memoryDc, previous);

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files keep their rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  std::vector<char> pixels(static_cast<size_t>((width * 3 + 3) & ~3) * height);
  int rows = copied ? GetDIBits(memoryDc, bitmap, 0, height, pixels.data(),
                                reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS)
                    : 0;
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(nullptr, screenDc);
  return rows == height && WriteBmp(path, header, pixels);
}
