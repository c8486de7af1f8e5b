// Writes the seed corpus: small crafted archives that reach each part of the
// reader (end search, bytes in front, ZIP64, central and local headers, both
// methods, encryption, extra fields and times, names, overlaps, links).
#include "ZipBuilder.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace ziptest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make-zip-corpus FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder + "/" + name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    const Entry text{.name = "a/b/c.txt", .data = "Ketrova Ketrova Ketrova"};
    write("deflated.zip", Build({{text, {.name = "d.bin", .data = std::string(300, 'x')}}}));
    write("stored.zip", Build({{{.name = "s.txt", .data = "stored", .method = 0}}}));
    write("empty.zip", Build({}));
    write("comment.zip", Build({{text}, "a comment"}));
    write("zip64.zip", Build({{text}, "", true}));
    write("descriptor.zip", Build({{{.name = "dd.txt", .data = "descriptor", .dataDescriptor = true}}}));
    write("folder.zip", Build({{{.name = "dir/", .data = "", .method = 0}, text}}));
    write("cp437.zip", Build({{{.name = "\x81" "ber.txt", .data = "u", .flag = 0}}}));
    write("unicode-path.zip",
          Build({{{.name = "raw.txt", .data = "u", .flag = 0, .localExtra = UnicodePath("raw.txt", "n\xC3\xA9w.txt")}}}));
    Entry zip64Sizes{.name = "z.txt", .data = "zip64 sizes", .uncompressedSize = 0xFFFFFFFF};
    zip64Sizes.centralExtra = ExtraRecord(0x0001, Le64(zip64Sizes.data.size()) + Le64(0) + Le64(0));
    write("zip64-extra.zip", Build({{zip64Sizes}}));
    write("links.zip", Build({{{.name = "f.txt", .data = "f"},
                               {.name = "l", .data = "f.txt", .method = 0, .externalAttributes = 0x40},
                               {.name = "sub/up", .data = "../f.txt", .method = 0, .externalAttributes = 0x40}}}));
    write("unix-host.zip", Build({{{.name = "u.txt", .data = "u", .madeBy = 0x0314, .externalAttributes = 0x81A40000}}}));
    write("read-only.zip", Build({{{.name = "r.txt", .data = "r", .externalAttributes = 0x21}}}));
    write("traversal.zip", Build({{{.name = "../x.txt", .data = "x"}}}));
    write("zip64-offset.zip", Build({{text, {.name = "o.txt", .data = "o", .zip64Offset = true}}}));
    write("dot-names.zip", Build({{{.name = "./", .data = "", .method = 0}, {.name = "./d/./e.txt", .data = "e"}}}));
    const std::string plain = Build({{text, {.name = "b.txt", .data = "b"}}});
    write("prefixed.zip", std::string(1024, 'x') + plain);
    write("prefixed-zip64.zip", std::string(1024, 'x') + Build({{text}, "", true}));
    // Two entries counted as one: read by the directory's size, then refused.
    write("count-by-size.zip", MessWith(plain, FindLast(plain, 0x06054B50) + 8, Le16(1) + Le16(1)));
    write("encrypted.zip", Build({{{.name = "e.txt", .data = "", .flag = 0x0801}}}));
    write("nameless.zip", Build({{text, {.name = "", .data = "n"}}}));
    const std::string twice = Build({{text, text}});
    write("overlap.zip", MessWith(twice, FindLast(twice, 0x02014B50) + 42, Le32(0)));
    write("name-mismatch.zip", MessWith(plain, plain.find("b.txt"), "x"));
    const std::string ntfs = ExtraRecord(0x000A, Le32(0) + Le16(1) + Le16(24) + std::string(24, '\x01'));
    const std::string ut = ExtraRecord(0x5455, "\x01" + Le32(1));
    write("times.zip", Build({{{.name = "ntfs.txt", .data = "n", .madeBy = 0x0A14, .localExtra = ntfs},
                               {.name = "ut.txt", .data = "u", .centralExtra = ut}}}));
    write("link-chain.zip", Build({{{.name = "a/l", .data = "..", .method = 0, .externalAttributes = 0x40},
                                    {.name = "a/l/m", .data = "..", .method = 0, .externalAttributes = 0x40},
                                    {.name = "a/l/m/x.txt", .data = "x"}}}));
    return 0;
}
