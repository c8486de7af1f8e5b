// The few file-system calls the archive reader makes, with a Win32 and a POSIX
// implementation. Paths use "\" as the separator, as on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace native {

enum class FileAccess {
    Read,    // existing file; others may read but not write
    Create,  // new or emptied file, read and write, shared with nobody
};

// A broken-down time on the machine's local clock.
struct LocalDateTime {
    int year, month, day, hour, minute, second;
};
// An exact time as Windows counts it: 100 ns units since 1601-01-01 UTC.
struct UtcTime {
    std::uint64_t ticks;
};
using FileTime = std::variant<LocalDateTime, UtcTime>;

// An open file, closed when the object goes. A failed open leaves no handle
// and the system's code for the cause; the other calls need an open file.
class File {
public:
    File(const std::wstring& path, FileAccess access);
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    bool IsOpen() const { return handle_ != nullptr; }
    // The cause of the last failed open or write: GetLastError() on Windows,
    // errno elsewhere, and the system's text for it.
    std::uint32_t ErrorCode() const { return error_; }
    std::wstring ErrorText() const;

    // Bytes read; 0 at the end or on a read error.
    std::size_t Read(void* buffer, std::size_t count);
    // Whether every byte went out; if not, ErrorCode() says why.
    bool Write(const void* buffer, std::size_t count);
    // origin: 0 start, 1 current, 2 end. Returns the new position, or -1.
    std::int64_t Seek(std::int64_t offset, int origin);
    std::int64_t Size();
    // Creation and last-write time (the last-access time stays) and the
    // MS-DOS attribute bits (0x01 read-only, 0x02 hidden,
    // 0x04 system, 0x20 archive), in one step on the open file; what is not
    // given stays. The outcome is
    // not examined: the file is complete either way.
    void SetTimesAndAttributes(const FileTime* time, std::optional<std::uint32_t> attributes);

private:
    // The platform's owner of the open file; none after a failed open.
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::uint32_t error_ = 0;
};


bool DirectoryExists(const std::wstring& path);
bool FileExists(const std::wstring& path);
bool IsSymbolicLink(const std::wstring& path);
// One folder whose parent exists. It fails for a drive root or a folder that
// is there already; whether it worked shows in DirectoryExists.
void MakeDirectory(const std::wstring& path);
// With every missing parent; whether it worked shows in DirectoryExists.
void CreateDirectories(const std::wstring& path);
void MakeSymbolicLink(const std::wstring& path, const std::wstring& target);

}  // namespace native
