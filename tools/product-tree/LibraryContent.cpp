#include "LibraryContent.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace product_tree {
namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }

private:
    std::uint64_t state_;
};

class Section {
public:
    Section(std::vector<unsigned char>& out, std::size_t end) : out_(out), end_(std::min(end, out.capacity())) {}
    bool full() const { return out_.size() >= end_; }
    std::size_t position() const { return out_.size(); }
    void byte(unsigned v) {
        if (!full()) out_.push_back(static_cast<unsigned char>(v));
    }
    void u16(unsigned v) { byte(v), byte(v >> 8); }
    void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
    void text(const std::string& s) {
        for (char c : s) byte(static_cast<unsigned char>(c));
    }
    void pad(unsigned value, std::size_t alignment) {
        while (!full() && out_.size() % alignment != 0) byte(value);
    }
    void fillTo(unsigned value) {
        while (!full()) byte(value);
    }

private:
    std::vector<unsigned char>& out_;
    std::size_t end_;
};

void header(Section& s) {
    s.text("MZ\x90");
    while (!s.full() && s.position() < 0x3C) s.byte(0);
    s.u32(0x80);  // offset of the PE signature
    s.text("\x0E\x1F\xBA\x0E\xB4\x09\xCD\x21This program needs Windows.\r\n$");
    while (!s.full() && s.position() < 0x80) s.byte(0);
    s.text(std::string("PE\0\0\x4C\x01\x05\0", 8));
    s.fillTo(0);
}

// Identifiers built from syllables, the way class and method names repeat in real string tables.
std::string identifier(Random& r) {
    static constexpr std::array<const char*, 24> syllables = {"Ka", "ro", "Ve", "tin", "Mor", "da", "Lis", "ten", "Pa", "nel",
                                                             "Ge", "ri", "Col", "lec", "Tor", "Stre", "am", "Bu", "fer", "In",
                                                             "dex", "Ra", "Ite", "ms"};
    static constexpr std::array<const char*, 12> suffixes = {"List", "Item", "Count", "Stream", "Handler", "Error",
                                                             "Value", "Index", "Create", "Destroy", "Changed", "Options"};
    std::string name = r.below(3) == 0 ? "T" : "";
    for (unsigned n = 1 + r.below(3); n > 0; --n) name += syllables[r.below(syllables.size())];
    return name + suffixes[r.below(suffixes.size())];
}

void code(Section& s, Random& r) {
    static constexpr std::array<std::uint32_t, 16> imports = {0x401000, 0x401008, 0x401010, 0x401018, 0x401020, 0x401028,
                                                              0x401030, 0x401038, 0x401040, 0x401048, 0x401050, 0x401058,
                                                              0x401060, 0x401068, 0x401070, 0x401078};
    static constexpr std::array<unsigned, 8> frameOffsets = {0x08, 0x0C, 0x10, 0x14, 0xF8, 0xF4, 0xF0, 0xEC};
    while (!s.full()) {
        s.byte(0x55), s.byte(0x8B), s.byte(0xEC);  // function prologue
        if (r.below(2)) s.byte(0x83), s.byte(0xEC), s.byte(4 * (1 + r.below(8)));
        for (unsigned n = 4 + r.below(28); n > 0; --n) {
            switch (r.below(12)) {
            case 0: s.byte(0x8B), s.byte(0x45), s.byte(frameOffsets[r.below(8)]); break;
            case 1: s.byte(0x89), s.byte(0x45), s.byte(frameOffsets[r.below(8)]); break;
            case 2: s.byte(0xE8), s.u32(r.below(0x40000)); break;
            case 3: s.byte(0xFF), s.byte(0x15), s.u32(imports[r.below(imports.size())]); break;
            case 4: s.byte(0x85), s.byte(0xC0), s.byte(r.below(2) ? 0x74 : 0x75), s.byte(r.below(64)); break;
            case 5: s.byte(0x6A), s.byte(r.below(16)); break;
            case 6: s.byte(0xC7), s.byte(0x45), s.byte(frameOffsets[r.below(8)]), s.u32(r.below(4) ? r.below(8) : static_cast<std::uint32_t>(r.next())); break;
            case 7: s.byte(0x8D), s.byte(0x4D), s.byte(frameOffsets[r.below(8)]); break;
            case 8: s.byte(0x33), s.byte(0xC0); break;
            case 9: s.byte(0x68), s.u32(0x00450000 + r.below(0x10000)); break;
            case 10: s.byte(0x0F), s.byte(0xB6), s.byte(0x45), s.byte(frameOffsets[r.below(8)]); break;
            default: s.byte(0x50 + r.below(8)); break;
            }
        }
        s.byte(0x8B), s.byte(0xE5), s.byte(0x5D), s.byte(0xC3);  // epilogue
        s.pad(0xCC, 16);
    }
}

void strings(Section& s, Random& r) {
    while (!s.full()) {
        const std::string name = identifier(r);
        if (r.below(3) == 0) {
            for (char c : name) s.u16(static_cast<unsigned char>(c));
            s.u16(0);
        } else {
            s.text(name);
            s.byte(0);
        }
        s.pad(0, 4);
    }
}

void tables(Section& s, Random& r) {
    while (!s.full()) {
        switch (r.below(3)) {
        case 0: s.u32(0x00400000 + 4 * r.below(0x4000)); break;
        case 1: s.u32(r.below(256)); break;
        default: s.u32(0); break;
        }
    }
}

void relocations(Section& s, Random& r) {
    for (std::uint32_t page = 0x1000; !s.full(); page += 0x1000) {
        const unsigned count = 16 + r.below(48);
        s.u32(page), s.u32(8 + 2 * count);
        unsigned offset = 0;
        for (unsigned i = 0; i < count; ++i) s.u16(0x3000 | std::min(0xFFFu, offset += 1 + r.below(96)));
    }
}

void packed(Section& s, Random& r) {
    while (!s.full()) {
        const std::uint64_t v = r.next();
        for (int i = 0; i < 8; ++i) s.byte(static_cast<unsigned>(v >> (8 * i)));
    }
}

}  // namespace

std::vector<unsigned char> libraryContent(std::uint64_t seed, std::size_t size) {
    Random r(seed);
    std::vector<unsigned char> out;
    out.reserve(size);
    // Shares of the file by section; the packed share sets how well the whole deflates.
    const double shares[] = {0.57, 0.17, 0.12, 0.05};
    std::size_t end = std::min<std::size_t>(size, 0x400);
    Section head(out, end);
    header(head);
    void (*fill[])(Section&, Random&) = {code, strings, tables, relocations};
    for (std::size_t i = 0; i < 4; ++i) {
        end += static_cast<std::size_t>(shares[i] * static_cast<double>(size));
        Section s(out, end);
        fill[i](s, r);
    }
    Section rest(out, size);
    packed(rest, r);
    return out;
}

}  // namespace product_tree
