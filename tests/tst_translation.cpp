// Every text of the interface has a finished Chinese translation, and the
// interface speaks Chinese when its translation is in the working directory.

#include "resbytes.h"
#include "testwindow.h"
#include "uimypart1subobject.h"

#include <QComboBox>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated();
    void interfaceLanguage_data();
    void interfaceLanguage();
};

// lupdate brings a copy of the .ts in step with the code: a text the .ts lacks
// comes back unfinished.
void TestTranslation::everyTextTranslated()
{
    QTemporaryDir dir;
    const QString ts = dir.filePath("drovanel_zh.ts");
    QVERIFY(QFile::copy(DROVANEL_TS_FILE, ts));
    const QString sources = DROVANEL_SOURCE_DIR;
    QCOMPARE(QProcess::execute(DROVANEL_LUPDATE,
                     { "-silent", "-locations", "none", sources + "/document", sources + "/editors",
                             sources + "/app", "-ts", ts }),
            0);

    QFile file(ts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString source;
    QStringList faults;
    int messages = 0;
    const QRegularExpression placeholders("%\\d");
    const auto sorted = [&placeholders](const QString &text) {
        QStringList found;
        for (auto it = placeholders.globalMatch(text); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const bool unfinished = !xml.attributes().value("type").isEmpty();
            const QString translation = xml.readElementText();
            if (unfinished || translation.isEmpty() || sorted(translation) != sorted(source)
                    || QKeySequence::mnemonic(translation) != QKeySequence::mnemonic(source))
                faults << source;
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(messages > 50);
    QVERIFY2(faults.isEmpty(), qPrintable("not translated: " + faults.join(" | ")));
}

void TestTranslation::interfaceLanguage_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::newRow("translation in the working directory: Chinese") << true;
    QTest::newRow("translation elsewhere: English") << false;
}

// Loaded as the editor loads it: by file name, from the working directory.
void TestTranslation::interfaceLanguage()
{
    QFETCH(bool, inWorkingDirectory);
    QTemporaryDir dir;
    if (inWorkingDirectory)
        QVERIFY(QFile::copy(DROVANEL_QM_FILE, dir.filePath("drovanel_zh.qm")));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QTranslator translator;
    QCOMPARE(translator.load("drovanel_zh.qm"), inWorkingDirectory);
    QDir::setCurrent(previous);
    QCoreApplication::installTranslator(&translator);

    TestWindow w;
    const QStringList menus = { w.window.menuBar()->actions().at(0)->text(),
        w.window.menuBar()->actions().at(2)->text() };
    const QStringList expected = inWorkingDirectory ? QStringList { "文件(&F)", "当前对象(&C)" }
                                                    : QStringList { "&File", "&CurrentObject" };
    QCOMPARE(menus, expected);
    w.trigger("AddNewObject");
    QCOMPARE(w.watcher.boxes.size(), 1);
    QCOMPARE(w.watcher.boxes.first().text
                    == "Please select object type inside the tree, and try again.",
            !inWorkingDirectory);

    // Named values are found by the name the box shows, in either language.
    Part1SubObject entry = { 1, 0, 0 };
    UiMyPart1SubObject form(nullptr, &entry);
    auto *type = valueAt<QComboBox>(&form, 0);
    type->setCurrentIndex(
            type->findText(QCoreApplication::translate("UiMyPart1SubObject", "Lianhua")));
    QCOMPARE(entry.Type, 17);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK") == "OK",
            !inWorkingDirectory || !DROVANEL_QT_TEXTS_MERGED);
    QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
