// The chart interface drawn with Qt Charts. Points and ranges are kept here;
// the Qt objects follow them (points, axis ranges and labels) once per pass
// of the event loop after a change.

#include "AxisLabels.h"
#include "Chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

class TQtChart;

class TQtSeries final : public TChartSeries {
public:
    TQtSeries(TQtChart& chart, QLineSeries* series) : FChart(chart), FSeries(series) {}

    void Clear() override;
    void AddXY(double x, double y) override;
    const std::vector<TChartPoint>& Points() const override { return FPoints; }
    void SetActive(bool active) override;
    bool Active() const override { return FActive; }
    void SetTitle(const std::string& title) override;
    std::string Title() const override { return FTitle; }
    void SetPointMarks(bool visible) override;
    bool PointMarks() const override { return FMarks; }
    void SetPen(const QColor& color, int width) override;
    void SetMarkSize(int pixels) override;

    // Brings the Qt series up to the points.
    void Sync();

private:
    void UpdateMarker();

    TQtChart& FChart;
    QLineSeries* FSeries;
    std::vector<TChartPoint> FPoints;
    bool FActive = true;
    bool FMarks = true;
    std::string FTitle;
    int FMarkSize = 4;
};

class TQtAxis final : public TChartAxis {
public:
    TQtAxis(TQtChart& chart, TChartAxisSide side, QCategoryAxis* axis) : FChart(chart), FSide(side), FAxis(axis) {}

    void SetTitle(const std::string& title) override
    {
        FTitle = title;
        // A side axis of a short chart has little length for its title: the
        // unit goes on a line of its own rather than being cut off.
        QString text = QString::fromStdString(title).toHtmlEscaped();
        const qsizetype unit = text.lastIndexOf(QStringLiteral(" ("));
        if (FSide == TChartAxisSide::Left && unit > 0)
            text.replace(unit, 1, QStringLiteral("<br>"));
        FAxis->setTitleText(text);
    }
    std::string Title() const override { return FTitle; }
    void SetInverted(bool inverted) override
    {
        FInverted = inverted;
        FAxis->setReverse(inverted);
    }
    bool Inverted() const override { return FInverted; }
    void SetLabelFormat(const std::string& format) override;
    std::string LabelFormat() const override { return FFormat; }
    void SetAutomatic(bool automatic) override;
    bool Automatic() const override { return FAutomatic; }
    void SetRange(double minimum, double maximum) override;
    TChartRange Range() const override;
    std::vector<std::string> LabelTexts() const override;

    // Brings the Qt axis up to the range and labels.
    void Sync();

private:
    std::vector<double> Ticks() const;

    TQtChart& FChart;
    TChartAxisSide FSide;
    QCategoryAxis* FAxis;
    std::string FTitle;
    bool FInverted = false;
    std::string FFormat{FixedAxisFormat};
    bool FAutomatic = true;
    TChartRange FFixed{0, 1};
};

class TQtChart final : public TChart {
public:
    TQtChart(QWidget* parent, int seriesCount);
    ~TQtChart() override;

    int SeriesCount() const override { return static_cast<int>(FSeries.size()); }
    TChartSeries& Series(int index) override { return *FSeries.at(index); }
    TChartAxis& Axis(TChartAxisSide side) override { return side == TChartAxisSide::Bottom ? *FBottom : *FLeft; }
    void SetLegendVisible(bool visible) override
    {
        FLegend = visible;
        FChart->legend()->setVisible(visible);
    }
    bool LegendVisible() const override { return FLegend; }
    QWidget* Widget() const override { return FView; }

    QChart* Qt() const { return FChart; }
    // Smallest and largest coordinate of the active series' points, x for
    // the bottom axis and y for the left one; false without points.
    bool Extent(TChartAxisSide side, double& minimum, double& maximum) const;
    // Axis length in pixels, for spacing the labels.
    double AxisLength(TChartAxisSide side) const;
    // Asks for one Sync on the next pass of the event loop.
    void Changed();
    void Sync();

private:
    QPointer<QChartView> FView;
    QChart* FChart;
    std::vector<std::unique_ptr<TQtSeries>> FSeries;
    std::unique_ptr<TQtAxis> FBottom;
    std::unique_ptr<TQtAxis> FLeft;
    bool FLegend = true;
    bool FSyncPending = false;
};

