// A fresh folder per test, removed afterwards even when it holds read-only files.
#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

namespace ziptest {

class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Where archives are extracted: a folder inside root, so that anything
    // written beside it shows as an escape.
    std::filesystem::path out() const { return root_ / "out"; }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path root_;
};

std::string ReadFile(const std::filesystem::path& path);
// Every file and folder below path, relative, with "/" separators, sorted.
std::string Listing(const std::filesystem::path& path);
std::time_t ModifiedTime(const std::filesystem::path& path);
// A broken-down local time as the machine's clock counts it.
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second);
bool IsReadOnly(const std::filesystem::path& path);

}  // namespace ziptest
