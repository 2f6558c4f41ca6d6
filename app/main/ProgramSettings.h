#pragma once

// The per-user settings of the program: the text editor and the ten most
// recent project files, kept with QSettings under the organisation "Drumel",
// the application "KORVEN" and the group "2014.3.3" (values "Word Processor"
// and "File1" to "File10").

#include <QString>

#include <array>

class TProgramSettings {
public:
    static constexpr int RecentMax = 10;

    // The text editor; the desktop's opener of text files until read.
    QString EditorPath;
    // Most recent first, filled from the front.
    std::array<QString, RecentMax> RecentFiles;

    int RecentCount() const;

    // Reads the stored values when the group exists. An empty editor value
    // keeps EditorPath; a value that is not a single text clears EditorPath
    // and the whole list.
    void Read();
    // Writes the editor and all ten entries; errors are ignored.
    void Write() const;

    // Puts `path` at the front of the list (exact comparison): an entry
    // already there moves up, otherwise the oldest entry drops out. Writes
    // the settings at once.
    void AddRecentFile(const QString& path);
};

// Menu caption of recent entry `index` (0-based): its number, a blank and
// the path, relative to `currentFolder` when it lies inside it.
QString RecentFileCaption(int index, const QString& path, const QString& currentFolder);
