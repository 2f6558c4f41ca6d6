#include "ProgramSettings.h"

#include "KorvenVersion.h"

#include <QSettings>

#include <algorithm>
#include <optional>

namespace {

QString Group() { return QString::fromLatin1(kKorvenVersion); }

QString FileKey(int index) { return QStringLiteral("File%1").arg(index + 1); }

const QString WordProcessorKey = QStringLiteral("Word Processor");

// A stored text value: empty when missing, nothing when of another kind.
std::optional<QString> TextValue(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

}  // namespace

int TProgramSettings::RecentCount() const
{
    return static_cast<int>(
        std::count_if(RecentFiles.begin(), RecentFiles.end(), [](const QString& path) { return !path.isEmpty(); }));
}

void TProgramSettings::Read()
{
    QSettings settings(QStringLiteral("Drumel"), QStringLiteral("KORVEN"));
    if (!settings.childGroups().contains(Group()))
        return;
    settings.beginGroup(Group());
    const std::optional<QString> editor = TextValue(settings, WordProcessorKey);
    std::array<QString, RecentMax> files;
    int count = 0;
    bool readable = editor.has_value();
    for (int i = 0; i < RecentMax && readable; ++i) {
        const std::optional<QString> file = TextValue(settings, FileKey(i));
        readable = file.has_value();
        // Gaps left by editing the settings by hand close up.
        if (readable && !file->isEmpty())
            files[count++] = *file;
    }
    if (!readable) {
        EditorPath.clear();
        RecentFiles = {};
        return;
    }
    if (!editor->isEmpty())
        EditorPath = *editor;
    RecentFiles = files;
}

void TProgramSettings::Write() const
{
    QSettings settings(QStringLiteral("Drumel"), QStringLiteral("KORVEN"));
    settings.beginGroup(Group());
    settings.setValue(WordProcessorKey, EditorPath);
    for (int i = 0; i < RecentMax; ++i)
        settings.setValue(FileKey(i), RecentFiles[i]);
}

void TProgramSettings::AddRecentFile(const QString& path)
{
    auto found = std::find(RecentFiles.begin(), RecentFiles.end(), path);
    if (found == RecentFiles.end())
        found = RecentFiles.end() - 1;
    // Entries ahead of the found one (or all but the oldest) move down one place.
    std::move_backward(RecentFiles.begin(), found, found + 1);
    RecentFiles.front() = path;
    Write();
}

QString RecentFileCaption(int index, const QString& path, const QString& currentFolder)
{
    QString shown = path;
    const QString prefix = currentFolder + u'/';
    if (shown.startsWith(prefix))
        shown.remove(0, prefix.size());
    // An ampersand in a path is text, not a mnemonic.
    shown.replace(u'&', QStringLiteral("&&"));
    return QString::number(index + 1) + u' ' + shown;
}
