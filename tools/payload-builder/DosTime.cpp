#include "DosTime.h"

#include <stdexcept>

namespace builder {

zip::DosDateTime toDosDateTime(const std::tm& t) {
    const int year = t.tm_year + 1900;
    if (year < 1980) return {0, (1 << 5) | 1};  // 1980-01-01 00:00:00
    if (year > 2107) return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
    zip::DosDateTime d;
    d.time = static_cast<std::uint16_t>((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec / 2));
    d.date = static_cast<std::uint16_t>(((year - 1980) << 9) | ((t.tm_mon + 1) << 5) | t.tm_mday);
    return d;
}

zip::DosDateTime toDosDateTime(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local)) throw std::runtime_error("a modification time cannot be converted to local time");
    return toDosDateTime(local);
}

}  // namespace builder
