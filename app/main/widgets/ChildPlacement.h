#pragma once

// Child windows of the main window's multiple-document area open inside its
// visible part: one that would reach past an edge is moved in, and one
// larger than the area is made as large as the area.

class QMdiArea;

void KeepChildWindowsInView(QMdiArea& area);