// ---- Series ----

void TQtSeries::Clear()
{
    FPoints.clear();
    FChart.Changed();
}

void TQtSeries::Sync()
{
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(FPoints.size()));
    for (const TChartPoint& p : FPoints)
        points.append(QPointF(p.X, p.Y));
    FSeries->replace(points);
}

void TQtSeries::AddXY(double x, double y)
{
    const auto at = std::upper_bound(FPoints.begin(), FPoints.end(), x,
                                     [](double value, const TChartPoint& p) { return value < p.X; });
    FPoints.insert(at, {x, y});
    FChart.Changed();
}

void TQtSeries::SetActive(bool active)
{
    FActive = active;
    FSeries->setVisible(active);
    for (QLegendMarker* marker : FChart.Qt()->legend()->markers(FSeries))
        marker->setVisible(active);
    FChart.Changed();
}

void TQtSeries::SetTitle(const std::string& title)
{
    FTitle = title;
    FSeries->setName(QString::fromStdString(title));
}

void TQtSeries::SetPointMarks(bool visible)
{
    FMarks = visible;
    FSeries->setPointsVisible(visible);
    UpdateMarker();
}

void TQtSeries::SetPen(const QColor& color, int width)
{
    QPen pen(color);
    pen.setWidth(width);
    // A series of marks only keeps its colour for them.
    if (width == 0)
        pen.setStyle(Qt::NoPen);
    FSeries->setPen(pen);
    UpdateMarker();
}

void TQtSeries::SetMarkSize(int pixels)
{
    FMarkSize = std::max(pixels, 1);
    UpdateMarker();
}

void TQtSeries::UpdateMarker()
{
    // Square marks in the line's colour; Qt draws a marker image even with
    // the points hidden, so a series without marks has none.
    if (!FMarks) {
        FSeries->setLightMarker(QImage());
        return;
    }
    QImage mark(FMarkSize, FMarkSize, QImage::Format_ARGB32);
    mark.fill(FSeries->pen().color());
    FSeries->setLightMarker(mark);
    FSeries->setMarkerSize(FMarkSize);
}

// ---- Axes ----

void TQtAxis::SetLabelFormat(const std::string& format)
{
    AxisLabelText(0, format);  // rejects an unknown pattern here, not when drawing
    FFormat = format;
    FChart.Changed();
}

void TQtAxis::SetAutomatic(bool automatic)
{
    FAutomatic = automatic;
    FChart.Changed();
}

void TQtAxis::SetRange(double minimum, double maximum)
{
    FFixed = {minimum, maximum};
    FChart.Changed();
}

TChartRange TQtAxis::Range() const
{
    if (!FAutomatic)
        return FFixed;
    double minimum = 0;
    double maximum = 0;
    FChart.Extent(FSide, minimum, maximum);
    if (minimum == maximum) {
        // One value in the middle of the axis.
        const double half = minimum == 0 ? 1 : std::fabs(minimum) / 10;
        return {minimum - half, maximum + half};
    }
    return {minimum, maximum};
}

std::vector<double> TQtAxis::Ticks() const
{
    const TChartRange range = Range();
    // Room for a label every 60 pixels along the bottom, every 25 up the side.
    const double spacing = FSide == TChartAxisSide::Bottom ? 60 : 25;
    const int labels = std::max(2, static_cast<int>(FChart.AxisLength(FSide) / spacing));
    return AxisTicks(std::min(range.Minimum, range.Maximum), std::max(range.Minimum, range.Maximum), labels);
}

std::vector<std::string> TQtAxis::LabelTexts() const
{
    std::vector<std::string> texts;
    for (double tick : Ticks()) {
        std::string text = AxisLabelText(tick, FFormat);
        // Two values rounding to one text keep the first.
        if (texts.empty() || texts.back() != text)
            texts.push_back(std::move(text));
    }
    return texts;
}

