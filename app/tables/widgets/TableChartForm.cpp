#include "TableChartForm.h"

#include "AxisLabels.h"
#include "DecimalText.h"
#include "TableGrid.h"
#include "ValueImport.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <cmath>

// Drawing surface of segment mode.
class TPaintBox : public QWidget {
public:
    TPaintBox(QWidget* parent, std::function<void(QPainter&)> paint) : QWidget(parent), FPaint(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        FPaint(painter);
    }

private:
    std::function<void(QPainter&)> FPaint;
};

namespace {

QPushButton* MakeButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->resize(button->sizeHint());
    return button;
}

bool IsArrowOrDigit(int key)
{
    return (key >= Qt::Key_Left && key <= Qt::Key_Down) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}

}  // namespace

TTableChartForm::TTableChartForm(TGridTable& table, QMdiArea* area, std::function<QString()> textEditor)
    : TTableForm(table, area),
      PaintBox1(new TPaintBox(this, [this](QPainter& painter) { PaintBox1Paint(painter); })),
      FileNameLabel(new QLabel(tr("File Name:"), this)), FileNameEdit(new QLineEdit(this)),
      BtnBrowse(MakeButton(tr("Browse"), "BtnBrowse", this)),
      BtnEdit(MakeButton(tr("View/Edit File"), "BtnEdit", this)),
      BtnRead(MakeButton(tr("Read values from File"), "BtnRead", this)),
      BtnClip(MakeButton(tr("Paste values from  Clipboard (text)"), "BtnClip", this)),
      BtnOK(MakeButton(tr("OK"), "BtnOK", this)), BtnCancel(MakeButton(tr("Cancel"), "BtnCancel", this)),
      Chart1(CreateChart(this)), FTextEditor(std::move(textEditor))
{
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    FileNameLabel->setObjectName(QStringLiteral("FileNameLabel"));
    FileNameEdit->setObjectName(QStringLiteral("FileNameEdit"));
    Chart1->Widget()->setObjectName(QStringLiteral("Chart1"));
    FileNameLabel->resize(FileNameLabel->sizeHint());
    FileNameEdit->resize(FileNameEdit->sizeHint());

    TChartSeries& series1 = Chart1->Series(0);
    series1.SetPen(Qt::red, 2);
    series1.SetPointMarks(false);
    TChartSeries& series2 = Chart1->Series(1);
    series2.SetPen(Qt::green, 2);
    series2.SetMarkSize(2);
    series2.SetPointMarks(true);
    series2.SetActive(false);
    Chart1->SetLegendVisible(false);

    connect(BtnBrowse, &QPushButton::clicked, this, [this] { BtnBrowseClick(); });
    connect(BtnEdit, &QPushButton::clicked, this, [this] { BtnEditClick(); });
    connect(BtnRead, &QPushButton::clicked, this, [this] { BtnReadClick(); });
    connect(BtnClip, &QPushButton::clicked, this, [this] { BtnClipClick(); });
    connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { BtnCancelClick(); });
    connect(FileNameEdit, &QLineEdit::textChanged, this, [this] { UpdateFileButtons(); });

    // Every cell selection redraws the chart, after the base window's commit.
    auto select = Grid->OnSelectCell;
    Grid->OnSelectCell = [this, select](int row, int col) {
        const bool moved = select(row, col);
        if (FTable->Chart->Graph.ShowGraph)
            Redraw();
        return moved;
    };
    setAcceptDrops(table.Chart->GetDataFromFile);
    FChartRows = table.OnRowsChanged.Subscribe([this] { TableChanged(); });
    FChartCells = table.OnCellChanged.Subscribe([this](int, int) { TableChanged(); });
}

void TTableChartForm::TableChanged()
{
    if (FBound && !FFilling && FTable->Chart->Graph.ShowGraph)
        Redraw();
}

TTableChartForm::~TTableChartForm() = default;

// ---- Shape ----

bool TTableChartForm::ChartShown() const { return FTable->Chart->Graph.ShowGraph && !FTable->Chart->Graph.SegmentMode; }

bool TTableChartForm::SegmentShown() const { return FTable->Chart->Graph.ShowGraph && FTable->Chart->Graph.SegmentMode; }

QSize TTableChartForm::ChartSize() const
{
    // 285 by 170 at 96 pixels per inch.
    return QSize(285 * logicalDpiX() / 96, 170 * logicalDpiY() / 96);
}

int TTableChartForm::MaxRowsInView() const { return FTable->Chart->Graph.ShowGraph ? 5 : 10; }

