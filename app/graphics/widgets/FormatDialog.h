#pragma once

// "Save Attributes": size and resolution of a picture saved from a plot
// window.

#include "PlotView.h"

#include <QDialog>

class QButtonGroup;
class QDoubleSpinBox;
class QSpinBox;

class TdlgFormat : public QDialog {
    Q_OBJECT
public:
    explicit TdlgFormat(const TPictureSize& size, QWidget* parent = nullptr);

    TPictureSize Size() const;

private:
    QDoubleSpinBox* FHeight;
    QDoubleSpinBox* FWidth;
    QSpinBox* FPixels;
    QButtonGroup* FColours;
};
