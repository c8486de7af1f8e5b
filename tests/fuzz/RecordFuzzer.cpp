// libFuzzer target: any bytes read as an installation record, the file that an
// uninstaller, perhaps elevated, trusts to tell what it may delete. What the
// parser accepts must name only things below the folder and read back the same
// once written again; anything else, a crash or a sanitizer report fails the run.
#include <InstallRecord.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "accepted record breaks a rule: %s\n", what);
    std::abort();
}

bool Same(const InstallRecord& a, const InstallRecord& b) {
    return a.keyName == b.keyName && a.allUsers == b.allUsers && a.displayName == b.displayName &&
           a.exeName == b.exeName && a.files == b.files && a.folders == b.folders && a.shortcuts == b.shortcuts &&
           a.createdParents == b.createdParents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InstallRecord record;
    try {
        record = ParseInstallRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        return 0;
    }
    Require(record.exeName.empty() || IsConfinedName(record.exeName), "the executable leaves the folder");
    for (const auto& file : record.files) Require(IsConfinedName(file), "a file leaves the folder");
    for (const auto& folder : FoldersOf(record.files, record.folders)) {
        Require(IsConfinedName(folder), "a folder leaves the folder");
    }
    Require(Same(record, ParseInstallRecord(FormatInstallRecord(record))), "written again, it reads otherwise");
    return 0;
}
