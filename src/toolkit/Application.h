#pragma once
// Application-wide services of the toolkit: the title, the error report, the error beep.

#include <QString>
#include <exception>
#include <functional>

namespace Application {

// The application title: the program file's name without directory and extension, every
// letter after the first in lower case ("serolis").
QString Title();
QString TitleFromProgramPath(const QString& programPath);

// The error report's text: the message with a full stop appended when its last character
// sorts after "." (so a message ending in "." or a space gets none).
QString ErrorReportText(const QString& message);

// Shows an error that escaped a handler: a modal box titled with the application title, with
// the error icon and one OK button, queued so that it never opens inside event delivery.
// Tests replace the display with SetErrorDisplay.
void HandleException(const std::exception& error);
void ShowErrorReport(const QString& message);
using TErrorDisplay = std::function<void(const QString& reportText)>;
// Replaces the display (nullptr restores the message box). Returns the previous one.
TErrorDisplay SetErrorDisplay(TErrorDisplay display);

// The platform's default error beep. Every beep is counted, so that tests can see it
// (offscreen platforms are silent).
void Beep();
int BeepCount();

} // namespace Application