void TQtAxis::Sync()
{
    const TChartRange range = Range();
    const double low = std::min(range.Minimum, range.Maximum);
    const double high = std::max(range.Minimum, range.Maximum);
    for (const QString& label : FAxis->categoriesLabels())
        FAxis->remove(label);
    FAxis->setRange(low, high == low ? low + 1 : high);
    FAxis->setStartValue(low);
    QString last;
    for (double tick : Ticks()) {
        const QString text = QString::fromStdString(AxisLabelText(tick, FFormat));
        if (text != last)
            FAxis->append(text, tick);
        last = text;
    }
}

// ---- Chart ----

TQtChart::TQtChart(QWidget* parent, int seriesCount) : FChart(new QChart())
{
    FChart->setAnimationOptions(QChart::NoAnimation);
    FChart->setBackgroundBrush(Qt::white);
    FChart->setBackgroundRoundness(0);
    FChart->setPlotAreaBackgroundBrush(Qt::white);
    FChart->setPlotAreaBackgroundVisible(true);
    // Room on the right for half of the last bottom label.
    FChart->setMargins(QMargins(2, 4, 14, 2));
    FChart->layout()->setContentsMargins(0, 0, 0, 0);
    FChart->legend()->setAlignment(Qt::AlignRight);

    QFont font = FChart->font();
    font.setPointSizeF(std::max(6.0, font.pointSizeF() - 1));
    const auto makeAxis = [&](Qt::Alignment alignment) {
        auto* axis = new QCategoryAxis();
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setLinePen(QPen(Qt::black, 1));
        axis->setLabelsFont(font);
        axis->setTitleFont(font);
        FChart->addAxis(axis, alignment);
        return axis;
    };
    FBottom = std::make_unique<TQtAxis>(*this, TChartAxisSide::Bottom, makeAxis(Qt::AlignBottom));
    FLeft = std::make_unique<TQtAxis>(*this, TChartAxisSide::Left, makeAxis(Qt::AlignLeft));
    const auto axes = FChart->axes();
    FSeries.resize(static_cast<std::size_t>(std::max(seriesCount, 1)));
    for (auto& series : FSeries) {
        auto* line = new QLineSeries();
        FChart->addSeries(line);
        for (QAbstractAxis* axis : axes)
            line->attachAxis(axis);
        series = std::make_unique<TQtSeries>(*this, line);
    }
    FChart->legend()->setFont(font);

    FView = new QChartView(FChart, parent);
    FView->setRenderHint(QPainter::Antialiasing, false);
    FView->setFrameShape(QFrame::NoFrame);
    // Files dropped on the chart go to the window around it.
    FView->setAcceptDrops(false);
    Sync();
}

TQtChart::~TQtChart()
{
    delete FView.data();  // with the chart and its series
}

bool TQtChart::Extent(TChartAxisSide side, double& minimum, double& maximum) const
{
    bool any = false;
    for (const auto& series : FSeries) {
        if (!series->Active())
            continue;
        for (const TChartPoint& p : series->Points()) {
            const double v = side == TChartAxisSide::Bottom ? p.X : p.Y;
            minimum = any ? std::min(minimum, v) : v;
            maximum = any ? std::max(maximum, v) : v;
            any = true;
        }
    }
    return any;
}

double TQtChart::AxisLength(TChartAxisSide side) const
{
    QRectF area = FChart->plotArea();
    if (area.width() < 1 || area.height() < 1)
        area = QRectF(0, 0, FView ? FView->width() * 0.8 : 200, FView ? FView->height() * 0.7 : 120);
    return side == TChartAxisSide::Bottom ? area.width() : area.height();
}

void TQtChart::Changed()
{
    if (FSyncPending || !FView)
        return;
    FSyncPending = true;
    QTimer::singleShot(0, FView, [this] { Sync(); });
}

void TQtChart::Sync()
{
    FSyncPending = false;
    for (auto& series : FSeries)
        series->Sync();
    FBottom->Sync();
    FLeft->Sync();
}

}  // namespace

std::unique_ptr<TChart> CreateChart(QWidget* parent, int seriesCount)
{
    return std::make_unique<TQtChart>(parent, seriesCount);
}
