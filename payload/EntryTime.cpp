#include "EntryTime.h"

namespace {

// 1970-01-01 in 100 ns units since 1601-01-01.
constexpr std::uint64_t UnixEpochTicks = 116444736000000000;
constexpr std::uint64_t TicksPerSecond = 10000000;

zip::ExtraRecord FindInEither(const TZipHeader& local, const TZipHeader& central, std::uint16_t id) {
    const auto record = zip::FindExtraRecord(local.ExtraField, id);
    return record ? record : zip::FindExtraRecord(central.ExtraField, id);
}

// After four reserved bytes, attributes of a tag and a size each; tag 1 holds
// the modification, access and creation times.
std::optional<native::UtcTime> NtfsTime(const zip::ExtraRecord& record) {
    for (std::size_t at = 4; record.size >= at + 4;) {
        const std::uint16_t tag = zip::Get16(record.data + at);
        const std::size_t size = zip::Get16(record.data + at + 2);
        at += 4;
        if (size > record.size - at) break;
        if (tag == 1 && size >= 8) {
            const std::uint64_t ticks = zip::Get64(record.data + at);
            // Beyond what a FILETIME holds.
            if (ticks == 0 || ticks >> 63 != 0) break;
            return native::UtcTime{ticks};
        }
        at += size;
    }
    return std::nullopt;
}

// A flags byte, then the modification time first when its flag is set.
std::optional<native::UtcTime> ExtendedTimestamp(const zip::ExtraRecord& record) {
    if (record.size < 5 || (record.data[0] & 0x01) == 0) return std::nullopt;
    return native::UtcTime{UnixEpochTicks + zip::Get32(record.data + 1) * TicksPerSecond};
}

std::optional<native::LocalDateTime> DosTime(std::uint32_t value) {
    const int date = static_cast<int>(value >> 16);
    const int time = static_cast<int>(value & 0xFFFF);
    const native::LocalDateTime t{1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F,
                                  time >> 11,         (time >> 5) & 0x3F, (time & 0x1F) * 2};
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.month < 1 || t.month > 12 || t.day < 1) return std::nullopt;
    const bool leap = t.year % 4 == 0 && (t.year % 100 != 0 || t.year % 400 == 0);
    if (t.day > days[t.month - 1] + (t.month == 2 && leap ? 1 : 0)) return std::nullopt;
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return t;
}

}  // namespace

std::optional<native::FileTime> EntryTime(const TZipHeader& central, const TZipHeader& local) {
    if (const auto ntfs = FindInEither(local, central, zip::NtfsExtraId)) {
        if (const auto time = NtfsTime(ntfs)) return *time;
    }
    if (const auto ut = FindInEither(local, central, zip::ExtendedTimestampExtraId)) {
        if (const auto time = ExtendedTimestamp(ut)) return *time;
    }
    if (const auto time = DosTime(local.ModifiedDateTime)) return *time;
    return std::nullopt;
}
