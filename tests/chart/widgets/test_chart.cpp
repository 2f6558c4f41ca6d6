// The chart behind our interface: points kept by x, ranges from the active
// series or fixed, label texts in the chosen pattern, and what it draws.

#include "Chart.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <QtTest>

namespace {

int CountPixels(const QImage& image, const std::function<bool(QColor)>& wanted)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += wanted(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool Reddish(QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

}  // namespace

class ChartTests : public QObject {
    Q_OBJECT

private slots:
    void PointsStaySortedByX()
    {
        QWidget parent;
        auto chart = CreateChart(&parent);
        TChartSeries& series = chart->Series(0);
        series.AddXY(3, 30);
        series.AddXY(1, 10);
        series.AddXY(2, 20);
        series.AddXY(1, 11);
        QCOMPARE(series.Points(), (std::vector<TChartPoint>{{1, 10}, {1, 11}, {2, 20}, {3, 30}}));
        series.Clear();
        QVERIFY(series.Points().empty());
        QCOMPARE(chart->SeriesCount(), 2);
    }

    void AutomaticRangeCoversTheActiveSeries()
    {
        QWidget parent;
        auto chart = CreateChart(&parent);
        chart->Series(0).AddXY(0, 5);
        chart->Series(0).AddXY(4, 8);
        chart->Series(1).AddXY(-2, 100);
        QCOMPARE(chart->Axis(TChartAxisSide::Bottom).Range(), (TChartRange{-2, 4}));
        QCOMPARE(chart->Axis(TChartAxisSide::Left).Range(), (TChartRange{5, 100}));
        chart->Series(1).SetActive(false);
        QVERIFY(!chart->Series(1).Active());
        QCOMPARE(chart->Axis(TChartAxisSide::Bottom).Range(), (TChartRange{0, 4}));
        QCOMPARE(chart->Axis(TChartAxisSide::Left).Range(), (TChartRange{5, 8}));
        // A single value sits in the middle of the axis.
        chart->Series(0).Clear();
        chart->Series(0).AddXY(2, 50);
        QCOMPARE(chart->Axis(TChartAxisSide::Left).Range(), (TChartRange{45, 55}));
        chart->Series(0).Clear();
        QCOMPARE(chart->Axis(TChartAxisSide::Left).Range(), (TChartRange{-1, 1}));
    }

    void FixedRangeAndLabelTexts()
    {
        QWidget parent;
        parent.resize(400, 300);
        auto chart = CreateChart(&parent);
        chart->Widget()->setGeometry(0, 0, 400, 300);
        TChartAxis& left = chart->Axis(TChartAxisSide::Left);
        chart->Series(0).AddXY(0, 1);
        left.SetAutomatic(false);
        left.SetRange(0, 150000);
        QCOMPARE(left.Range(), (TChartRange{0, 150000}));
        QCOMPARE(left.LabelFormat(), std::string("#,##0.###"));
        std::vector<std::string> labels = left.LabelTexts();
        QVERIFY(labels.size() >= 2);
        QCOMPARE(labels.front(), std::string("0"));
        const auto has = [&labels](const char* text) {
            return std::find(labels.begin(), labels.end(), text) != labels.end();
        };
        QVERIFY(has("100,000"));
        left.SetLabelFormat("#.0##E-0");
        labels = left.LabelTexts();
        QVERIFY(has("1.0E5"));
        QCOMPARE(labels.front(), std::string("0.0E0"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, left.SetLabelFormat("0.#0"));
        QCOMPARE(left.LabelFormat(), std::string("#.0##E-0"));
        left.SetAutomatic(true);
        QCOMPARE(left.Range(), (TChartRange{0.9, 1.1}));
    }

    void TitlesInversionLegendAndMarks()
    {
        QWidget parent;
        auto chart = CreateChart(&parent);
        TChartAxis& bottom = chart->Axis(TChartAxisSide::Bottom);
        bottom.SetTitle("Pile Movement (z),");
        bottom.SetInverted(true);
        QCOMPARE(bottom.Title(), std::string("Pile Movement (z),"));
        QVERIFY(bottom.Inverted());
        QVERIFY(!chart->Axis(TChartAxisSide::Left).Inverted());
        chart->SetLegendVisible(false);
        QVERIFY(!chart->LegendVisible());
        chart->Series(1).SetTitle("z-Multiplier");
        QCOMPARE(chart->Series(1).Title(), std::string("z-Multiplier"));
        chart->Series(0).SetPointMarks(false);
        QVERIFY(!chart->Series(0).PointMarks());
        QVERIFY(chart->Series(1).PointMarks());
    }

    void DrawsTheSeriesInItsColour()
    {
        QWidget parent;
        parent.resize(300, 200);
        auto chart = CreateChart(&parent);
        chart->Widget()->setGeometry(0, 0, 300, 200);
        chart->SetLegendVisible(false);
        chart->Series(0).SetPen(Qt::red, 2);
        chart->Series(1).SetActive(false);
        parent.show();
        const int before = CountPixels(chart->Widget()->grab().toImage(), Reddish);
        QCOMPARE(before, 0);
        for (int i = 0; i <= 10; ++i)
            chart->Series(0).AddXY(i, i * i);
        QCoreApplication::processEvents();
        const QImage image = chart->Widget()->grab().toImage();
        QVERIFY(CountPixels(image, Reddish) > 200);
        // The rising curve: red in the lower left and in the upper right.
        const auto redIn = [&image](QRect r) { return CountPixels(image.copy(r), Reddish) > 0; };
        QVERIFY(redIn(QRect(0, image.height() / 2, image.width() / 2, image.height() / 2)));
        QVERIFY(redIn(QRect(image.width() / 2, 0, image.width() / 2, image.height() / 2)));
        QVERIFY(!redIn(QRect(0, 0, image.width() / 3, image.height() / 3)));
    }
};

QTEST_MAIN(ChartTests)
#include "test_chart.moc"