int TTableChartForm::GridTop() const
{
    const int m = Margin();
    return FTable->Chart->Graph.ShowGraph ? m + ChartSize().height() + m : m;
}

int TTableChartForm::ContentRight() const
{
    int right = TTableForm::ContentRight();
    if (FTable->Chart->Graph.ShowGraph)
        right = std::max(right, Margin() + ChartSize().width() - 1);
    for (const QWidget* widget : {static_cast<QWidget*>(FileNameEdit), static_cast<QWidget*>(BtnRead),
                                  static_cast<QWidget*>(BtnClip), static_cast<QWidget*>(BtnCancel)})
        if (!widget->isHidden())
            right = std::max(right, widget->geometry().right());
    return right;
}

int TTableChartForm::LayoutBelowButtons(int buttonsTop)
{
    const int m = Margin();
    const int band = m + BtnAdd->height();
    const int buttonsEnd = buttonsTop + Band(BtnAdd);

    Chart1->Widget()->setVisible(ChartShown());
    PaintBox1->setVisible(SegmentShown());

    const bool okCancel = FTable->Chart->OKCancelButtons;
    BtnOK->setVisible(okCancel);
    BtnCancel->setVisible(okCancel);
    int below = buttonsEnd;
    if (okCancel) {
        const int top = buttonsEnd + 2 * m;
        // Each centred in a gap between the row buttons.
        BtnOK->move((BtnAdd->geometry().right() + 1 + BtnIns->x() - BtnOK->width()) / 2, top);
        BtnCancel->move((BtnIns->geometry().right() + 1 + BtnDel->x() - BtnCancel->width()) / 2, top);
        below = top + BtnOK->height() + 2 * m;
    }

    const bool import = FTable->Chart->GetDataFromFile;
    for (QWidget* widget :
         {static_cast<QWidget*>(FileNameLabel), static_cast<QWidget*>(FileNameEdit), static_cast<QWidget*>(BtnBrowse),
          static_cast<QWidget*>(BtnEdit), static_cast<QWidget*>(BtnRead), static_cast<QWidget*>(BtnClip)})
        widget->setVisible(import);
    if (import) {
        const int fileTop = okCancel ? below : buttonsEnd + m;
        const int buttonTop = fileTop + band;
        const int clipTop = buttonTop + band;
        BtnBrowse->move(2 * m, buttonTop);
        BtnEdit->move(BtnBrowse->geometry().right() + 1 + m, buttonTop);
        BtnRead->move(BtnEdit->geometry().right() + 1 + m, buttonTop);
        BtnClip->move(BtnRead->geometry().right() + 1 - BtnClip->width(), clipTop);
        FileNameLabel->move(2 * m, fileTop + (FileNameEdit->height() - FileNameLabel->height()) / 2);
        const int editLeft = FileNameLabel->geometry().right() + 1 + m;
        FileNameEdit->setGeometry(editLeft, fileTop, std::max(BtnRead->geometry().right() + 1 - editLeft, 100),
                                  FileNameEdit->height());
        below = clipTop + band + m;
    }
    UpdateFileButtons();
    return below;
}

void TTableChartForm::Layout()
{
    TTableForm::Layout();
    // The graph spans the window, however wide its grid or its import
    // controls make it.
    const int m = Margin();
    const QRect chart(QPoint(m, m), QSize(std::max(ChartSize().width(), width() - 2 * m), ChartSize().height()));
    Chart1->Widget()->setGeometry(chart);
    PaintBox1->setGeometry(chart);
}

void TTableChartForm::UpdateFileButtons()
{
    const QString name = FileNameEdit->text();
    const bool exists = !name.isEmpty() && QFileInfo(name).isFile();
    BtnEdit->setEnabled(exists);
    BtnRead->setEnabled(exists);
}

// ---- The chart ----

void TTableChartForm::Refresh()
{
    TTableForm::Refresh();
    if (FBound && !FFilling && FTable->Chart->Graph.ShowGraph)
        Redraw();
}

double TTableChartForm::Value(int col, int row) const
{
    if (!FTable->CellValid(col, row))
        return 0;
    switch (FTable->Column(col).Kind()) {
    case TColumnKind::Float: return static_cast<double>(FTable->GetData(col, row).AsFloat());
    case TColumnKind::Int:
    case TColumnKind::Enum: return FTable->GetData(col, row).AsInteger();
    default: return 0;
    }
}

std::string TTableChartForm::AxisTitle(int col) const
{
    if (col < 0 || col >= FTable->ColumnCount() || FTable->Column(col).CaptionLines.empty())
        return {};
    return FTable->Column(col).Heading();
}

