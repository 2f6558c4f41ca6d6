#pragma once

// Painting of the pile in its soil layers: the window's view and the printed
// page, used by the side view window and the printed report alike.

#include "SideViewGeometry.h"

#include <QColor>
#include <QRect>

class QPainter;

// Paints a scene of the side view: background, lines, texts in the painter's
// font, the pile's fills and outlines, in `ink` on `background`.
void PaintSideView(QPainter& painter, const TSideViewScene& scene, const QColor& background, const QColor& ink);

// The printed page of the geometry over `page` (device pixels), black on
// white, its text in the painter's font.
void PaintSideViewPage(QPainter& painter, const TSideViewGeometry& geometry, const QRect& page);
