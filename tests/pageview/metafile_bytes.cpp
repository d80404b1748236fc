#include "metafile_bytes.h"

namespace quom_test {

Bytes& Bytes::U16(std::uint32_t v) {
    bytes_ += static_cast<char>(v & 0xFF);
    bytes_ += static_cast<char>((v >> 8) & 0xFF);
    return *this;
}

Bytes& Bytes::U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    return U16(v >> 16);
}

namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrSelectObject = 37;
constexpr std::uint32_t kEmrCreateBrushIndirect = 39;
constexpr std::uint32_t kEmrEllipse = 42;
constexpr std::uint32_t kEmrRectangle = 43;
constexpr std::uint32_t kEmfHeaderSize = 88;
constexpr std::uint32_t kEmfEofSize = 20;

constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSelectObject = 0x012D;
constexpr std::uint16_t kMetaRectangle = 0x041B;
constexpr std::uint16_t kMetaCreateBrushIndirect = 0x02FC;

std::string EmfBox(std::uint32_t type, int left, int top, int right, int bottom) {
    return Bytes().U32(type).U32(24).I32(left).I32(top).I32(right).I32(bottom).str();
}

}  // namespace

std::string EmfFile(int width, int height, const std::string& records, int record_count) {
    const auto total = static_cast<std::uint32_t>(kEmfHeaderSize + records.size() + kEmfEofSize);
    Bytes header;
    header.U32(kEmrHeader).U32(kEmfHeaderSize);
    header.I32(0).I32(0).I32(width - 1).I32(height - 1);                   // rclBounds
    header.I32(0).I32(0).I32(width * 26).I32(height * 26);                 // rclFrame, 0.01 mm
    header.U32(0x464D4520).U32(0x10000).U32(total).U32(record_count + 2);  // signature .. nRecords
    header.U16(4).U16(0).U32(0).U32(0).U32(0);    // nHandles, reserved, description, palette
    header.I32(1024).I32(768).I32(320).I32(240);  // szlDevice, szlMillimeters
    const std::string eof = Bytes().U32(kEmrEof).U32(kEmfEofSize).U32(0).U32(16).U32(20).str();
    return header.str() + records + eof;
}

std::string EmfSolidBrush(int handle, std::uint32_t colour) {
    return Bytes().U32(kEmrCreateBrushIndirect).U32(24).I32(handle).U32(0).U32(colour).U32(0).str();
}

std::string EmfSelect(std::uint32_t handle) {
    return Bytes().U32(kEmrSelectObject).U32(12).U32(handle).str();
}

std::string EmfRectangle(int left, int top, int right, int bottom) {
    return EmfBox(kEmrRectangle, left, top, right, bottom);
}

std::string EmfEllipse(int left, int top, int right, int bottom) {
    return EmfBox(kEmrEllipse, left, top, right, bottom);
}

std::string WmfFile(int width, int height, const std::string& records, int object_count,
                    int units_per_inch) {
    Bytes placeable;
    placeable.U32(0x9AC6CDD7).U16(0).I16(0).I16(0).I16(width).I16(height);
    placeable.U16(units_per_inch).U32(0);
    std::uint32_t checksum = 0;
    const std::string& p = placeable.str();
    for (int i = 0; i < 10; ++i) {
        checksum ^=
            static_cast<std::uint8_t>(p[2 * i]) | (static_cast<std::uint8_t>(p[2 * i + 1]) << 8);
    }
    placeable.U16(checksum);
    const std::string eof = Bytes().U32(3).U16(kMetaEof).str();
    const auto words = static_cast<std::uint32_t>((18 + records.size() + eof.size()) / 2);
    Bytes header;
    header.U16(1).U16(9).U16(0x0300).U32(words).U16(object_count).U32(7).U16(0);
    return placeable.str() + header.str() + records + eof;
}

std::string WmfSolidBrush(std::uint32_t colour) {
    return Bytes().U32(7).U16(kMetaCreateBrushIndirect).U16(0).U32(colour).U16(0).str();
}

std::string WmfSelect(int index) {
    return Bytes().U32(4).U16(kMetaSelectObject).U16(index).str();
}

std::string WmfRectangle(int left, int top, int right, int bottom) {
    // The parameters of a record come in reverse order.
    return Bytes().U32(7).U16(kMetaRectangle).I16(bottom).I16(right).I16(top).I16(left).str();
}

std::string RedRectangleEmf() {
    return EmfFile(20, 10,
                   EmfSolidBrush(1, Rgb(255, 0, 0)) + EmfSelect(1) + EmfRectangle(5, 2, 15, 8), 3);
}

std::string RedRectangleWmf() {
    return WmfFile(20, 10, WmfSolidBrush(Rgb(255, 0, 0)) + WmfSelect(0) + WmfRectangle(5, 2, 15, 8),
                   1);
}

}  // namespace quom_test
