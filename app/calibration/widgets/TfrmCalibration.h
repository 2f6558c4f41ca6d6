#pragma once

// "Calibrate to Load Test": fits the project's modification factors to its
// load test. The engineer ticks the multipliers to fit and their bounds and
// presses Fit; the fit runs on a worker thread (the window stays
// responsive, shows the analyses so far and can be cancelled), then the
// window shows the fitted values with their approximate 95 % ranges, the
// warnings in words, the RMS misfit before and after, and a graph of the
// measured points over the curves of the current and the fitted factors.
// Nothing reaches the project until Apply, which hands the fit to the one
// function its owner gave.

#include "Calibration.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;
class TChart;
class TProgramData;

class TfrmCalibration : public QWidget {
    Q_OBJECT

public:
    static inline const QString WindowCaption = QStringLiteral("Calibrate to Load Test");

    // `apply` writes a fit into the current project (and runs it).
    TfrmCalibration(QMdiArea& area, std::function<TProgramData&()> project,
                    std::function<void(const TFitResult&)> apply);
    // Cancels a fit still running and waits for it.
    ~TfrmCalibration() override;

    void ShowWindow();

    // Starts the fit of the current project with the options of the window;
    // a project or test the fit cannot use is reported and nothing starts.
    void Fit();
    void CancelFit();
    void Apply();
    // The project was replaced or its units switched: the fit of the old
    // one is dropped (a running one cancelled), so that Apply never writes
    // it into this one.
    void ProjectChanged();
    bool Fitting() const { return FWorker.joinable(); }
    // The last fit finished, until the next one starts.
    const std::optional<TFitResult>& Result() const { return FResult; }

    // The options as the window sets them.
    TFitOptions Options() const;

signals:
    // A fit finished (done, cancelled or refused).
    void FitFinished();

private:
    void Finished(TFitResult fit, std::vector<THeadPoint> currentCurve);
    void ShowResult();
    void UpdateButtons();

    std::function<TProgramData&()> FProject;
    std::function<void(const TFitResult&)> FApply;
    QComboBox* FShaft;
    QCheckBox* FFitT;
    QCheckBox* FFitZ;
    QCheckBox* FFitQ;
    QCheckBox* FFitW;
    QLineEdit* FLower;
    QLineEdit* FUpper;
    QPushButton* FFitButton;
    QPushButton* FCancelButton;
    QPushButton* FApplyButton;
    QProgressBar* FProgress;
    QLabel* FStatus;
    QTableWidget* FValues;
    QLabel* FMisfits;
    QLabel* FWarnings;
    std::unique_ptr<TChart> FChart;
    QTimer* FTimer;

    // The fit in progress, on FWorker.
    std::unique_ptr<TCalibration> FCalibration;
    std::thread FWorker;
    std::atomic<bool> FCancel{false};
    std::atomic<int> FAnalyses{0};
    // The running fit is of a project no longer current.
    bool FStale = false;
    std::optional<TFitResult> FResult;
};
