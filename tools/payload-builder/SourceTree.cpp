#include "SourceTree.h"

#include <sys/stat.h>

#include <algorithm>
#include <string_view>

#include "BuildError.h"
#include "ZipRecords.h"

#include <PayloadName.h>
#include <Utf8.h>
#include <ZipPaths.h>

namespace builder {
namespace {

unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t length;
        std::uint32_t code;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

void refuseName(const std::string& name, const char* why) {
    throw BuildError("the name \"" + name + "\" " + why);
}

std::string displayPath(const std::filesystem::path& p) { return p.string(); }

}  // namespace

void checkEntryName(const std::string& name) {
    if (name.empty()) throw BuildError("an entry has an empty name");
    if (name.size() > zip::MaxNameBytes) refuseName(name.substr(0, 60) + "...", "is longer than 65535 bytes");
    if (!isValidUtf8(name)) refuseName(name, "is not valid UTF-8");
    for (unsigned char c : name) {
        if (c < 0x20) refuseName(name, "holds a control character");
        if (std::string_view("<>:\"|?*\\").find(static_cast<char>(c)) != std::string_view::npos)
            refuseName(name, "holds a character that Windows forbids in file names (< > : \" | ? * \\)");
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part(name.data() + start, end - start);
        if (part.empty() || part == "." || part == "..") refuseName(name, "has an empty, \".\" or \"..\" component");
        if (part.back() == '.' || part.back() == ' ') refuseName(name, "has a component ending in a dot or space, which Windows drops");
        start = end + 1;
    }
    // What the installer's reader refuses, in its words.
    std::wstring wide = Utf8ToWide(name);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (::zip::ConfineEntryName(wide) != wide) throw BuildError("Unsafe entry name \"" + name + "\"");
    for (const wchar_t* reserved : ReservedRootNames) {
        if (::zip::FoldedPath(wide) == ::zip::FoldedPath(reserved))
            refuseName(name, "is a name the installer itself uses in the target folder");
    }
}

bool comesBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return fold(static_cast<unsigned char>(x)) < fold(static_cast<unsigned char>(y));
    });
}

void orderAndCheck(std::vector<SourceFile>& files) {
    for (const SourceFile& f : files) checkEntryName(f.name);
    std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) { return comesBefore(a.name, b.name); });
    const auto clash = std::adjacent_find(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) {
        return !comesBefore(a.name, b.name) && !comesBefore(b.name, a.name);
    });
    if (clash != files.end())
        throw BuildError("\"" + clash->name + "\" and \"" + std::next(clash)->name + "\" differ only in case; Windows would make them one file");
}

std::vector<SourceFile> scanSourceTree(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::exists(root, error)) throw BuildError("the source folder \"" + displayPath(root) + "\" does not exist");
    if (!fs::is_directory(root, error)) throw BuildError("the source \"" + displayPath(root) + "\" is not a folder");

    std::vector<SourceFile> files;
    fs::recursive_directory_iterator it(root, error), end;
    if (error) throw BuildError("the source folder \"" + displayPath(root) + "\" cannot be read: " + error.message());
    for (; it != end; it.increment(error)) {
        if (error) throw BuildError("the source folder cannot be read: " + error.message());
        const fs::path& path = it->path();
        if (it->is_directory(error)) continue;
        if (!it->is_regular_file(error))
            throw BuildError("\"" + displayPath(path) + "\" is neither a file nor a folder");
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) throw BuildError("\"" + displayPath(path) + "\" cannot be read");
        files.push_back({path, path.lexically_relative(root).generic_string(), static_cast<std::uint64_t>(info.st_size), info.st_mtime});
    }
    orderAndCheck(files);
    return files;
}

}  // namespace builder
