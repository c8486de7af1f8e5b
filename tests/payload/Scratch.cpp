#include "Scratch.h"

#include <atomic>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace ziptest {

Scratch::Scratch() {
    static std::atomic<int> counter{0};
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("ketrova-zip-" + std::to_string(random()) + "-" + std::to_string(counter++));
    fs::create_directories(root_ / "out");
}

Scratch::~Scratch() {
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(root_, ignored);
}

fs::path Scratch::Write(const std::string& name, const std::string& bytes) const {
    const fs::path path = root_ / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Listing(const fs::path& path) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(path)) {
        const auto relative = fs::relative(entry.path(), path).generic_u8string();
        std::string name(relative.begin(), relative.end());
        if (entry.is_directory() && !entry.is_symlink()) name += "/";
        names.insert(name);
    }
    std::string listing;
    for (const auto& name : names) listing += (listing.empty() ? "" : " ") + name;
    return listing;
}

std::time_t ModifiedTime(const fs::path& path) {
    const auto stamp = fs::last_write_time(path);
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(stamp));
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

bool IsReadOnly(const fs::path& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace ziptest
