// Appends integers to a byte buffer in the order a file format wants them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pictures {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::size_t reserve) { bytes_.reserve(reserve); }
    ByteWriter& u8(unsigned v) {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    ByteWriter& u16(unsigned v) { return u8(v & 0xFF).u8(v >> 8); }
    ByteWriter& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    ByteWriter& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    ByteWriter& be32(std::uint32_t v) { return u8(v >> 24).u8((v >> 16) & 0xFF).u8((v >> 8) & 0xFF).u8(v & 0xFF); }
    ByteWriter& append(const Bytes& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    ByteWriter& text(const std::string& s) {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    const Bytes& bytes() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace pictures
