#pragma once

// "Legend": renames the curves of a graph. The dialog edits the caller's
// list of legend texts, one per curve, and writes the rows back when it
// closes; the caller applies them when it ends with OK.

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TfrmLineNames : public QDialog {
    Q_OBJECT
public:
    TfrmLineNames(QStringList& curveTexts, QWidget* parent = nullptr);

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the selected row's text in the edit line, in the row's colour.
    void ShowSelected();
    // Takes the edit line's text into the selected row; an empty text is
    // refused.
    void TakeEdit();

    QStringList& FCurveTexts;
    QLabel* FListLabel;
    QListWidget* FList;
    QLabel* FEditLabel;
    QLineEdit* FEdit;
    QPushButton* FOk;
    QPushButton* FCancel;
};
