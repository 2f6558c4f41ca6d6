#pragma once

// Printing and saving a window's drawing: one page on a printer the user
// chooses through the prompts seam, one page into a PDF file, or a picture
// into a PNG or SVG file. The drawing is a function that paints onto an area
// of a device given in that device's pixels; it is called once per output.
//
//   PrintPage(this, "Soil-Pile Profile", QPageLayout::Landscape,
//             [this](QPainter& painter, const QRect& page) { PaintPage(painter, page); });
//
// Every failure has been reported to the user (through the prompts seam)
// when these return false; a cancelled dialog is no failure and says nothing.

#include <QPageLayout>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

using TPaintFunction = std::function<void(QPainter& painter, const QRect& area)>;

// Print dialog for a one-page job of that title and orientation, then the
// page, painted over the printable area.
bool PrintPage(QWidget* parent, const QString& jobTitle, QPageLayout::Orientation orientation,
               const TPaintFunction& paint);

// The page of PrintPage written into a PDF file instead of a printer.
bool SavePdf(QWidget* parent, const QString& path, const QString& title, QPageLayout::Orientation orientation,
             const TPaintFunction& paint);

// A picture of width x height pixels: an SVG drawing when the path ends in
// ".svg" (in any case), a PNG image otherwise.
bool SavePicture(QWidget* parent, const QString& path, const QString& title, const QSize& size,
                 const TPaintFunction& paint);

// Save dialogs of the two kinds of files, preset to `preset` with the
// matching extension; empty when cancelled. A picture's name that ends in
// neither ".png" nor ".svg" gets the extension of the file type chosen.
QString ChoosePdfFile(QWidget* parent, const QString& preset);
QString ChoosePictureFile(QWidget* parent, const QString& preset);
