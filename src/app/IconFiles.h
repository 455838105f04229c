#pragma once
// An icon made of picture files of known sizes, read only when a picture is first asked for.
// QIcon::addFile decodes every file at once to learn its size, even when the size is given; the
// program's icon alone holds seven sizes up to 256 x 256, of which the window shows one or none.

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

struct TIconFile {
    QString Path;
    QSize Size; // the picture's size, which the file must have
};

// The same icon as adding each file with QIcon::addFile in this order, without reading any file
// until a picture, an actual size or a change of the icon is asked for. Files that do not exist
// are left out, as addFile leaves them out.
QIcon IconFromFiles(const QList<TIconFile>& files);
