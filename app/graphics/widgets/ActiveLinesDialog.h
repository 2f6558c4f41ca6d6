#pragma once

// "Active Curves": chooses which curves of a graph are listed and may be
// drawn. The dialog edits the caller's state texts, one per curve (ActiveState
// or InactiveState); the caller applies them when it ends with OK.

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

inline const QString ActiveState = QStringLiteral(" yes : ");
inline const QString InactiveState = QStringLiteral(" no  : ");

class TfrmActiveLines : public QDialog {
    Q_OBJECT
public:
    TfrmActiveLines(const QStringList& curveTexts, QStringList& curveStates, QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Toggle(int row);
    void ToggleSelected();
    void SetAll(const QString& state);
    void WriteRow(int row);

    const QStringList& FCurveTexts;
    QStringList& FCurveStates;
    QLabel* FPrompt;
    QLabel* FStateLabel;
    QLabel* FCurveLabel;
    QListWidget* FList;
    QPushButton* FToggle;
    QPushButton* FAll;
    QPushButton* FNone;
    QPushButton* FOk;
    QPushButton* FCancel;
};
