#pragma once
// Small helpers shared by the numeric entry tests: the locale for one test, a recorder for the
// application's error report, and typing characters the way a keyboard sends them.

#include "Application.h"
#include "FormatSettings.h"
#include "NumberText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStringList>
#include <QtTest>

namespace EntryTest {

// Sets the number format for the lifetime of the object.
class TLocaleScope {
public:
    explicit TLocaleScope(const NumberText::TFormatSettings& settings) : FPrevious(Locale::FormatSettings())
    {
        Locale::SetFormatSettings(settings);
    }
    ~TLocaleScope() { Locale::SetFormatSettings(FPrevious); }
    TLocaleScope(const TLocaleScope&) = delete;
    TLocaleScope& operator=(const TLocaleScope&) = delete;

private:
    NumberText::TFormatSettings FPrevious;
};

inline NumberText::TFormatSettings SettingsNamed(const QString& name)
{
    return name == u"fr" ? NumberText::FrenchFormatSettings() : NumberText::CFormatSettings();
}

// Collects the texts the error report would show.
class TErrorRecorder {
public:
    TErrorRecorder()
    {
        FPrevious = Application::SetErrorDisplay([this](const QString& text) { Reports << text; });
    }
    ~TErrorRecorder() { Application::SetErrorDisplay(std::move(FPrevious)); }
    TErrorRecorder(const TErrorRecorder&) = delete;
    TErrorRecorder& operator=(const TErrorRecorder&) = delete;

    QStringList Reports;

private:
    Application::TErrorDisplay FPrevious;
};

// The key code a keyboard sends with a character.
inline Qt::Key KeyOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u == 8)
        return Qt::Key_Backspace;
    if (u == 13)
        return Qt::Key_Return;
    if (u == 27)
        return Qt::Key_Escape;
    if (u >= u'a' && u <= u'z')
        return static_cast<Qt::Key>(Qt::Key_A + (u - u'a'));
    if (u >= 0x20 && u < 0x7F)
        return static_cast<Qt::Key>(QChar(u).toUpper().unicode());
    return Qt::Key_unknown;
}

// Types each character as one key press and release carrying it as text.
inline void Type(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        const Qt::Key key = KeyOf(c);
        const QString sent(c);
        QTest::sendKeyEvent(QTest::Press, widget, key, sent, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, sent, Qt::NoModifier);
    }
}

inline void SetClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace EntryTest
