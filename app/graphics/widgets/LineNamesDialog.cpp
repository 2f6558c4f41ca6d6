#include "LineNamesDialog.h"

#include "DialogCaption.h"
#include "PlotGeometry.h"
#include "UserPrompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int Left = 10;
constexpr int Gap = 5;

}  // namespace

TfrmLineNames::TfrmLineNames(QStringList& curveTexts, QWidget* parent)
    : QDialog(parent), FCurveTexts(curveTexts), FListLabel(new QLabel(QStringLiteral("Select line to modify:"), this)),
      FList(new QListWidget(this)), FEditLabel(new QLabel(QStringLiteral("Type new legend below:"), this)),
      FEdit(new QLineEdit(this)), FOk(new QPushButton(QStringLiteral("&OK"), this)),
      FCancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setObjectName("frmLineNames");
    setWindowTitle(QStringLiteral("Legend"));
    FList->setObjectName("lstLines");
    FEdit->setObjectName("edtLegend");
    FOk->setObjectName("btnOK");
    FCancel->setObjectName("btnCancel");
    FListLabel->setBuddy(FList);
    FEditLabel->setBuddy(FEdit);
    // Enter in the edit line takes the text; it does not end the dialog.
    FOk->setAutoDefault(false);
    FCancel->setAutoDefault(false);
    FList->addItems(FCurveTexts);
    if (FList->count() > 0)
        FList->setCurrentRow(0);
    ShowSelected();

    connect(FList, &QListWidget::currentRowChanged, this, &TfrmLineNames::ShowSelected);
    connect(FList, &QListWidget::itemClicked, this, &TfrmLineNames::ShowSelected);
    connect(FList, &QListWidget::itemDoubleClicked, this, &TfrmLineNames::ShowSelected);
    connect(FEdit, &QLineEdit::editingFinished, this, &TfrmLineNames::TakeEdit);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);

    setMinimumSize(195, 167);
    resize(std::max(260, FList->sizeHintForColumn(0) + 2 * Left + 30), 260);
    FitCaption(*this);
}

void TfrmLineNames::ShowSelected()
{
    const int row = FList->currentRow();
    FEdit->setText(row >= 0 ? FList->item(row)->text() : QString());
    const TRgb colour = PaletteColour(std::max(row, 0));
    QPalette colours = FEdit->palette();
    colours.setColor(QPalette::Text, QColor(colour.R, colour.G, colour.B));
    FEdit->setPalette(colours);
}

void TfrmLineNames::TakeEdit()
{
    QListWidgetItem* item = FList->currentItem();
    if (item == nullptr)
        return;
    if (FEdit->text().isEmpty()) {
        // The row's name comes back before the message, so that the focus
        // leaving for the message does not refuse it twice.
        FEdit->setText(item->text());
        Prompts().Inform(this, QStringLiteral("The line must have a name!"));
        return;
    }
    item->setText(FEdit->text());
}

void TfrmLineNames::done(int result)
{
    for (int row = 0; row < FList->count() && row < FCurveTexts.size(); ++row)
        FCurveTexts[row] = FList->item(row)->text();
    QDialog::done(result);
}

void TfrmLineNames::resizeEvent(QResizeEvent*)
{
    const int width = this->width() - 2 * Left;
    const int labelHeight = FListLabel->sizeHint().height();
    const int editHeight = FEdit->sizeHint().height();
    const int buttonHeight = FOk->sizeHint().height();
    const int listHeight = std::max(height() - 2 * labelHeight - editHeight - buttonHeight - 40, 20);
    int y = Gap;
    FListLabel->setGeometry(Left, y, width, labelHeight);
    y += labelHeight + Gap;
    FList->setGeometry(Left, y, width, listHeight);
    y += listHeight + Gap;
    FEditLabel->setGeometry(Left, y, width, labelHeight);
    y += labelHeight + Gap;
    FEdit->setGeometry(Left, y, width, editHeight);
    y += editHeight + Gap;
    const int buttonWidth = std::max(FOk->sizeHint().width(), FCancel->sizeHint().width());
    FOk->setGeometry(20, y, buttonWidth, buttonHeight);
    FCancel->setGeometry(this->width() - 20 - buttonWidth, y, buttonWidth, buttonHeight);
}
