#pragma once

// The chart drawn in the table windows: line series over a bottom and a left
// axis, with a legend and axis titles. Windows use only this interface; the
// drawing behind it is the chart library's, and no other part of the program
// includes its headers.
//
//   std::unique_ptr<TChart> chart = CreateChart(parentWidget);
//   chart->Series(0).Clear();
//   chart->Series(0).AddXY(0.5, 12.0);          // kept sorted by x
//   chart->Axis(TChartAxisSide::Left).SetTitle("Load Transfer (t),");
//   const TChartRange range = chart->Axis(TChartAxisSide::Bottom).Range();
//   chart->Axis(TChartAxisSide::Bottom).SetLabelFormat("#,##0.###");
//   chart->Widget()->setGeometry(...);
//
// Series 0 and 1 (or as many as asked for) exist from the start; every series starts active, without
// title and with its point marks shown.

#include <memory>
#include <string>
#include <vector>

class QColor;
class QWidget;

struct TChartPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TChartPoint&) const = default;
};

struct TChartRange {
    double Minimum = 0;
    double Maximum = 0;
    bool operator==(const TChartRange&) const = default;
};

class TChartSeries {
public:
    virtual ~TChartSeries() = default;

    virtual void Clear() = 0;
    // A point, placed among the others by ascending x (after those with the
    // same x).
    virtual void AddXY(double x, double y) = 0;
    virtual const std::vector<TChartPoint>& Points() const = 0;
    // An inactive series is neither drawn, listed in the legend nor counted
    // in the axis ranges.
    virtual void SetActive(bool active) = 0;
    virtual bool Active() const = 0;
    // Text of the series in the legend.
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;
    virtual void SetPointMarks(bool visible) = 0;
    virtual bool PointMarks() const = 0;
    // Look: line colour and width in pixels (0: no line, the marks only);
    // point marks are squares of `markSize` pixels drawn in the line colour.
    virtual void SetPen(const QColor& color, int width) = 0;
    virtual void SetMarkSize(int pixels) = 0;
};

enum class TChartAxisSide { Bottom, Left };

class TChartAxis {
public:
    virtual ~TChartAxis() = default;

    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;
    // Values run from high to low.
    virtual void SetInverted(bool inverted) = 0;
    virtual bool Inverted() const = 0;
    // Pattern of the label texts (AxisLabels.h); "#,##0.###" at first.
    virtual void SetLabelFormat(const std::string& format) = 0;
    virtual std::string LabelFormat() const = 0;
    // Automatic: the range covers the points of the active series (a range
    // of one value is widened to show it in the middle). Fixed: the range
    // set with SetRange.
    virtual void SetAutomatic(bool automatic) = 0;
    virtual bool Automatic() const = 0;
    virtual void SetRange(double minimum, double maximum) = 0;
    // The range the axis shows now.
    virtual TChartRange Range() const = 0;
    // Texts of the labels the axis shows now, from its low end.
    virtual std::vector<std::string> LabelTexts() const = 0;
};

class TChart {
public:
    virtual ~TChart() = default;

    virtual int SeriesCount() const = 0;
    virtual TChartSeries& Series(int index) = 0;
    virtual TChartAxis& Axis(TChartAxisSide side) = 0;
    // The legend lists the active series by title.
    virtual void SetLegendVisible(bool visible) = 0;
    virtual bool LegendVisible() const = 0;
    // The widget the chart draws in, owned by the parent given at creation.
    virtual QWidget* Widget() const = 0;
};

// A chart with `seriesCount` series, drawn in a new widget of `parent`.
std::unique_ptr<TChart> CreateChart(QWidget* parent, int seriesCount = 2);
