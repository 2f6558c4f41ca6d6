#include "ChildPlacement.h"

#include <QChildEvent>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

void FitIntoView(QMdiSubWindow& child, const QRect& view)
{
    if (child.isMaximized() || child.isMinimized() || view.isEmpty())
        return;
    QRect frame = child.geometry();
    frame.setWidth(std::clamp(view.width(), child.minimumWidth(), frame.width()));
    frame.setHeight(std::clamp(view.height(), child.minimumHeight(), frame.height()));
    frame.moveLeft(std::max(0, std::min(frame.left(), view.width() - frame.width())));
    frame.moveTop(std::max(0, std::min(frame.top(), view.height() - frame.height())));
    if (frame != child.geometry())
        child.setGeometry(frame);
}

// Watches the area for new child windows, and each child window for its
// first showing: the area places a window when it shows it, and the window
// may size itself to its content then, so the fit waits until both are done.
class TChildPlacement : public QObject {
public:
    explicit TChildPlacement(QMdiArea& area) : QObject(&area), FViewport(area.viewport())
    {
        FViewport->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The viewport is asked for once: while the area is being destroyed
        // it is no longer an area to ask.
        if (watched == FViewport) {
            // A child window is added while it is being made, before it is
            // a QMdiSubWindow: it is known as one when it shows.
            if (event->type() == QEvent::ChildAdded)
                static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        } else if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            if (auto* child = qobject_cast<QMdiSubWindow*>(watched))
                QTimer::singleShot(0, this, [this, window = QPointer<QMdiSubWindow>(child)] {
                    if (window && FViewport)
                        FitIntoView(*window, FViewport->rect());
                });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> FViewport;
};

}  // namespace

void KeepChildWindowsInView(QMdiArea& area) { new TChildPlacement(area); }
