#include "FileSystem.h"

#include <Handles.h>
#include <PlatformError.h>

#include <windows.h>

#include <algorithm>

namespace native {
namespace {

DWORD AttributesOf(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

}  // namespace

struct File::Handle {
    win::UniqueFile file;
};

File::File(const std::wstring& path, FileAccess access) {
    DWORD desired = GENERIC_READ;
    DWORD share = FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    if (access != FileAccess::Read) {
        desired |= GENERIC_WRITE;
        share = 0;
    }
    if (access == FileAccess::Create) {
        // Windows refuses to replace a read-only file; Wine run by root would
        // not, so the attribute is asked first.
        const DWORD existing = AttributesOf(path);
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0 &&
            (existing & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            error_ = ERROR_ACCESS_DENIED;
            return;
        }
        // A new file where there is none, not an emptied one: under Wine on
        // Linux's ext4 a file emptied on opening is written out to the disk
        // when it is closed (0.5 s for 1.2 GB, in the close).
        disposition = existing == INVALID_FILE_ATTRIBUTES ? CREATE_NEW : CREATE_ALWAYS;
    }
    win::UniqueFile file(
        ::CreateFileW(path.c_str(), desired, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && disposition == CREATE_NEW && ::GetLastError() == ERROR_FILE_EXISTS) {
        // Made by somebody else meanwhile: replaced, as any other.
        file = win::UniqueFile(
            ::CreateFileW(path.c_str(), desired, share, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!file) {
        error_ = ::GetLastError();
        return;
    }
    handle_ = std::make_unique<Handle>(std::move(file));
}

namespace {

// The time in 100 ns units since 1601 UTC, or 0 for a local time that does not convert.
std::uint64_t Ticks(const FileTime& time) {
    if (const auto* utc = std::get_if<UtcTime>(&time)) return utc->ticks;
    const auto& broken = std::get<LocalDateTime>(time);
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(broken.year);
    local.wMonth = static_cast<WORD>(broken.month);
    local.wDay = static_cast<WORD>(broken.day);
    local.wHour = static_cast<WORD>(broken.hour);
    local.wMinute = static_cast<WORD>(broken.minute);
    local.wSecond = static_cast<WORD>(broken.second);
    SYSTEMTIME utc;
    FILETIME stamp;
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !::SystemTimeToFileTime(&utc, &stamp)) return 0;
    return std::uint64_t{stamp.dwHighDateTime} << 32 | stamp.dwLowDateTime;
}

}  // namespace

void File::SetTimesAndAttributes(const FileTime* time, std::optional<std::uint32_t> attributes) {
    FILE_BASIC_INFO info{};
    // Zero leaves them; no bits at all is asked for as "normal".
    if (attributes) info.FileAttributes = *attributes != 0 ? *attributes : FILE_ATTRIBUTE_NORMAL;
    if (time) {
        info.CreationTime.QuadPart = static_cast<LONGLONG>(Ticks(*time));
        info.LastWriteTime = info.CreationTime;
    }
    ::SetFileInformationByHandle(handle_->file.get(), FileBasicInfo, &info, sizeof info);
}

std::wstring File::ErrorText() const { return SystemMessage(error_); }

File::~File() = default;

std::size_t File::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        DWORD n = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        if (!::ReadFile(handle_->file.get(), out + done, wanted, &n, nullptr) || n == 0) break;
        done += n;
    }
    return done;
}

bool File::Write(const void* buffer, std::size_t count) {
    const auto* in = static_cast<const char*>(buffer);
    while (count > 0) {
        DWORD n = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        if (!::WriteFile(handle_->file.get(), in, wanted, &n, nullptr)) {
            error_ = ::GetLastError();
            return false;
        }
        if (n == 0) {
            error_ = ERROR_DISK_FULL;
            return false;
        }
        in += n;
        count -= n;
    }
    return true;
}

std::int64_t File::Seek(std::int64_t offset, int origin) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
    if (!::SetFilePointerEx(handle_->file.get(), distance, &position, method)) return -1;
    return position.QuadPart;
}

std::int64_t File::Size() {
    LARGE_INTEGER size;
    return ::GetFileSizeEx(handle_->file.get(), &size) ? size.QuadPart : -1;
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(const std::wstring& path) {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsSymbolicLink(const std::wstring& path) {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void MakeDirectory(const std::wstring& path) { ::CreateDirectoryW(path.c_str(), nullptr); }

void MakeSymbolicLink(const std::wstring& path, const std::wstring& target) {
    // Needs the right to create links; without it the entry is simply not made.
    ::CreateSymbolicLinkW(path.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
}

}  // namespace native
