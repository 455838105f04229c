#include "AboutBox.h"

#include <QFileInfo>

namespace {

const QString kAboutIntro = QStringLiteral(
    "Aide à la mémorisation de profils sérologiques à risque par l'utilisation du Triplo-Test\r\r"
    "Dernière compilation : ");

constexpr int kFirstYear = 1980;
constexpr int kLastYear = kFirstYear + 127;

std::uint32_t Field(std::uint32_t packed, int shift, std::uint32_t mask)
{
    return (packed >> shift) & mask;
}

} // namespace

EDateEncodeError::EDateEncodeError() : std::runtime_error("Argument incorrect pour l'encodage de date") {}

std::int32_t DateTimeToFileDate(const QDateTime& local)
{
    if (!local.isValid())
        return kNoFileDate;
    const QDate date = local.date();
    const QTime time = local.time();
    if (date.year() < kFirstYear || date.year() > kLastYear)
        return kNoFileDate;
    const auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    const std::uint32_t packed = u(date.year() - kFirstYear) << 25 | u(date.month()) << 21 | u(date.day()) << 16 |
                                 u(time.hour()) << 11 | u(time.minute()) << 5 | u(time.second() / 2);
    return static_cast<std::int32_t>(packed);
}

QDateTime FileDateToDateTime(std::int32_t fileDate)
{
    const auto packed = static_cast<std::uint32_t>(fileDate);
    const int year = kFirstYear + static_cast<int>(Field(packed, 25, 0x7F));
    const int month = static_cast<int>(Field(packed, 21, 0x0F));
    const int day = static_cast<int>(Field(packed, 16, 0x1F));
    const int hour = static_cast<int>(Field(packed, 11, 0x1F));
    const int minute = static_cast<int>(Field(packed, 5, 0x3F));
    const int second = static_cast<int>(Field(packed, 0, 0x1F)) * 2;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        throw EDateEncodeError();
    return QDateTime(date, time);
}

std::int32_t FileAge(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return kNoFileDate;
    return DateTimeToFileDate(info.lastModified().toLocalTime());
}

QString LongTimeFormat(const QLocale& locale)
{
    // Drop every time-zone field ("t" outside quoted text) with the blanks that separate it.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == u't')
            ++i;
        while (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
        while (result.isEmpty() && i + 1 < format.size() && format.at(i + 1).isSpace())
            ++i;
    }
    return result;
}

QString FormatFileDateTime(const QDateTime& dateTime, const QLocale& locale)
{
    QString text = locale.toString(dateTime.date(), QLocale::ShortFormat);
    if (dateTime.time() != QTime(0, 0))
        text += u' ' + locale.toString(dateTime.time(), LongTimeFormat(locale));
    return text;
}

QString AboutText(std::int32_t fileDate, const QLocale& locale)
{
    return kAboutIntro + FormatFileDateTime(FileDateToDateTime(fileDate), locale);
}

QString AboutTextForFile(const QString& programPath, const QLocale& locale)
{
    return AboutText(FileAge(programPath), locale);
}
