#pragma once
// The About box's text: a sentence on the program and the date of the program file, read through
// the packed date-and-time of the FAT file system (two-second resolution) and written with the
// user's regional settings.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>

// A packed date-and-time that names no date or time (a month of 15, a minute of 63...).
class EDateEncodeError : public std::runtime_error {
public:
    EDateEncodeError();
};

// The value of a file date that could not be read.
constexpr std::int32_t kNoFileDate = -1;

// Packs a local date and time: bits 25-31 the year minus 1980, 21-24 the month, 16-20 the day,
// 11-15 the hour, 5-10 the minute, 0-4 the seconds divided by two (odd seconds and milliseconds
// are dropped). A time outside the years 1980 to 2107, which the format cannot hold, gives
// kNoFileDate, as does an invalid one.
std::int32_t DateTimeToFileDate(const QDateTime& local);

// Unpacks a file date; throws EDateEncodeError when its fields name no valid date and time
// (kNoFileDate among them: its month reads 15).
QDateTime FileDateToDateTime(std::int32_t fileDate);

// The last modification time of a file, in local time, packed; kNoFileDate when it cannot be read.
std::int32_t FileAge(const QString& path);

// The locale's long time format without its time-zone field, which a time of day read from a file
// date does not have.
QString LongTimeFormat(const QLocale& locale);

// The short date, followed unless the time is exactly midnight by a blank and the long time.
QString FormatFileDateTime(const QDateTime& dateTime, const QLocale& locale);

// "Aide à la mémorisation ... Triplo-Test\r\rDernière compilation : " and the date of the packed
// file date; throws EDateEncodeError for a date that cannot be unpacked.
QString AboutText(std::int32_t fileDate, const QLocale& locale);

// The About text for a program file, from its last modification time.
QString AboutTextForFile(const QString& programPath, const QLocale& locale);
