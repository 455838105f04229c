#pragma once
// The external documents the menus open, and the help page: every web address the program may hand
// to the desktop shell is in this one table.

#include <QByteArray>
#include <QString>
#include <vector>

struct ReferenceDocument {
    const char* Entry;      // the menu entry that opens it (component name)
    const char* Publisher;  // the publisher the menu names ("" when the menu names none)
    const char* Document;   // what the document is, for a reader of this table
    const char* Address;    // the full address, plain HTTP, sent byte for byte as written here
};

// The fourteen documents of the "Bibliographie" menu, in menu order.
const std::vector<ReferenceDocument>& ReferenceDocuments();

// The help page: a search for the program's name on its maker's web site (menu entry "Aide1").
const ReferenceDocument& HelpPage();

// The document or help page opened by a menu entry, or nullptr for an entry that opens none.
const ReferenceDocument* FindReferenceDocument(const QString& entry);

// Every web address the program may hand to the desktop: the fourteen documents and the help page.
std::vector<QByteArray> ShellAddresses();