void TTableChartForm::Redraw()
{
    if (!FBound)
        return;
    const TGraphParameters& graph = FTable->Chart->Graph;
    if (graph.SegmentMode) {
        Chart1->Widget()->hide();
        PaintBox1->setVisible(graph.ShowGraph);
        PaintBox1->update();
        return;
    }
    Chart1->Widget()->setVisible(graph.ShowGraph);
    TChartSeries& series1 = Chart1->Series(0);
    TChartSeries& series2 = Chart1->Series(1);
    series1.Clear();
    Chart1->SetLegendVisible(false);
    series2.SetActive(false);
    const int dataColumns = FTable->VisibleColumnCount();
    const bool twoSeries = dataColumns == 3 && graph.XColumn == 0 && graph.YColumn == 1;
    if (twoSeries) {
        series2.SetActive(true);
        series2.Clear();
        Chart1->SetLegendVisible(true);
        series1.SetTitle(AxisTitle(1));
        series2.SetTitle(AxisTitle(2));
    }

    const int rows = FTable->RowCount();
    const double f = Value(graph.YColumn, 0);
    bool vary = rows == 1;
    for (int row = 0; row < rows && !vary; ++row)
        vary = Value(graph.YColumn, row) != f || (twoSeries && Value(2, row) != f);
    const bool oneColumn = dataColumns == 1;
    for (int row = 0; row < rows; ++row) {
        const double x = oneColumn ? row : Value(graph.XColumn, row);
        double y = Value(graph.YColumn, row);
        if (row == 1 && !vary)
            y *= 1.001;
        series1.AddXY(x, y);
        if (twoSeries)
            series2.AddXY(x, Value(2, row));
    }

    TChartAxis& bottom = Chart1->Axis(TChartAxisSide::Bottom);
    TChartAxis& left = Chart1->Axis(TChartAxisSide::Left);
    bottom.SetTitle(oneColumn ? "N" : AxisTitle(graph.XColumn));
    left.SetTitle(AxisTitle(graph.YColumn));
    series1.SetPointMarks(false);
    bottom.SetInverted(FTable->Chart->InvertedXAxis);
    left.SetInverted(FTable->Chart->InvertedYAxis);

    if (vary) {
        left.SetAutomatic(true);
    } else {
        // 10 % either side of the value; a band of 1 around 0.
        left.SetAutomatic(false);
        if (f == 0)
            left.SetRange(-1, 1);
        else
            left.SetRange(std::min(0.9 * f, 1.1 * f), std::max(0.9 * f, 1.1 * f));
    }
    const TChartRange bottomRange = bottom.Range();
    const TChartRange leftRange = left.Range();
    bottom.SetLabelFormat(
        std::string(oneColumn ? WholeAxisFormat : ChooseAxisFormat(bottomRange.Minimum, bottomRange.Maximum)));
    left.SetLabelFormat(std::string(ChooseAxisFormat(leftRange.Minimum, leftRange.Maximum)));
}

