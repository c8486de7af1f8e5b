#include "EntryStream.h"

#include "InflateStream.h"
#include "WindowStream.h"
#include "ZipDirectory.h"
#include "ZipExceptions.h"

namespace {

std::uint8_t Method(const TZipHeader& central) { return static_cast<std::uint8_t>(central.CompressionMethod & 0xFF); }

}  // namespace

void CheckSupported(const TZipHeader& central, const TZipHeader& local, const std::wstring& entry) {
    constexpr std::uint16_t encrypted = zip::FlagEncrypted | zip::FlagStrongEncryption;
    if (((central.Flag | local.Flag) & encrypted) != 0) {
        throw EZipException(TZipErrorKind::UnsupportedMethod,
                            L"Encrypted entries are not supported: \"" + entry + L"\"", entry);
    }
    const std::uint8_t method = Method(central);
    if (method == zip::MethodStored || method == zip::MethodDeflate) return;
    throw EZipException(TZipErrorKind::UnsupportedMethod,
                        L"Unsupported compression method " + std::to_wstring(method) + L" in \"" + entry + L"\"",
                        entry);
}

std::unique_ptr<TStream> OpenEntryData(TSeekableStream& archive, const TZipHeader& central, const TZipHeader& local) {
    CheckSupported(central, local, CentralName(central));
    if (Method(central) == zip::MethodDeflate) return std::make_unique<TInflateStream>(archive);
    const TZipHeader& sizes = (local.Flag & zip::FlagDataDescriptor) != 0 ? central : local;
    return std::make_unique<TWindowStream>(archive, sizes.GetUncompressedSize64());
}
