#pragma once

// Small helpers shared by the main window's command files.

#include <QApplication>
#include <QFileInfo>
#include <QString>

// Whether the file name ends in `extension` (given without the dot, lower
// case), whatever the case of the name.
inline bool HasExtension(const QString& path, const char* extension)
{
    return QFileInfo(path).suffix().toLower() == QLatin1String(extension);
}

// Shows the wait cursor for its lifetime.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};
