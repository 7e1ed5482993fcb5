// The window as a modder uses it: the tree of an opened file, the three ways to
// open a file, the add commands, what Save then writes, and its Chinese texts.

#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

namespace {

// In file order Weapon, Item, Pose, VipItem, Map, Pose, Item and Pose objects;
// bytes follow the last object.
testres::File sampleFile()
{
    testres::File file = testres::generateFile(3, 8, false);
    file.objects[5].objectType = 3;
    file.objects[5].id = -1;
    // "Wuqi" in GB18030 and a model name in ASCII.
    file.objects[5].strings = { testres::stored("\xce\xe4\xc6\xf7"), testres::stored("m_pose"),
        testres::stored("") };
    file.objects[5].part1.resize(3);
    file.trailing = "kept";
    return file;
}

// Opens the sample as item.res and selects its second Pose, object 5.
QString openSample(TestWindow &w)
{
    const QString path = w.writeFile("item.res", testres::toBytes(sampleFile()));
    w.window.show();
    w.window.openFile(path);
    w.select("Pose/1");
    w.watcher.boxes.clear();
    return path;
}

QStringList texts(QTreeWidgetItem *item, bool children)
{
    QStringList texts;
    for (int i = 0; i < (children ? item->childCount() : 3); ++i)
        texts << (children ? item->child(i)->text(0) : item->text(i));
    return texts;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void tree()
    {
        TestWindow w;
        testres::File file = sampleFile();
        file.objects[6].objectType = file.objects[7].objectType = 9;
        const QByteArray bytes = testres::toBytes(file);
        w.open(w.writeFile("data.backup.res", bytes));
        QCOMPARE(w.tree->topLevelItemCount(), 1);
        QCOMPARE(w.tree->topLevelItem(0)->text(0), "data");
        QCOMPARE(texts(w.tree->topLevelItem(0), true), (QStringList { "Header", "Objects" }));
        QCOMPARE(texts(w.node("Objects"), true),
                (QStringList { "Weapon", "Pose", "Item", "Vipitem", "Map" }));
        QCOMPARE(w.node("Pose")->childCount(), 2);
        QCOMPARE(texts(w.node("Pose/1"), false), (QStringList { "-1", "武器", "m_pose" }));
        QCOMPARE(w.watcher.boxes.size(), 2);
        QCOMPARE(w.watcher.boxes.first().title + ": " + w.watcher.boxes.first().text,
                "Warning: Unknown ObjectType");

        // The unlisted objects and the bytes after the last object are saved too.
        QVERIFY(testres::writeFile(w.dir.filePath("data.backup.res"), QByteArray()));
        w.save();
        QCOMPARE(testres::readAll(w.dir.filePath("data.backup.res")), bytes);
    }

    void openOverEdits_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("outcome");
        const int save = QMessageBox::Save, discard = QMessageBox::Discard;
        QTest::newRow("Open, Cancel") << "Open other.res" << int(QMessageBox::Cancel) << "asked";
        QTest::newRow("Open, Discard") << "Open other.res" << discard << "asked, opened";
        QTest::newRow("Open, Save") << "Open other.res" << save << "asked, saved, opened";
        QTest::newRow("Open, edit undone") << "undo Open other.res" << 0 << "opened";
        QTest::newRow("Open, dialog cancelled") << "Open" << discard << "asked";
        QTest::newRow("Open, damaged file") << "undo Open damaged.res" << 0 << "refused";
        QTest::newRow("drop, Discard") << "drop other.res" << discard << "asked, opened";
        QTest::newRow("drop, two files") << "drop item.res other.res" << 0 << "";
        QTest::newRow("close, Cancel") << "close" << int(QMessageBox::Cancel) << "asked";
        QTest::newRow("close, Save") << "close" << save << "asked, saved, closed";
        QTest::newRow("close, Save fails") << "close" << save << "asked, save fails";
    }

