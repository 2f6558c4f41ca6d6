#pragma once

// "Graph Caption": the title of a graph and whether it goes above or below.

#include <QDialog>

class QLineEdit;
class QRadioButton;

class TfrmGraphCaption : public QDialog {
    Q_OBJECT
public:
    TfrmGraphCaption(const QString& title, bool onTop, QWidget* parent = nullptr);

    QString Title() const;
    bool OnTop() const;

private:
    QLineEdit* FEdit;
    QRadioButton* FTop;
};
