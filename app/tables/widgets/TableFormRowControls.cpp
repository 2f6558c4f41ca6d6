// Row controls of the table window: the drop-down or button that an
// enumeration or button column shows in each visible row.

#include "TableForm.h"

#include "TableGrid.h"
#include "TableWindows.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>

// ---- Row controls ----

void TTableForm::LayoutRowControls()
{
    const int top = Grid->TopRow();
    FControlTop = top;
    const int count = std::min(FRowsInView, FTable->RowCount() - top);
    const int left = Grid->LeftColumn();
    // Controls of columns that no longer show any (hidden, or another column
    // list read since) go first.
    std::vector<int> stale;
    for (const auto& [col, controls] : FControls)
        if (col >= FTable->ColumnCount() || !FTable->Column(col).Visible || !FTable->Column(col).HasControls())
            stale.push_back(col);
    for (int col : stale)
        DropRowControls(col);

    for (int col = 0; col < FTable->ColumnCount(); ++col) {
        TColumn& column = FTable->Column(col);
        if (!column.Visible || !column.HasControls())
            continue;
        const auto found = FControls.find(col);
        const bool otherKind =
            found != FControls.end() && !found->second.empty() &&
            (qobject_cast<QComboBox*>(found->second.front()) != nullptr) != (column.Kind() == TColumnKind::Enum);
        if (count <= 0 || otherKind)
            DropRowControls(col);
        if (count <= 0)
            continue;
        std::vector<QWidget*>& controls = FControls[col];
        while (static_cast<int>(controls.size()) > count) {
            controls.back()->hide();
            controls.back()->deleteLater();
            controls.pop_back();
        }
        while (static_cast<int>(controls.size()) < count)
            controls.push_back(MakeRowControl(col, static_cast<int>(controls.size())));

        // Each control sits on its cell, 1 pixel inside the grid lines.
        const int visible = FTable->VisibleIndexOf(column);
        const bool inView = visible >= left && visible < left + FColumnsInView;
        const QPoint origin = Grid->pos() + QPoint(Grid->frameWidth() + Grid->verticalHeader()->width(),
                                                   Grid->frameWidth() + Grid->horizontalHeader()->height());
        for (int i = 0; i < count; ++i) {
            ShowRowControl(col, i);
            QWidget* control = controls[i];
            control->raise();
            if (!inView) {
                control->hide();
                continue;
            }
            const int row = FControlTop + i;
            control->setGeometry(origin.x() + Grid->columnViewportPosition(visible),
                                 origin.y() + Grid->rowViewportPosition(row), Grid->columnWidth(visible) - 1,
                                 Grid->rowHeight(row) - 1);
            control->show();
        }
    }
}

QWidget* TTableForm::MakeRowControl(int col, int control)
{
    // The column is looked up when the control is used: the table may have
    // read another column list since.
    QWidget* widget;
    if (FTable->Column(col).Kind() == TColumnKind::Enum) {
        auto* box = new QComboBox(this);
        box->setMaxVisibleItems(11);
        connect(box, &QComboBox::activated, this, [this, col, control](int position) {
            Guarded([&] {
                RecordChange("Choice", [&] {
                    TColumn& column = FTable->Column(col);
                    const int row = FControlTop + control;
                    if (column.AsInteger(row) != position + 1)
                        column.SetInteger(row, position + 1);
                });
            });
        });
        widget = box;
    } else {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, col, control] {
            Guarded([&] {
                auto& buttons = dynamic_cast<TTableColumn&>(FTable->Column(col));
                if (TGridTable* nested = buttons.ClickButton(FControlTop + control))
                    ShowTable(*nested, IsModal());
            });
        });
        widget = button;
    }
    widget->hide();
    return widget;
}

void TTableForm::ShowRowControl(int col, int control)
{
    const TColumn& column = FTable->Column(col);
    QWidget* widget = FControls[col][control];
    const int row = FControlTop + control;
    if (auto* box = qobject_cast<QComboBox*>(widget)) {
        QStringList items;
        for (const std::string& item : dynamic_cast<const TEnumColumn&>(column).Items())
            items << QString::fromStdString(item);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        if (shown != items) {
            box->clear();
            box->addItems(items);
        }
        box->setCurrentIndex(column.AsInteger(row) - 1);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(QString::fromStdString(column.GetText(row)));
    }
}

void TTableForm::RowControlChanged(int col, int row)
{
    const auto it = FControls.find(col);
    if (it == FControls.end())
        return;
    const int control = row - FControlTop;
    if (control >= 0 && control < static_cast<int>(it->second.size()))
        ShowRowControl(col, control);
}

void TTableForm::DropRowControls(int col)
{
    const auto it = FControls.find(col);
    if (it == FControls.end())
        return;
    for (QWidget* control : it->second) {
        control->hide();
        control->deleteLater();
    }
    FControls.erase(it);
}

void TTableForm::ReleaseRowControls()
{
    while (!FControls.empty())
        DropRowControls(FControls.begin()->first);
}

// The class itself is instantiated in TableForm.cpp; these members here.
