#include "FormatDialog.h"
#include "GraphPlot.h"
#include "PlotForm.h"
#include "PlotLegend.h"
#include "PlotTestSupport.h"
#include "ScriptedPrompts.h"

#include <QtTest>

using namespace PlotTest;

class PlotOutputTests : public QObject {
    Q_OBJECT
};

QTEST_MAIN(PlotOutputTests)
#include "PlotOutputTests.moc"
