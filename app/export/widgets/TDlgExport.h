#pragma once

// "Export to Excel": the list of the four result graphs, each offered when
// the Graphics command that shows it is enabled, and the export of the
// checked ones into an .xlsx workbook that is saved where the user chooses
// and then opened with the desktop's spreadsheet program.
//
//   TDlgExport dialog(graphs, {mLoad, mAxial, mtzcurves, mTip}, projectFileName, this);
//   dialog.exec();

#include <QDialog>
#include <QString>

#include <array>

class QAction;
class QLabel;
class QListWidget;
class QPushButton;
class TGraphPlot;
class TMainGraphs;

class TDlgExport : public QDialog {
    Q_OBJECT

public:
    static constexpr int PlotCount = 4;
    static inline const QString FileFilter = QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx|All Files (*.*)|*.*");

    // `commands` are the Graphics commands of the load distribution, the
    // axial load against settlement, the t-z curves and the Q-w curve;
    // `projectFile` names the default workbook (its extension becomes ".xlsx").
    TDlgExport(TMainGraphs& graphs, std::array<const QAction*, PlotCount> commands, QString projectFile,
               QWidget* parent = nullptr);

    // The graph and the command of entry n, counted from 1.
    TGraphPlot& GetPlotPt(int n) const;
    const QAction* GetMenuPt(int n) const;
    // Number of checked entries.
    int GetNPlots() const;
    // "Generate Excel File" is enabled only while an entry is checked.
    void CheckGenerateBtn();

    // Fills the list afresh: each entry enabled and checked exactly when its
    // command is enabled.
    void FormActivate();
    // "Select All", "Unselect All": every enabled entry.
    void Button1Click();
    void Button2Click();
    // "Generate Excel File": asks where to save, writes the workbook and opens it.
    void Button3Click();
    // "Close Window".
    void Button4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CheckAll(bool checked);
    // The workbook's path: the project's name with ".xlsx", in its folder.
    QString DefaultWorkbook() const;

    TMainGraphs& FGraphs;
    std::array<const QAction*, PlotCount> FCommands;
    QString FProjectFile;
    QListWidget* CheckListBoxPlots;
    QPushButton* FGenerateButton;
    QLabel* FSavedTo;
};
