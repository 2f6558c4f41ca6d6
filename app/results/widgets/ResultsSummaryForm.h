#pragma once

// The Results Summary window: the capacity read-outs and the load cases of
// the project's last run, from the plot data its owner read.

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QTableWidget;
class TProgramData;
struct TPlotData;

class TfrmResultsSummary : public QWidget {
    Q_OBJECT

public:
    static inline const QString WindowCaption = QStringLiteral("Results Summary");

    // `project` gives the current project and `results` its last run's plot
    // data, null when there are none (the window outlives a project replaced
    // by New or Open).
    TfrmResultsSummary(std::function<TProgramData&()> project, std::function<const TPlotData*()> results,
                       QWidget* parent = nullptr);

    // Shows the read-outs of the current results again, or why there are
    // none.
    void Reload();

    // Large enough for the read-outs and notes it shows, within the screen.
    QSize sizeHint() const override;

private:
    std::function<TProgramData&()> FProject;
    std::function<const TPlotData*()> FResults;
    QTableWidget* FTable;
    QLabel* FNotes;
};
