#include "GraphCaptionDialog.h"

#include "DialogCaption.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmGraphCaption::TfrmGraphCaption(const QString& title, bool onTop, QWidget* parent)
    : QDialog(parent), FEdit(new QLineEdit(title)), FTop(new QRadioButton(QStringLiteral("Top")))
{
    setObjectName("frmGraphCaption");
    setWindowTitle(QStringLiteral("Graph Caption"));
    FEdit->setObjectName("edtCaption");
    FTop->setObjectName("rbTop");
    auto* bottom = new QRadioButton(QStringLiteral("Bottom"));
    bottom->setObjectName("rbBottom");
    (onTop ? FTop : bottom)->setChecked(true);

    auto* label = new QLabel(QStringLiteral("Enter Graph Caption"));
    label->setBuddy(FEdit);
    auto* location = new QGroupBox(QStringLiteral("Caption Location"));
    auto* choices = new QHBoxLayout(location);
    choices->addWidget(FTop);
    choices->addWidget(bottom);
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(FEdit);
    layout->addWidget(location);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    FEdit->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    FitCaption(*this);
}

QString TfrmGraphCaption::Title() const { return FEdit->text(); }

bool TfrmGraphCaption::OnTop() const { return FTop->isChecked(); }
