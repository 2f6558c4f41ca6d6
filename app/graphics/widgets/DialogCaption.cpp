#include "DialogCaption.h"

#include <QDialog>
#include <QGuiApplication>
#include <QStyle>

#include <algorithm>

void FitCaption(QDialog& dialog)
{
    // The desktop may add the program's name to the caption and draw it in a
    // larger font; beside it sit the icon and the frame's buttons.
    QString caption = dialog.windowTitle();
    if (!QGuiApplication::applicationDisplayName().isEmpty())
        caption += QStringLiteral(" \u2014 ") + QGuiApplication::applicationDisplayName();
    QFont bold = dialog.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(caption) * 5 / 4 +
                      6 * dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize size = dialog.size().expandedTo(dialog.sizeHint());
    dialog.resize(std::max(size.width(), width), size.height());
}
