// Tests that what a person enters is kept or told: the designer and the date
// saved beside the project, every switch a change to save, new rows that do
// not quietly change results, damaged or refused input named.

#include "DataDialogs.h"
#include "MainForm.h"
#include "MainFormDriving.h"
#include "ScriptedPrompts.h"

#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Example(const char* name) { return QStringLiteral(KORVEN_EXAMPLES "/") + QLatin1String(name); }

}  // namespace

class TestProjectChanges : public QObject, protected TMainFormFixture {
    Q_OBJECT

private:
    QString Copy(const char* example, const QString& name)
    {
        const QString path = FFolder->filePath(name);
        QFile::remove(path);
        QFile::copy(Example(example), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    void Open(const QString& path)
    {
        FPrompts->Files.push_back({path, 0});
        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("&Open..."));
    }

    void WriteFile(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private slots:
    void init() { Start(); }
    void cleanup() { Finish(); }

    void designerAndDateAreKeptBesideTheProject()
    {
        const QString path = Copy("example.kv3d", QStringLiteral("pile.kv3d"));
        Open(path);
        Popup(*FForm, QStringLiteral("&Data"));
        Trigger(*FForm, QStringLiteral("&Title"));
        auto* title = qobject_cast<TdlgTitle*>(FForm->Area().activeSubWindow()->widget());
        QVERIFY(title);
        title->edtDesigner->setFocus();
        QTest::keyClicks(title->edtDesigner, QStringLiteral("A. Engineer"));
        title->edtDate->setFocus();
        QTest::keyClicks(title->edtDate, QStringLiteral("8 December 2026"));
        // The save question comes for them alone.
        Popup(*FForm, QStringLiteral("&File"));
        QVERIFY(FForm->Project().Changed());
        Trigger(*FForm, QStringLiteral("&Save"));
        QVERIFY(!FForm->Project().Changed());
        QVERIFY(QFile::exists(FFolder->filePath(QStringLiteral("pile.kv3x"))));

        Popup(*FForm, QStringLiteral("&File"));
        Trigger(*FForm, QStringLiteral("&New"));
        QCOMPARE(FForm->Project().Designer, std::string());
        Open(path);
        QCOMPARE(FForm->Project().Designer, std::string("A. Engineer"));
        QCOMPARE(FForm->Project().DesignDate, std::string("8 December 2026"));
        QVERIFY(FPrompts->Messages().isEmpty());
    }

    void aDamagedExtrasFileIsNamedAndTheProjectStillOpens()
    {
        const QString path = Copy("example.kv3d", QStringLiteral("pile.kv3d"));
        const QString extras = FFolder->filePath(QStringLiteral("pile.kv3x"));
        WriteFile(extras, "{\"schemaVersion\": 1, \"project\": {\"designer\": ");
        Open(path);
        QCOMPARE(FForm->Project().FileName, path.toStdString());
        QCOMPARE(FPrompts->Messages().size(), 1);
        QCOMPARE(FPrompts->Asked.back().Icon, PromptIcon::Warning);
        QVERIFY2(FPrompts->Messages()[0].contains(extras), qPrintable(FPrompts->Messages()[0]));
    }
};

int main(int argc, char** argv)
{
    // The settings the fixture clears are a private folder's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    TestProjectChanges test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_project_changes.moc"
