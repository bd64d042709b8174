// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

namespace platform {

// A calendar time as the performance data block carries it (a SYSTEMTIME: eight 16-bit fields),
// and its conversions to and from a count of 100 ns units since 1601-01-01 (a FILETIME).
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;      // 1 to 12
    std::uint16_t dayOfWeek = 0;  // 0 = Sunday; ignored when converting to a count
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

namespace detail {

constexpr std::int64_t kUnitsPerMs = 10'000;
constexpr std::int64_t kUnitsPerDay = 864'000'000'000;
constexpr std::int64_t kDaysFrom1601To1970 = 134'774;

// Proleptic Gregorian day numbers relative to 1970-01-01 (H. Hinnant's algorithms).
constexpr std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr bool IsLeapYear(std::int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int DaysInMonth(std::int64_t y, int m)
{
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

}  // namespace detail

// Empty when a field is out of range, as the system call refuses such a time.
constexpr std::optional<std::int64_t> SystemTimeToFileTime(const SystemTime& t)
{
    if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > detail::DaysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59
        || t.milliseconds > 999)
        return std::nullopt;
    const std::int64_t days = detail::DaysFromCivil(t.year, t.month, t.day) + detail::kDaysFrom1601To1970;
    const std::int64_t ms = ((t.hour * 60 + t.minute) * 60 + t.second) * std::int64_t{1000} + t.milliseconds;
    return days * detail::kUnitsPerDay + ms * detail::kUnitsPerMs;
}

// For a count from 0 (1601-01-01) on; the part below a millisecond is dropped.
constexpr SystemTime FileTimeToSystemTime(std::int64_t units)
{
    const std::int64_t days1601 = units / detail::kUnitsPerDay;
    std::int64_t ms = units % detail::kUnitsPerDay / detail::kUnitsPerMs;
    const std::int64_t z = days1601 - detail::kDaysFrom1601To1970 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2);

    SystemTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.dayOfWeek = static_cast<std::uint16_t>((days1601 + 1) % 7);  // 1601-01-01 was a Monday
    t.day = static_cast<std::uint16_t>(day);
    t.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<std::uint16_t>(ms % 60);
    ms /= 60;
    t.minute = static_cast<std::uint16_t>(ms % 60);
    t.hour = static_cast<std::uint16_t>(ms / 60);
    return t;
}

}  // namespace platform
