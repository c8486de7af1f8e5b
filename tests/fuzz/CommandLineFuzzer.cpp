// libFuzzer target: any bytes, as UTF-16 units, read as the process command
// line of the installer and of the uninstaller, which deployment tools and
// shortcuts write. Besides crashes and sanitizer reports, the readings must
// keep their own rules.
#include <CommandLine.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "command line reading breaks a rule: %s\n", what);
    std::abort();
}

void Check(const Invocation& invocation, const std::vector<std::wstring>& arguments) {
    using Road = Invocation::Road;
    Require(arguments.empty() == (invocation.road == Road::Interactive), "the window without arguments only");
    Require((invocation.road == Road::Refused) == !invocation.refusal.empty(), "a refusal says why");
    Require(invocation.logFile.empty() || invocation.log, "a log file only with /log");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    const std::vector<std::wstring> all = SplitCommandLine(text);
    for (const auto& argument : all) Require(!argument.empty(), "an empty argument");
    const std::vector<std::wstring> arguments = CommandLineArguments(text);
    Require(arguments.size() + !all.empty() == all.size(), "the program's path is not an argument");
    Check(ReadInstallerCommandLine(arguments), arguments);
    const Invocation uninstaller = ReadUninstallerCommandLine(arguments);
    Check(uninstaller, arguments);
    Require(uninstaller.folder.empty(), "the uninstaller takes no folder");
    return 0;
}
