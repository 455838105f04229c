#pragma once
// The one door to the desktop shell: every document, web page or file the program opens goes
// through here.

#include <QString>

// Asks the desktop to open an address with the application associated with it (a web browser for
// a web address, a viewer for a document) and returns at once; the outcome is the desktop's own
// business and is not looked at. The address goes to the desktop exactly as encoded, never through
// a command line. A text without a scheme is taken as a file name relative to the working
// directory.
void OpenDocument(const QString& address);
