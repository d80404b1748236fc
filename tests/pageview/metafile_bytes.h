// Metafiles built record by record for tests.
#pragma once

#include <cstdint>
#include <string>

namespace quom_test {

// Little-endian record writer.
class Bytes {
  public:
    Bytes& U16(std::uint32_t v);
    Bytes& U32(std::uint32_t v);
    Bytes& I16(int v) { return U16(static_cast<std::uint16_t>(v)); }
    Bytes& I32(int v) { return U32(static_cast<std::uint32_t>(v)); }
    const std::string& str() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

  private:
    std::string bytes_;
};

// COLORREF of red, green and blue.
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r | (g << 8) | (b << 16));
}

// An EMF of width x height device pixels whose records are given without the header
// and EOF; record_count counts them.
std::string EmfFile(int width, int height, const std::string& records, int record_count);
// EMF records.
std::string EmfSolidBrush(int handle, std::uint32_t colour);
std::string EmfSelect(std::uint32_t handle);
std::string EmfRectangle(int left, int top, int right, int bottom);
std::string EmfEllipse(int left, int top, int right, int bottom);

// A placeable WMF whose bounding box is width x height logical units at
// units_per_inch; at 96 the units are the picture's pixels.
std::string WmfFile(int width, int height, const std::string& records, int object_count,
                    int units_per_inch = 96);
std::string WmfSolidBrush(std::uint32_t colour);
std::string WmfSelect(int index);
std::string WmfRectangle(int left, int top, int right, int bottom);

// A 20x10 EMF and WMF with a red rectangle from (5, 2) to (15, 8).
std::string RedRectangleEmf();
std::string RedRectangleWmf();

}  // namespace quom_test
