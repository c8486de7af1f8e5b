#include "FileSystem.h"

#include <Utf8.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace native {
namespace {

std::string ToNative(const std::wstring& path) {
    std::string native = WideToUtf8(path);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

std::wstring SystemText(int error) { return Utf8ToWide(std::strerror(error)); }

struct stat StatOf(const std::wstring& path, bool follow, bool& found) {
    struct stat st {};
    const std::string native = ToNative(path);
    found = (follow ? ::stat(native.c_str(), &st) : ::lstat(native.c_str(), &st)) == 0;
    return st;
}

}  // namespace

struct File::Handle {
    explicit Handle(int descriptor) noexcept : fd(descriptor) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { ::close(fd); }
    const int fd;
};

File::File(const std::wstring& path, FileAccess access) {
    const std::string native = ToNative(path);
    int flags = O_RDONLY;
    if (access == FileAccess::Create) {
        // Windows refuses to replace a read-only file even for an administrator;
        // root here would not be stopped by the mode, so the mode is asked.
        struct stat st {};
        if (::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0) {
            error_ = EACCES;
            return;
        }
        flags = O_RDWR | O_CREAT | O_TRUNC;
    }
    const int fd = ::open(native.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        error_ = static_cast<std::uint32_t>(errno);
        return;
    }
    handle_ = std::make_unique<Handle>(fd);
}

namespace {

timespec ToTimespec(const FileTime& time) {
    if (const auto* utc = std::get_if<UtcTime>(&time)) {
        // 1970-01-01 in 100 ns units since 1601-01-01.
        constexpr std::int64_t unixEpoch = 116444736000000000;
        constexpr std::int64_t perSecond = 10000000;
        const std::int64_t sinceEpoch = static_cast<std::int64_t>(utc->ticks) - unixEpoch;
        std::int64_t seconds = sinceEpoch / perSecond;
        std::int64_t rest = sinceEpoch % perSecond;
        if (rest < 0) {
            --seconds;
            rest += perSecond;
        }
        return {static_cast<std::time_t>(seconds), static_cast<long>(rest * 100)};
    }
    const auto& local = std::get<LocalDateTime>(time);
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    return {std::mktime(&tm), 0};
}

}  // namespace

void File::SetTimesAndAttributes(const FileTime* time, std::optional<std::uint32_t> attributes) {
    const int fd = handle_->fd;
    if (time) {
        // No creation time to set here: only the modification time changes.
        const timespec times[2] = {{0, UTIME_OMIT}, ToTimespec(*time)};
        ::futimens(fd, times);
    }
    // Of the MS-DOS bits only read-only means something to a POSIX file.
    struct stat st {};
    if (attributes && (*attributes & 0x01) != 0 && ::fstat(fd, &st) == 0) ::fchmod(fd, st.st_mode & 07555);
}

std::wstring File::ErrorText() const { return SystemText(static_cast<int>(error_)); }

File::~File() = default;

std::size_t File::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(handle_->fd, out + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool File::Write(const void* buffer, std::size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    while (count > 0) {
        const ssize_t n = ::write(handle_->fd, in, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A write that moves nothing without an error has met a full disk.
            error_ = static_cast<std::uint32_t>(n < 0 ? errno : ENOSPC);
            return false;
        }
        in += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

std::int64_t File::Seek(std::int64_t offset, int origin) {
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    return ::lseek(handle_->fd, static_cast<off_t>(offset), whence);
}

std::int64_t File::Size() {
    struct stat st {};
    return ::fstat(handle_->fd, &st) == 0 ? st.st_size : -1;
}

bool DirectoryExists(const std::wstring& path) {
    bool found;
    const auto st = StatOf(path, true, found);
    return found && S_ISDIR(st.st_mode);
}

bool FileExists(const std::wstring& path) {
    bool found;
    const auto st = StatOf(path, true, found);
    return found && !S_ISDIR(st.st_mode);
}

bool IsSymbolicLink(const std::wstring& path) {
    bool found;
    const auto st = StatOf(path, false, found);
    return found && S_ISLNK(st.st_mode);
}

void MakeDirectory(const std::wstring& path) { ::mkdir(ToNative(path).c_str(), 0777); }

void MakeSymbolicLink(const std::wstring& path, const std::wstring& target) {
    ::symlink(ToNative(target).c_str(), ToNative(path).c_str());
}

}  // namespace native
