#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString QmName = QStringLiteral("drovanel_zh.qm");

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type;
};

QVector<Message> readTs(const QString &path)
{
    QFile file(path);
    QVector<Message> messages;
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringRef name = xml.name();
        if (xml.isEndElement() && name == QLatin1String("message")) {
            messages.append(message);
        } else if (!xml.isStartElement()) {
            continue;
        } else if (name == QLatin1String("name")) {
            message.context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText();
        }
    }
    return xml.hasError() ? QVector<Message>() : messages;
}

QSet<QString> keys(const QVector<Message> &messages)
{
    QSet<QString> result;
    for (const Message &message : messages)
        result.insert(message.context + QLatin1String(" | ") + message.source);
    return result;
}

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> result;
    auto match = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
    while (match.hasNext())
        result.insert(match.next().captured());
    return result;
}

// Starts the interface as main() does: the translation is loaded by file name,
// so from the working directory, which is an empty directory of the test's own,
// holding the built translation or not.
class StartUp
{
public:
    explicit StartUp(bool translationInWorkingDirectory)
        : previousDirectory(QDir::currentPath())
    {
        if (translationInWorkingDirectory)
            QFile::copy(QStringLiteral(DROVANEL_QM_FILE), directory.filePath(QmName));
        QDir::setCurrent(directory.path());
        loaded = translator.load(QmName);
        QCoreApplication::installTranslator(&translator);
    }
    ~StartUp()
    {
        QCoreApplication::removeTranslator(&translator);
        QDir::setCurrent(previousDirectory);
    }

    bool loaded;

private:
    QString previousDirectory;
    QTemporaryDir directory;
    QTranslator translator;
};

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTextTranslated();
    void everyTrTextHasAnEntry();
    void interfaceLanguage_data();
    void interfaceLanguage();
    void valueNames_data();
    void valueNames();
    void addCommandHintsInChinese();

private:
    // The translation the .ts gives, or the source text itself when chinese is false.
    QString shown(bool chinese, const QString &context, const QString &source) const;

    QVector<Message> messages;
    QHash<QString, QString> translations;
};

void TestTranslation::initTestCase()
{
    messages = readTs(QStringLiteral(DROVANEL_TS_FILE));
    QVERIFY2(!messages.isEmpty(), "the .ts file is missing or not well-formed");
    for (const Message &message : messages)
        translations.insert(
                message.context + QLatin1String(" | ") + message.source, message.translation);
}

QString TestTranslation::shown(bool chinese, const QString &context, const QString &source) const
{
    return chinese ? translations.value(context + QLatin1String(" | ") + source) : source;
}

void TestTranslation::everyTextTranslated()
{
    QStringList faults;
    for (const Message &message : messages) {
        const QString where =
                message.context + QLatin1String(" \"") + message.source + QLatin1String("\": ");
        if (!message.type.isEmpty())
            faults << where + message.type;
        else if (message.translation.trimmed().isEmpty())
            faults << where + QLatin1String("empty translation");
        else if (placeholders(message.translation) != placeholders(message.source))
            faults << where + QLatin1String("placeholders differ");
        else if (QKeySequence::mnemonic(message.translation)
                != QKeySequence::mnemonic(message.source))
            faults << where + QLatin1String("mnemonic differs");
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestTranslation::everyTrTextHasAnEntry()
{
    QTemporaryDir scratch;
    const QString fresh = scratch.filePath(QStringLiteral("fresh_zh.ts"));
    const QString sources = QStringLiteral(DROVANEL_SOURCE_DIR);
    QProcess lupdate;
    lupdate.start(QStringLiteral(DROVANEL_LUPDATE),
            { QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                    sources + QLatin1String("/document"), sources + QLatin1String("/editors"),
                    sources + QLatin1String("/app"), QStringLiteral("-ts"), fresh });
    QVERIFY2(lupdate.waitForFinished(60000), "lupdate did not finish");
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
            lupdate.readAllStandardError().constData());

    const QSet<QString> inCode = keys(readTs(fresh));
    const QSet<QString> inTs = keys(messages);
    QVERIFY(!inCode.isEmpty());
    QStringList missing = QSet<QString>(inCode).subtract(inTs).values();
    QStringList stale = QSet<QString>(inTs).subtract(inCode).values();
    missing.sort();
    stale.sort();
    QVERIFY2(missing.isEmpty() && stale.isEmpty(),
            qPrintable(QLatin1String("not in the .ts: ") + missing.join(QLatin1String("; "))
                    + QLatin1String("\nno longer in the code: ")
                    + stale.join(QLatin1String("; "))));
}

void TestTranslation::interfaceLanguage_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::newRow("translation in the working directory: Chinese") << true;
    QTest::newRow("translation only beside the executable: English") << false;
}