void TTableChartForm::PaintBox1Paint(QPainter& painter)
{
    const QRect area = PaintBox1->rect();
    painter.fillRect(area, palette().window());
    if (!FBound)
        return;
    const TGraphParameters& graph = FTable->Chart->Graph;
    const int rows = FTable->RowCount();
    if (rows == 0)
        return;
    double xmin = Value(graph.XColumn, 0), xmax = xmin;
    double ymin = Value(graph.YColumn, 0), ymax = ymin;
    for (int row = 0; row < rows; ++row) {
        for (int col : {graph.XColumn, graph.X2Column}) {
            xmin = std::min(xmin, Value(col, row));
            xmax = std::max(xmax, Value(col, row));
        }
        for (int col : {graph.YColumn, graph.Y2Column}) {
            ymin = std::min(ymin, Value(col, row));
            ymax = std::max(ymax, Value(col, row));
        }
    }
    if (xmin == xmax || ymin == ymax)
        return;
    const auto mapX = [&](double x) {
        return static_cast<int>(std::lround(20 + (x - xmin) / (xmax - xmin) * (area.width() - 40)));
    };
    const auto mapY = [&](double y) {
        return static_cast<int>(std::lround(20 + (y - ymax) / (ymin - ymax) * (area.height() - 40)));
    };
    painter.setPen(palette().windowText().color());
    const int textHeight = painter.fontMetrics().height();
    for (int row = 0; row < rows; ++row) {
        const int x = mapX((Value(graph.XColumn, row) + Value(graph.X2Column, row)) / 2);
        const int y = mapY((Value(graph.YColumn, row) + Value(graph.Y2Column, row)) / 2);
        painter.drawText(QRect(x, y - textHeight / 2, 1000, textHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(row + 1));
    }
    for (int row = 0; row < rows; ++row)
        painter.drawLine(mapX(Value(0, row)), mapY(Value(1, row)), mapX(Value(2, row)), mapY(Value(3, row)));
}

// ---- Redraw triggers ----

bool TTableChartForm::eventFilter(QObject* watched, QEvent* event)
{
    if (FBound && FTable->Chart->Graph.ShowGraph) {
        if (event->type() == QEvent::KeyPress)
            Redraw();  // before the key is handled
        else if (event->type() == QEvent::KeyRelease && IsArrowOrDigit(static_cast<QKeyEvent*>(event)->key()))
            Redraw();
    }
    return TTableForm::eventFilter(watched, event);
}

void TTableChartForm::mousePressEvent(QMouseEvent* event)
{
    TTableForm::mousePressEvent(event);
    FormClick();
}

void TTableChartForm::FormClick()
{
    if (FTable->Chart->Graph.ShowGraph)
        Redraw();
}

// ---- Import ----

void TTableChartForm::BtnBrowseClick()
{
    const FileChoice choice = Prompts().OpenFile(this, FileRequest(tr("Open"), OpenFilter, FileNameEdit->text()));
    if (!choice.Path.isEmpty())
        FileNameEdit->setText(choice.Path);
    UpdateFileButtons();
}

void TTableChartForm::BtnEditClick()
{
    if (!StartTextEditor(FTextEditor ? FTextEditor() : QString(), FileNameEdit->text()))
        Prompts().Inform(this, tr("An error occurred in running the Word Processor"));
}

void TTableChartForm::BtnReadClick()
{
    QFile file(FileNameEdit->text());
    if (!file.open(QIODevice::ReadOnly)) {
        Prompts().Inform(this,
                         tr("The file \"%1\" could not be read: %2").arg(FileNameEdit->text(), file.errorString()),
                         PromptIcon::Error);
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Prompts().Inform(this,
                         tr("The file \"%1\" could not be read: %2").arg(FileNameEdit->text(), file.errorString()),
                         PromptIcon::Error);
        return;
    }
    // A text editor may have begun the file with a byte order mark.
    const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    ImportLines(SplitTextLines(std::string_view(bytes.constData() + start, bytes.size() - start)));
}

void TTableChartForm::BtnClipClick()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString text = data && data->hasText() ? data->text() : QString();
    if (text.isEmpty()) {
        Prompts().Inform(this, tr("There is no text on the Clipboard"));
        return;
    }
    ImportLines(SplitTextLines(text.toStdString()));
}

void TTableChartForm::ImportLines(const std::vector<std::string>& lines)
{
    const std::string point = LocaleDecimalPoint();
    FillTable("Import", [&](TValueImportTarget& target) { return ImportNumberLines(lines, point, target); });
}

bool TTableChartForm::TakesDrop(const QMimeData& data) const
{
    const QList<QUrl> urls = data.urls();
    if (!FTable->Chart->GetDataFromFile || urls.isEmpty() || !urls.front().isLocalFile())
        return false;
    // A project file dropped here is left to the main window, which opens it.
    const QString suffix = QFileInfo(urls.front().toLocalFile()).suffix().toLower();
    return suffix != QLatin1String("kv3d") && suffix != QLatin1String("kvd");
}

void TTableChartForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (TakesDrop(*event->mimeData()))
        event->acceptProposedAction();
}

void TTableChartForm::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!TakesDrop(*event->mimeData()))
        return;
    event->acceptProposedAction();
    FileNameEdit->setText(urls.front().toLocalFile());
    BtnReadClick();
}

// ---- OK and Cancel ----

void TTableChartForm::BtnOKClick()
{
    if (CommitCell())
        close();
}

void TTableChartForm::BtnCancelClick()
{
    // The edit in progress goes: the cell editor shows the table's value again.
    const int row = Grid->currentRow();
    const int col = Grid->currentColumn();
    if (auto* editor = qobject_cast<QLineEdit*>(Grid->indexWidget(Grid->currentIndex()));
        editor && row >= 0 && row < FTable->RowCount() && col >= 0 && col < FTable->VisibleColumnCount())
        editor->setText(QString::fromStdString(FTable->VisibleColumn(col).GetText(row)));
    close();
}
