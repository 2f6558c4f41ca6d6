#include "FormatDialog.h"

#include "DialogCaption.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox* InchesBox(const char* name, double value)
{
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setDecimals(2);
    box->setRange(2, 1000);
    box->setValue(value);
    return box;
}

}  // namespace

TdlgFormat::TdlgFormat(const TPictureSize& size, QWidget* parent)
    : QDialog(parent), FHeight(InchesBox("edtHeight", size.HeightInches)),
      FWidth(InchesBox("edtWidth", size.WidthInches)), FPixels(new QSpinBox)
{
    setObjectName("dlgFormat");
    setWindowTitle(QStringLiteral("Save Attributes"));
    FPixels->setObjectName("edtPixels");
    FPixels->setRange(10, 10000);
    FPixels->setValue(size.PixelsPerInch);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Height (in)"), FHeight);
    fields->addRow(QStringLiteral("&Width (in)"), FWidth);
    fields->addRow(QStringLiteral("&Pixels Per Inch"), FPixels);

    // The colours of a picture file, in the order of TPictureColours.
    auto* colours = new QGroupBox(QStringLiteral("Colors"));
    auto* choices = new QVBoxLayout(colours);
    FColours = new QButtonGroup(this);
    int index = 0;
    for (const char* text :
         {"Black and White", "16 Colors", "256 Colors", "High Color (16 bit)", "True Color (24 bit)"}) {
        auto* choice = new QRadioButton(QString::fromLatin1(text));
        choice->setChecked(index == static_cast<int>(size.Colours));
        FColours->addButton(choice, index++);
        choices->addWidget(choice);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName("btnCancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(colours);
    layout->addLayout(buttons);
    FitCaption(*this);
}

TPictureSize TdlgFormat::Size() const
{
    return {FHeight->value(), FWidth->value(), FPixels->value(), static_cast<TPictureColours>(FColours->checkedId())};
}
