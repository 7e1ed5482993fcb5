// The window as a modder uses it: the tree of an opened file, the three ways to
// open a file, the add commands, and what Save then writes.

#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
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
    }

    // Open, a dropped file and closing ask before they drop unsaved edits; a file
    // that cannot be opened leaves the open document, its tree and forms as they were.
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
        QCOMPARE(w.watcher.boxes.size(), int(!shown.isNull()));
        QCOMPARE(w.window.isVisible(), !outcome.contains("closed"));
        const bool opened = outcome.contains("opened");
        QCOMPARE(w.tree->topLevelItem(0)->text(0), opened ? "other" : "item");
        QCOMPARE(w.window.findChildren<UiMyPart1SubObject *>().size(), opened ? 0 : 3);
        if (!opened)
            QCOMPARE(w.tree->currentItem()->text(0), steps.startsWith("undo") ? "-1" : "55");
        testres::File expected = sampleFile();
        expected.objects[5].id = outcome.contains("saved") ? 55 : -1;
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

    // A failed save says why and keeps the edit for the next save.
    void failedSave()
    {
        TestWindow w;
        const QString path = openSample(w);
        retype(valueAt(w.form<UiMyPart0>(), 1), "55");
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        w.save();
        QCOMPARE(w.watcher.boxes.size(), 1);
        const QString prefix = "Cannot save " + QDir::toNativeSeparators(path) + ": ";
        QVERIFY2(w.watcher.boxes.first().text.startsWith(prefix),
                qPrintable(w.watcher.boxes[0].text));
        QVERIFY(w.watcher.boxes.first().text.size() > prefix.size() + 3);
        QVERIFY(QDir().rmdir(path));
        w.save();
        testres::File expected = sampleFile();
        expected.objects[5].id = 55;
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
