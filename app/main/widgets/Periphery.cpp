#include "Periphery.h"

#include "UserPrompts.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QVBoxLayout>

// Resources of a static library are registered only on request.
static void RegisterIcons() { Q_INIT_RESOURCE(icons); }

namespace {

QPixmap ProgramPicture(int size)
{
    static const bool registered = (RegisterIcons(), true);
    Q_UNUSED(registered);
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/korven.svg"));
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

}  // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(ProgramPicture(size));
    return icon;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About ") + kProgramName);

    auto* picture = new QLabel;
    picture->setPixmap(ProgramPicture(64));
    picture->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(kProgramName);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    name->setFont(bold);

    auto* version = new QLabel(QStringLiteral("Version ") + kProgramVersion);
    auto* purpose =
        new QLabel(QStringLiteral("Computes the load-settlement curve of a single axially loaded pile. "
                                  "The pile is divided into increments; the soil's resistance along the shaft "
                                  "is described by t-z curves and at the tip by a Q-w curve, generated from "
                                  "soil-layer data or entered by the user. Down-drag from settling soil and "
                                  "modification factors on the curves can be included."));
    purpose->setWordWrap(true);
    purpose->setMinimumWidth(320);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(purpose);
    texts->addStretch();

    auto* content = new QHBoxLayout;
    content->addWidget(picture);
    content->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(content);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowAboutBox(QWidget* parent)
{
    TAboutBox box(parent);
    box.exec();
}

void OpenProgramDocument(QWidget* parent, const QString& fileName)
{
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString path = folder.filePath(fileName);
    if (!QFileInfo(path).isFile())
        Prompts().Inform(
            parent,
            QStringLiteral("The document \"%1\" is not in the program's folder (%2).").arg(fileName, folder.path()));
    else if (!Launcher().OpenDocument(path))
        Prompts().Inform(parent, QStringLiteral("No program could be started to show \"%1\".").arg(path));
}

void CheckForUpdates(QWidget* parent)
{
    Prompts().Inform(parent,
                     kProgramName + QStringLiteral(" ") + kProgramVersion +
                         QStringLiteral(" cannot check for updates: the program does not connect to "
                                        "the network.\nAsk whoever installed it whether a newer version "
                                        "is available."),
                     PromptIcon::Information);
}
