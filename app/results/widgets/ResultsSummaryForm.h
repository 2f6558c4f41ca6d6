#pragma once

// The Results Summary window: the capacity read-outs of the project's last
// run, read from its plot data file each time the window is loaded.

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QTableWidget;
class TProgramData;

class TfrmResultsSummary : public QWidget {
    Q_OBJECT

public:
    static inline const QString WindowCaption = QStringLiteral("Results Summary");

    // `project` gives the current project (the window outlives a project
    // replaced by New or Open).
    explicit TfrmResultsSummary(std::function<TProgramData&()> project, QWidget* parent = nullptr);

    // Reads the plot data file of the current project again and shows its
    // read-outs, or why there are none.
    void Reload();

private:
    std::function<TProgramData&()> FProject;
    QTableWidget* FTable;
    QLabel* FNotes;
};