void TestTranslation::interfaceLanguage()
{
    QFETCH(bool, inWorkingDirectory);
    // The test runs from the build directory, beside drovanel and its translation.
    QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + QLatin1Char('/') + QmName));
    StartUp startUp(inWorkingDirectory);
    QCOMPARE(startUp.loaded, inWorkingDirectory);
    const bool chinese = inWorkingDirectory;

    TestWindow w;
    w.open(w.writeFile(
            QStringLiteral("items.res"), testres::toBytes(testres::generateFile(5, 5, false))));
    QVERIFY(w.watcher.boxes.isEmpty());
    const QList<QAction *> menus = w.window.menuBar()->actions();
    QCOMPARE(menus.size(), 3);

    QStringList texts { w.window.windowTitle() };
    for (QAction *menu : menus) {
        texts << menu->text();
        for (QAction *action : menu->menu()->actions())
            texts << action->text();
    }
    QTreeWidgetItem *header = w.tree->headerItem();
    for (int column = 0; column < header->columnCount(); ++column)
        texts << header->text(column);
    for (QGroupBox *box : w.window.findChildren<QGroupBox *>())
        texts << box->title();
    QTreeWidgetItem *fileNode = w.tree->topLevelItem(0);
    QCOMPARE(fileNode->childCount(), 2);
    texts << fileNode->child(0)->text(0) << fileNode->child(1)->text(0);
    for (int i = 0; i < fileNode->child(1)->childCount(); ++i)
        texts << fileNode->child(1)->child(i)->text(0);

    const QStringList sources { "Drovanel 1.0", "&File", "Open", "Save", "&Main", "AddNewObject",
        "&CurrentObject", "AddSubObjectInPart1", "AddSubObjectInPart2", "Path", "Description",
        "ModelName", "Part1", "Part2", "Header", "Objects", "Weapon", "Pose", "Item", "Vipitem",
        "Map" };
    QStringList expected;
    for (const QString &source : sources) {
        const QString text = shown(chinese, QStringLiteral("Drovanel"), source);
        QVERIFY2(text != source || !chinese, qPrintable(source + " is not translated"));
        expected << text;
    }
    QCOMPARE(texts, expected);

    // Alt with the mnemonic letter opens each menu, in either language.
    w.window.show();
    const Qt::Key letters[] = { Qt::Key_F, Qt::Key_M, Qt::Key_C };
    for (int i = 0; i < 3; ++i) {
        // The offscreen platform does not hand the activation back from a closed menu.
        QApplication::setActiveWindow(&w.window);
        w.tree->setFocus();
        QTest::keyClick(&w.window, letters[i], Qt::AltModifier);
        QCOMPARE(QApplication::activePopupWidget(), menus.at(i)->menu());
        QTest::keyClick(menus.at(i)->menu(), Qt::Key_Escape);
        QVERIFY(!QApplication::activePopupWidget());
    }
}

void TestTranslation::valueNames_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVector<qint32>>("values");
    for (const bool chinese : { false, true }) {
        const char *language = chinese ? "Chinese" : "English";
        QTest::addRow("object types in %s", language)
                << chinese << "UiMyPart0" << ObjectTypeNames << QVector<qint32> { 1, 2, 3, 4, 5 };
        QTest::addRow("Part1 types in %s", language)
                << chinese << "UiMyPart1SubObject" << Part1TypeNames << Part1TypeValues;
        QTest::addRow("Part2 effect types in %s", language)
                << chinese << "UiMyPart2SubObject" << EffectTypeNames << EffectTypeValues;
    }
}

void TestTranslation::valueNames()
{
    QFETCH(bool, chinese);
    QFETCH(QString, form);
    QFETCH(QStringList, names);
    QFETCH(QVector<qint32>, values);
    StartUp startUp(chinese);
    QStringList expected;
    for (const QString &name : names)
        expected << shown(chinese, form, name);

    ResObject object;
    Part1SubObject part1 {};
    Part2SubObject part2 {};
    qint32 &field = form == "UiMyPart0"    ? object.ObjectType
            : form == "UiMyPart1SubObject" ? part1.Type
                                           : part2.effectType;
    // A new form, named by its translation context, over the records above.
    QWidget parent;
    const auto newBox = [&]() {
        QWidget *editor = form == "UiMyPart0"
                ? static_cast<QWidget *>(new UiMyPart0(&parent, &object))
                : form == "UiMyPart1SubObject"
                ? static_cast<QWidget *>(new UiMyPart1SubObject(&parent, &part1))
                : new UiMyPart2SubObject(&parent, &part2);
        return editor->findChild<QComboBox *>();
    };

    // Each value is shown under its own name: the form selects it by that name.
    for (int i = 0; i < values.size(); ++i) {
        field = values.at(i);
        QComboBox *box = newBox();
        QStringList items;
        for (int item = 0; item < box->count(); ++item)
            items << box->itemText(item);
        QCOMPARE(items, expected);
        QCOMPARE(box->currentIndex(), i);
    }
    if (form == "UiMyPart0")
        return; // the object type is not changed from its form

    // Choosing each entry, from the first down, stores its value.
    QComboBox *box = newBox();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), expected.at(i));
        QCOMPARE(field, values.at(i));
    }
}

void TestTranslation::addCommandHintsInChinese()
{
    StartUp startUp(true);
    QVERIFY(startUp.loaded);
    TestWindow w;
    w.trigger(QStringLiteral("AddNewObject"));
    w.trigger(QStringLiteral("AddSubObjectInPart1"));
    w.trigger(QStringLiteral("AddSubObjectInPart2"));

    const QString typeHint = shown(true, QStringLiteral("Drovanel"), SelectTypeHint);
    const QString idHint = shown(true, QStringLiteral("Drovanel"), SelectObjectHint);
    QStringList boxTexts;
    for (const ModalWatcher::Box &box : w.watcher.boxes)
        boxTexts << box.text;
    QCOMPARE(boxTexts, (QStringList { typeHint, idHint, idHint }));
    QVERIFY(!typeHint.contains(QLatin1String("Please")));

#if DROVANEL_QT_TEXTS_MERGED
    // Qt's own texts, such as the boxes' OK button, come with the translation.
    QVERIFY(QCoreApplication::translate("QPlatformTheme", "OK") != QLatin1String("OK"));
#endif
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
