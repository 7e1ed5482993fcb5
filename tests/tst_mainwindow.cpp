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
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("undone");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("outcome");
        const int save = QMessageBox::Save, discard = QMessageBox::Discard,
                  cancel = QMessageBox::Cancel;
        const struct
        {
            const char *name, *how;
            bool undone;
            int answer;
            const char *files, *outcome;
        } rows[] = {
            { "Open, Cancel", "Open", false, cancel, "other.res", "asked, kept" },
            { "Open, Discard", "Open", false, discard, "other.res", "asked, opened" },
            { "Open, Save", "Open", false, save, "other.res", "asked, saved, opened" },
            { "Open, edit undone", "Open", true, 0, "other.res", "opened" },
            { "Open, dialog cancelled", "Open", false, discard, "", "asked, kept" },
            { "Open, damaged file", "Open", true, 0, "damaged.res", "refused, kept" },
            { "drop, Discard", "drop", false, discard, "other.res", "asked, opened" },
            { "drop, two files", "drop", false, 0, "item.res other.res", "kept" },
            { "close, Cancel", "close", false, cancel, "", "asked, kept" },
            { "close, Save", "close", false, save, "", "asked, saved, closed" },
        };
        for (const auto &row : rows) {
            QTest::newRow(row.name)
                    << row.how << row.undone << row.answer << row.files << row.outcome;
        }
    }

    // Open, a dropped file and closing ask before they drop unsaved edits; a file
    // that cannot be opened leaves the open document, its tree and forms as they were.
    void openOverEdits()
    {
        QFETCH(QString, how);
        QFETCH(bool, undone);
        QFETCH(int, answer);
        QFETCH(QString, files);
        QFETCH(QString, outcome);
        TestWindow w;
        testres::File damaged;
        damaged.objects.resize(1);
        damaged.objects[0].strings[1] = QByteArray(300, '\0');
        w.writeFile("damaged.res", testres::toBytes(damaged));
        w.writeFile("other.res", testres::toBytes({}));
        const QString path = openSample(w);
        testres::File expected = sampleFile();
        auto *id = valueAt<QLineEdit>(w.form<UiMyPart0>(), 1);
        retype(id, "55");
        if (undone)
            QTest::keyClick(id, Qt::Key_Z, Qt::ControlModifier);
        if (answer)
            w.watcher.buttons.enqueue(QMessageBox::StandardButton(answer));

        QList<QUrl> urls;
        for (const QString &name : files.split(' ', Qt::SkipEmptyParts))
            urls << QUrl::fromLocalFile(w.dir.filePath(name));
        if (how == "close") {
            w.window.close();
        } else if (how == "drop") {
            // As from a file manager: the window gets the drop once it took the drag.
            QMimeData data;
            data.setUrls(urls);
            QDragEnterEvent enter({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop({ 9, 9 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&w.window, &enter);
            QCoreApplication::sendEvent(&w.window, &drop);
        } else {
            w.watcher.files.enqueue(urls.value(0).toLocalFile());
            w.trigger("Open");
        }

        QStringList shown;
        for (const ModalWatcher::Box &box : qAsConst(w.watcher.boxes))
            shown << box.text;
        const QString native = QDir::toNativeSeparators(urls.value(0).toLocalFile());
        QCOMPARE(shown,
                outcome.contains("asked")             ? QStringList { "Save the changes to "
                        + QDir::toNativeSeparators(path) + '?' }
                        : outcome.contains("refused") ? QStringList { "Cannot open " + native
                                  + ": object 0 at offset 73: String2 length 300 "
                                    "is outside 1 to 254." }
                                                      : QStringList());
        if (outcome.contains("asked")) {
            QCOMPARE(w.watcher.boxes.first().buttons,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            QCOMPARE(w.watcher.boxes.first().defaultButton, QMessageBox::Save);
        }
        QCOMPARE(w.window.isVisible(), !outcome.contains("closed"));
        QCOMPARE(w.tree->topLevelItem(0)->text(0), outcome.contains("opened") ? "other" : "item");
        if (outcome.contains("kept")) {
            QCOMPARE(texts(w.tree->currentItem(), false).first(), id->text());
            QCOMPARE(w.window.findChildren<UiMyPart1SubObject *>().size(), 3);
        }
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

    void addCommands_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("message");
        const QString type = "Please select object type inside the tree, and try again.";
        const QString object = "Please select object ID inside the tree, and try again.";
        QTest::newRow("AddNewObject, an object row") << "Pose/1 AddNewObject" << type;
        QTest::newRow("AddNewObject, Objects") << "Objects AddNewObject" << type;
        QTest::newRow("AddNewObject twice") << "Pose AddNewObject AddNewObject" << type;
        QTest::newRow("AddSubObjectInPart1, a folder") << "Map AddSubObjectInPart1" << object;
        QTest::newRow("AddSubObjectInPart2, the file") << "item AddSubObjectInPart2" << object;
        QTest::newRow("entries and an object added")
                << "Pose/1 AddSubObjectInPart1 AddSubObjectInPart2 AddSubObjectInPart2"
                << QString();
    }

    // New entries go at the end of their table, their forms last; new objects go
    // last in their folder and after the loaded objects in the file.
    void addCommands()
    {
        QFETCH(QString, commands);
        QFETCH(QString, message);
        TestWindow w;
        const QString path = openSample(w);
        w.tree->setCurrentItem(nullptr);
        for (const QString &step : commands.split(' '))
            step.startsWith("Add") ? w.trigger(step) : w.select(step);
        QCOMPARE(w.watcher.boxes.value(0).text, message);

        testres::File expected = sampleFile();
        testres::Object added;
        added.objectType = 3;
        added.id = -1;
        if (message.isNull()) {
            auto *part1Grid = qobject_cast<QGridLayout *>(
                    w.form<UiMyPart1SubObject>()->parentWidget()->layout());
            QCOMPARE(part1Grid->itemAtPosition(1, 0)->widget(), w.form<UiMyPart1SubObject>(3));
            QCOMPARE(
                    valueAt<QComboBox>(w.form<UiMyPart1SubObject>(3), 0)->currentText(), "MusicID");
            QCOMPARE(valueAt<QComboBox>(w.form<UiMyPart2SubObject>(1), 2)->currentText(), "MaxHp");
            w.select("Pose");
            w.trigger("AddNewObject");
            QCOMPARE(texts(w.node("Pose/3"), false), (QStringList { "-1", "", "" }));
            expected.objects[5].part1.append({ 12, 0, 0 });
            const testres::Entry2 entry = { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 };
            expected.objects[5].part2 << entry << entry;
            expected.objects.append(added);
        } else if (commands.endsWith("AddNewObject AddNewObject")) {
            expected.objects.append(added);
        }
        w.save();
        QCOMPARE(testres::readAll(path), testres::toBytes(expected));
        if (!message.isNull())
            return;
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
