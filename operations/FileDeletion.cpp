#include "FileDeletion.h"

#include <Handles.h>

#include <windows.h>

#include <algorithm>

namespace {

// Each piece a pause of a few milliseconds for the server, which answers the
// others between pieces.
constexpr LONGLONG kFreedPiece = 16LL << 20;

}  // namespace

void DeleteEmptiedFirst(const std::wstring& path) {
    const win::UniqueFile file(::CreateFileW(path.c_str(), DELETE | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        ::DeleteFileW(path.c_str());
        return;
    }
    // Marked first: only a file that is going anyway is emptied.
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition)) return;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return;
    for (FILE_END_OF_FILE_INFO end{size}; end.EndOfFile.QuadPart > 0;) {
        end.EndOfFile.QuadPart = std::max(end.EndOfFile.QuadPart - kFreedPiece, LONGLONG{0});
        if (!::SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end)) return;
    }
}