    // Open, a dropped file and closing ask before they drop unsaved edits, and go
    // on only once the edits are saved or discarded; a file that cannot be opened
    // or saved leaves the open document, its tree and forms as they were.
    void openOverEdits()
    {
        QFETCH(QString, steps);
        QFETCH(int, answer);
        QFETCH(QString, outcome);
        TestWindow w;
        testres::File damaged;
        damaged.objects.resize(1);
        damaged.objects[0].strings[1] = QByteArray(300, '\0');
        w.writeFile("damaged.res", testres::toBytes(damaged));
        w.writeFile("other.res", testres::toBytes({}));
        const QString path = openSample(w);
        auto *id = valueAt<QLineEdit>(w.form<UiMyPart0>(), 1);
        retype(id, "55");
        QStringList words = steps.split(' ');
        if (words.first() == "undo") {
            QTest::keyClick(id, Qt::Key_Z, Qt::ControlModifier);
            words.removeFirst();
        }
        if (answer)
            w.watcher.buttons << QMessageBox::StandardButton(answer);
        const bool saveFails = outcome.contains("fails");
        if (saveFails)
            QVERIFY(QFile::remove(path) && QDir().mkpath(path));

        QMimeData data;
        for (const QString &name : words.mid(1))
            data.setUrls(data.urls() << QUrl::fromLocalFile(w.dir.filePath(name)));
        const QString file = data.urls().value(0).toLocalFile();
        if (words.first() == "close") {
            w.window.close();
        } else if (words.first() == "drop") {
            // As from a file manager: the window gets the drop once it took the drag.
            QDragEnterEvent enter({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&w.window, &enter);
            QCoreApplication::sendEvent(&w.window, &drop);
        } else {
            w.watcher.files << file;
            w.trigger("Open");
        }

        const QString shown = w.watcher.boxes.value(0).text;
        if (outcome.contains("asked")) {
            QCOMPARE(shown, "Save the changes to " + QDir::toNativeSeparators(path) + '?');
            QCOMPARE(w.watcher.boxes.first().buttons,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            QCOMPARE(w.watcher.boxes.first().defaultButton, QMessageBox::Save);
        } else {
            QCOMPARE(shown,
                    outcome.isEmpty() || outcome == "opened"
                            ? QString()
                            : "Cannot open " + QDir::toNativeSeparators(file)
                                    + ": object 0 at offset 73: String2 length 300 is "
                                      "outside 1 to 254.");
        }
        QCOMPARE(w.watcher.boxes.size(), int(!shown.isNull()) + int(saveFails));
        if (saveFails) {
            const QString failure = w.watcher.boxes.last().text;
            QCOMPARE(failure.section(": ", 0, 0), "Cannot save " + QDir::toNativeSeparators(path));
            QVERIFY2(failure.section(": ", 1).size() > 3, qPrintable(failure));
            QVERIFY(QDir().rmdir(path));
            w.save();
        }
        QCOMPARE(w.window.isVisible(), !outcome.contains("closed"));
        const bool opened = outcome.contains("opened");
        QCOMPARE(w.tree->topLevelItem(0)->text(0), opened ? "other" : "item");
        QCOMPARE(w.window.findChildren<UiMyPart1SubObject *>().size(), opened ? 0 : 3);
        if (!opened)
            QCOMPARE(w.tree->currentItem()->text(0), steps.startsWith("undo") ? "-1" : "55");
        testres::File expected = sampleFile();
        expected.objects[5].id = outcome.contains("save") ? 55 : -1;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }

    // Answered on the terminal before any window appears; a file named there
    // opens as Open opens it (openSample opens its file so).
    void commandLine()
    {
        QProcess drovanel;
        drovanel.start(DROVANEL_EXECUTABLE, { "a.res", "b.res" });
        QVERIFY(drovanel.waitForFinished(30000));
        QCOMPARE(drovanel.exitCode(), 1);
        QVERIFY(drovanel.readAllStandardError().contains("[options] [file]"));
        drovanel.start(DROVANEL_EXECUTABLE, { "--version" });
        QVERIFY(drovanel.waitForFinished(30000));
        QCOMPARE(drovanel.readAllStandardOutput(), "drovanel 1.0\n");
    }

    // Once the user leaves a number field it shows what Save writes, and so does
    // the tree; the object's strings show in their columns as they are typed.
    void leavingANumberField()
    {
        TestWindow w;
        openSample(w);
        QApplication::setActiveWindow(&w.window);
        auto *form = w.form<UiMyPart0>();
        retype(valueAt(form, 2), "剑");
        retype(valueAt(form, 3), "m_sword");
        auto *id = valueAt<QLineEdit>(form, 1);
        // An emptied field keeps the stored -1; "-" alone stores 0.
        for (const QString typed : { "", "007", "-" }) {
            id->setFocus();
            QTRY_VERIFY(id->hasFocus());
            retype(id, typed);
            QCOMPARE(w.node("Pose/1")->text(0), typed);
            valueAt(form, 4)->setFocus();
            const QString shown = typed.isEmpty() ? "-1" : typed == "-" ? "0" : "7";
            QTRY_COMPARE(id->text(), shown);
            QCOMPARE(texts(w.node("Pose/1"), false), (QStringList { shown, "剑", "m_sword" }));
        }
    }

    // The add commands need a type folder or an object row current; else they
    // say so. New entries go at the end of their table, their forms last; a new
    // object goes last in its folder and after the loaded objects in the file.
    void addCommands()
    {
        TestWindow w;
        const QString path = openSample(w);
        for (const QString &step : QString("Pose/1 AddNewObject Objects AddNewObject Map "
                                           "AddSubObjectInPart1 item AddSubObjectInPart2 Pose/1 "
                                           "AddSubObjectInPart1 AddSubObjectInPart2 "
                                           "AddSubObjectInPart2")
                                           .split(' '))
            step.startsWith("Add") ? w.trigger(step) : w.select(step);
        auto *grid = w.form<UiMyPart1SubObject>()->parentWidget()->layout();
        QCOMPARE(static_cast<QGridLayout *>(grid)->itemAtPosition(1, 0)->widget(),
                w.form<UiMyPart1SubObject>(3));
        QCOMPARE(valueAt<QComboBox>(w.form<UiMyPart1SubObject>(3), 0)->currentText(), "MusicID");
        QCOMPARE(valueAt<QComboBox>(w.form<UiMyPart2SubObject>(1), 2)->currentText(), "MaxHp");
        w.select("Pose");
        w.trigger("AddNewObject");
        w.trigger("AddNewObject");
        QCOMPARE(texts(w.node("Pose/3"), false), (QStringList { "-1", "", "" }));
        const QString type = "Please select object type inside the tree, and try again.";
        const QString object = "Please select object ID inside the tree, and try again.";
        QStringList shown;
        for (const ModalWatcher::Box &box : qAsConst(w.watcher.boxes))
            shown << box.text;
        QCOMPARE(shown, (QStringList { type, type, object, object, type }));

        w.save();
        testres::File expected = sampleFile();
        expected.objects[5].part1.append({ 12, 0, 0 });
        const testres::Entry2 entry = { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
        expected.objects[5].part2 << entry << entry;
        expected.objects.append(testres::Object());
        expected.objects.last().objectType = 3;
        expected.objects.last().id = -1;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));

        // A file whose 16-bit count is full takes no more objects.
        testres::File full;
        full.objects.resize(32767);
        w.window.openFile(w.writeFile("full.res", testres::toBytes(full)));
        w.select("Weapon");
        w.trigger("AddNewObject");
        QVERIFY(w.watcher.boxes.last().text.contains("32767"));
        QCOMPARE(w.node("Weapon")->childCount(), 32767);
    }

    // lupdate brings a copy of the .ts in step with the code: a text the .ts lacks
    // comes back unfinished. A translation keeps the placeholders and the menu
    // mnemonic of its source.
    void everyTextTranslated()
    {
        QTemporaryDir dir;
        const QString ts = dir.filePath("drovanel_zh.ts"), sources = DROVANEL_SOURCE_DIR;
        QVERIFY(QFile::copy(DROVANEL_TS_FILE, ts));
        QCOMPARE(QProcess::execute(DROVANEL_LUPDATE,
                         { "-silent", sources + "/document", sources + "/editors", sources + "/app",
                                 "-ts", ts }),
                0);
        const auto marks = [](const QString &text) {
            QStringList found { QString::number(text.count("&amp;")) };
            for (auto it = QRegularExpression("%\\d").globalMatch(text); it.hasNext();)
                found << it.next().captured();
            found.sort();
            return found;
        };
        const QRegularExpression message(
                R"(<source>(.*?)</source>\s*<translation( type=)?[^>]*>(.*?)</translation>)",
                QRegularExpression::DotMatchesEverythingOption);
        QStringList faults;
        int count = 0;
        for (auto it = message.globalMatch(QString::fromUtf8(testres::readAll(ts))); it.hasNext();
                ++count) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength(2) || !match.capturedLength(3)
                    || marks(match.captured(3)) != marks(match.captured(1)))
                faults << match.captured(1);
        }
        QVERIFY2(faults.isEmpty() && count > 80, qPrintable(faults.join(" | ")));
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
