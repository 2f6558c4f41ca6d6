#pragma once

// Commands of the Help menu: the about box, the help file and the manuals,
// and the check for updates.

#include "KorvenVersion.h"

#include <QDialog>
#include <QIcon>
#include <QString>

inline const QString kProgramName = QStringLiteral("KORVEN");
inline const QString kProgramVersion = QString::fromLatin1(kKorvenVersion);

// Documents shipped in the program's folder.
inline const QString kHelpFile = QStringLiteral("korven-index.html");
inline const QString kUsersManual = QStringLiteral("korven-users-guide.html");
inline const QString kTechnicalManual = QStringLiteral("korven-technical-notes.html");

// The program's icon, drawn from its own SVG picture.
QIcon ProgramIcon();

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

// Shows the about box, modal.
void ShowAboutBox(QWidget* parent);

// Opens `fileName` from the program's folder with the desktop's default
// handler. A file that is not there, or that nothing opens, is reported to
// the user.
void OpenProgramDocument(QWidget* parent, const QString& fileName);

// Tells the user that this program does not look for updates itself.
void CheckForUpdates(QWidget* parent);
