#pragma once

// The text pages of the printable report laid out for a paint device: the
// report's HTML in a paged text document whose tables repeat their heading
// row on every page they run onto, whose cells do not wrap, and whose
// headings keep to the page of what follows them (short tables whole).

#include <QSizeF>

#include <memory>
#include <string>

class QPaintDevice;
class QTextDocument;

// The document of `html` laid out in pages of `page` device pixels.
std::unique_ptr<QTextDocument> ReportTextDocument(const std::string& html, QPaintDevice& device, const QSizeF& page);
