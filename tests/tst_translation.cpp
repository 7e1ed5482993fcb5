// Every text of the interface has a finished Chinese translation, and the
// interface speaks Chinese when its translation is in the working directory.

#include "testwindow.h"

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
    // lupdate brings a copy of the .ts in step with the code: a text the .ts lacks
    // comes back unfinished. A translation keeps the placeholders and the menu
    // mnemonic of its source.
    void everyTextTranslated()
    {
        QTemporaryDir dir;
        const QString ts = dir.filePath("drovanel_zh.ts");
        const QString sources = DROVANEL_SOURCE_DIR;
        QVERIFY(QFile::copy(DROVANEL_TS_FILE, ts));
        QCOMPARE(QProcess::execute(DROVANEL_LUPDATE,
                         { "-silent", sources + "/document", sources + "/editors", sources + "/app",
                                 "-ts", ts }),
                0);
        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        const auto marks = [](const QString &text) {
            QStringList found { QKeySequence::mnemonic(text).toString() };
            for (auto it = QRegularExpression("%\\d").globalMatch(text); it.hasNext();)
                found << it.next().captured();
            found.sort();
            return found;
        };
        QString source;
        QStringList faults;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement
                    && xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
                const bool unfinished = !xml.attributes().value("type").isEmpty();
                const QString translation = xml.readElementText();
                if (unfinished || translation.isEmpty() || marks(translation) != marks(source))
                    faults << source;
            }
        }
        QVERIFY2(faults.isEmpty() && !source.isEmpty(), qPrintable(faults.join(" | ")));
    }

    // Loaded as the editor loads it, by file name from the working directory.
    void interfaceLanguage()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(DROVANEL_QM_FILE, dir.filePath("drovanel_zh.qm")));
        for (const QString &workingDirectory : { QDir::currentPath(), dir.path() }) {
            const QString previous = QDir::currentPath();
            QDir::setCurrent(workingDirectory);
            QTranslator translator;
            QCOMPARE(translator.load("drovanel_zh.qm"), workingDirectory == dir.path());
            QDir::setCurrent(previous);
            QCoreApplication::installTranslator(&translator);
            TestWindow w;
            w.trigger("AddNewObject");
            QCOMPARE(w.window.menuBar()->actions().at(2)->text() + ' '
                            + w.watcher.boxes.value(0).text,
                    translator.isEmpty() ? "&CurrentObject Please select object type inside the "
                                           "tree, and try again."
                                         : "当前对象(&C) 请先在树中选择一个对象类型，然后重试。");
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK") == "OK",
                    translator.isEmpty() || !DROVANEL_QT_TEXTS_MERGED);
        }
    }
};

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
