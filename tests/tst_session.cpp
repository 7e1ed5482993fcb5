// A seeded random editing session on the real window, checked step by step
// against the test's own model of what each step does: to the records, to what
// the forms and the tree show, and to the messages. After every save the file
// must hold the model's bytes.
//
// DROVANEL_SESSION_STEPS sets the steps per seed (default 600);
// DROVANEL_SESSION_SEED replays one seed alone.

#include "resbytes.h"
#include "testwindow.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTextCodec>
#include <QtTest>

#include <array>

namespace {

// ---- The promised behaviour, written out for the model ----

const int MaxTextBytes = 253;

// The tree's folders in screen order: their node kinds and the ObjectType each
// one files.
const QVector<int> folderKinds = { 4, 7, 5, 6, 8 };
const QVector<qint32> folderTypes = { 1, 3, 2, 4, 5 };
// The Part2 fields shown in line edits, by their index in an entry, which is
// also their row in the form.
const std::array<int, 9> part2Fields = { 0, 1, 3, 4, 5, 6, 7, 8, 9 };

QByteArray beforeZero(const QByteArray &stored)
{
    const int zero = stored.indexOf('\0');
    return zero < 0 ? stored : stored.left(zero);
}

bool within(uchar byte, uchar low, uchar high)
{
    return byte >= low && byte <= high;
}

// Big5 points minus GB points over every overlapping pair of bytes.
int big5Lean(const QByteArray &text)
{
    int lean = 0;
    for (int i = 0; i + 1 < text.size(); ++i) {
        const uchar lead = uchar(text[i]);
        const uchar trail = uchar(text[i + 1]);
        if (within(lead, 0xA1, 0xFE) && within(trail, 0x40, 0x7E))
            ++lean;
        else if (within(lead, 0xA4, 0xAF) && within(trail, 0xA1, 0xFE))
            ++lean;
        else if (within(lead, 0xC4, 0xD7) && within(trail, 0xA1, 0xFE))
            --lean;
    }
    return lean;
}

QString shownText(const QByteArray &stored)
{
    const QByteArray text = beforeZero(stored);
    return QTextCodec::codecForName(big5Lean(text) > 0 ? "big5" : "gb18030")->toUnicode(text);
}

// Valid UTF-8 is exactly what decodes without a replacement character and
// encodes back to the same bytes.
bool isUtf8(const QByteArray &text)
{
    return QString::fromUtf8(text).toUtf8() == text;
}

QString shownModelName(const QByteArray &stored)
{
    const QByteArray text = beforeZero(stored);
    return isUtf8(text) ? QString::fromUtf8(text) : shownText(text);
}

QByteArray gb18030(const QString &text)
{
    return QTextCodec::codecForName("gb18030")->fromUnicode(text);
}

// The longest prefix of whole characters whose GB18030 bytes fit a string slot.
QString fittingPrefix(const QString &text)
{
    if (gb18030(text).size() <= MaxTextBytes)
        return text;
    int bytes = 0;
    int kept = 0;
    while (kept < text.size()) {
        const int units = text.at(kept).isHighSurrogate() ? 2 : 1;
        bytes += gb18030(text.mid(kept, units)).size();
        if (bytes > MaxTextBytes)
            break;
        kept += units;
    }
    return text.left(kept);
}

// Decimal digits of the scripts the session types, by value.
int digitValue(QChar character)
{
    const ushort code = character.unicode();
    for (ushort zero : { ushort('0'), ushort(0xFF10), ushort(0x0660) }) {
        if (code >= zero && code <= zero + 9)
            return code - zero;
    }
    return -1;
}

QString filtered(const QString &text)
{
    QString digits = text.startsWith('-') ? QStringLiteral("-") : QString();
    for (QChar character : text) {
        if (digitValue(character) >= 0)
            digits += QChar('0' + digitValue(character));
    }
    return digits;
}

// The value a non-empty filtered text stores, as QString::toInt gives it: 0
// when it is no int32.
qint32 valueOf(const QString &digits)
{
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : 0;
}

int indexOrFirst(const QVector<qint32> &values, qint32 value)
{
    return qMax(0, values.indexOf(value));
}

// ---- The model ----

// What the forms show: the object they were built for, the entry shown by
// each type box, and the text of each line edit, in screen order: the
// object's form (its identifier and three strings), then each Part1 entry's
// (Value1, Value2), then each Part2 entry's (nine fields).
struct Forms
{
    int object = -1;
    int part1 = 0;
    int part2 = 0;
    QVector<int> boxes;
    QStringList texts;
};

// A tree node: a structural kind (1 to 8) or an object row (9 and its index).
struct Node
{
    int kind = 0;
    int object = -1;
};

struct Model
{
    testres::File file;
    QByteArray disk;
    // Tree texts of every object's row; an unlisted object's stay unused.
    QVector<std::array<QString, 3>> rows;
    Forms forms;
    Node current;
    QStringList boxes;

    static bool listed(const testres::Object &object)
    {
        return object.objectType >= 1 && object.objectType <= 5;
    }

    void buildTree()
    {
        rows.clear();
        for (const testres::Object &object : file.objects) {
            rows.append({ QString::number(object.id), shownText(object.strings[0]),
                    shownModelName(object.strings[1]) });
            if (!listed(object))
                boxes.append(QStringLiteral("Unknown ObjectType"));
        }
        forms = Forms();
        current = Node();
    }

    void showForms(int index)
    {
        const testres::Object &object = file.objects.at(index);
        forms = { index, object.part1.size(), object.part2.size(),
            { listed(object) ? object.objectType - 1 : 0 },
            { QString::number(object.id), shownText(object.strings[0]),
                    shownModelName(object.strings[1]), shownText(object.strings[2]) } };
        for (const testres::Entry1 &entry : object.part1) {
            forms.boxes << indexOrFirst(Part1TypeValues, entry.type);
            forms.texts << QString::number(entry.value1) << QString::number(entry.value2);
        }
        for (const testres::Entry2 &entry : object.part2) {
            forms.boxes << indexOrFirst(EffectTypeValues, entry[2]);
            for (int k : part2Fields)
                forms.texts << QString::number(entry[k]);
        }
    }

    void select(const Node &node)
    {
        if (node.kind == current.kind && node.object == current.object)
            return;
        current = node;
        if (node.kind == 9)
            showForms(node.object);
    }

    void addObject()
    {
        if (current.kind < 4 || current.kind > 8) {
            boxes.append(SelectTypeHint);
            return;
        }
        testres::Object object;
        object.objectType = folderTypes[folderKinds.indexOf(current.kind)];
        object.id = -1;
        file.objects.append(object);
        if (file.objectCount >= 0)
            ++file.objectCount;
        buildTree();
    }

    void addEntry(int part)
    {
        if (current.kind != 9) {
            boxes.append(SelectObjectHint);
            return;
        }
        testres::Object &object = file.objects[current.object];
        if (part == 1)
            object.part1.append({ 12, 0, 0 });
        else
            object.part2.append({ 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 });
        showForms(current.object);
    }
};

// A field of the shown forms: the object's (entry -1), or one of a Part1 or
// Part2 entry's. For the object, index 0 is EntryTypeTypeID and 1 to 3 the
// strings; for Part1 0 and 1 are Value1 and Value2; for Part2 the line edits
// in row order.
struct Field
{
    int part = 0;
    int entry = -1;
    int index = 0;

    bool isString() const { return part == 0 && index > 0; }
};

QString &shownField(Model &model, const Field &field)
{
    const int first[] = { 0, 4, 4 + 2 * model.forms.part1 };
    const int width[] = { 0, 2, 9 };
    return model.forms.texts[first[field.part] + width[field.part] * field.entry + field.index];
}

qint32 &integerField(Model &model, const Field &field)
{
    testres::Object &object = model.file.objects[model.forms.object];
    if (field.part == 0)
        return object.id;
    if (field.part == 1) {
        testres::Entry1 &entry = object.part1[field.entry];
        return field.index == 0 ? entry.value1 : entry.value2;
    }
    return object.part2[field.entry][part2Fields[field.index]];
}

// The line edit reports text, which differs from what it showed.
void textChanged(Model &model, const Field &field, const QString &text)
{
    QString &shown = shownField(model, field);
    std::array<QString, 3> &row = model.rows[model.forms.object];
    if (!field.isString()) {
        shown = filtered(text);
        if (!shown.isEmpty())
            integerField(model, field) = valueOf(shown);
        if (field.part == 0)
            row[0] = shown;
        return;
    }
    shown = fittingPrefix(text);
    if (!shown.isEmpty())
        model.file.objects[model.forms.object].strings[field.index - 1] =
                testres::stored(gb18030(shown));
    if (field.index < 3)
        row[field.index] = shown;
}

// ---- The window, seen as the user sees it ----

QLineEdit *lineEdit(const TestWindow &w, const Field &field)
{
    if (field.part == 0)
        return valueAt<QLineEdit>(w.form<UiMyPart0>(), field.index + 1);
    if (field.part == 1)
        return valueAt<QLineEdit>(w.form<UiMyPart1SubObject>(field.entry), field.index + 1);
    return valueAt<QLineEdit>(w.form<UiMyPart2SubObject>(field.entry), part2Fields[field.index]);
}

QTreeWidgetItem *treeItem(const TestWindow &w, const Model &model, const Node &node)
{
    QTreeWidgetItem *root = w.tree->topLevelItem(0);
    if (!root || node.kind == 1)
        return root;
    if (node.kind <= 3)
        return root->child(node.kind - 2);
    QTreeWidgetItem *objects = root->child(1);
    if (node.kind <= 8)
        return objects->child(folderKinds.indexOf(node.kind));
    const qint32 type = model.file.objects.at(node.object).objectType;
    int rank = 0;
    for (int i = 0; i < node.object; ++i)
        rank += model.file.objects.at(i).objectType == type;
    return objects->child(folderTypes.indexOf(type))->child(rank);
}

QString elided(const QString &text)
{
    return text.size() <= 60 ? text
                             : text.left(60) + QStringLiteral("... (%1 units)").arg(text.size());
}

// One line per tree row, as the window or the model shows it.
QString rowLine(int folder, int row, const QString &id, const QString &text1, const QString &text2)
{
    return QStringLiteral("folder %1 row %2: %3|%4|%5").arg(folder).arg(row).arg(id, text1, text2);
}

// One line per form field, for the window and the model alike.
QStringList formLines(const Forms &forms)
{
    QStringList lines = { QStringLiteral("forms of %1 objects, %2 Part1 and %3 Part2 entries")
                                  .arg(forms.boxes.size() - forms.part1 - forms.part2)
                                  .arg(forms.part1)
                                  .arg(forms.part2) };
    for (int i = 0; i < forms.boxes.size(); ++i)
        lines << QStringLiteral("type box %1 shows entry %2").arg(i).arg(forms.boxes[i]);
    for (int i = 0; i < forms.texts.size(); ++i)
        lines << QStringLiteral("line edit %1: %2").arg(i).arg(forms.texts[i]);
    return lines;
}

// What the window shows, and every message it has shown.
QStringList windowLines(const TestWindow &w)
{
    QStringList lines;
    for (const ModalWatcher::Box &box : w.watcher.boxes)
        lines << QStringLiteral("message: ") + box.text;
    QTreeWidgetItem *root = w.tree->topLevelItem(0);
    if (w.tree->topLevelItemCount() != 1 || root->childCount() != 2)
        return lines << QStringLiteral("a tree without its file node, Header and Objects");
    lines << QStringLiteral("file node %1 with %2 folders")
                     .arg(root->text(0))
                     .arg(root->child(1)->childCount());
    for (int folder = 0; folder < root->child(1)->childCount(); ++folder) {
        for (int row = 0; row < root->child(1)->child(folder)->childCount(); ++row) {
            const QTreeWidgetItem *item = root->child(1)->child(folder)->child(row);
            lines << rowLine(folder, row, item->text(0), item->text(1), item->text(2));
        }
    }
    const auto objectForms = w.window.findChildren<UiMyPart0 *>();
    const auto part1Forms = w.window.findChildren<UiMyPart1SubObject *>();
    const auto part2Forms = w.window.findChildren<UiMyPart2SubObject *>();
    Forms forms = { objectForms.size() - 1, part1Forms.size(), part2Forms.size(), {}, {} };
    for (UiMyPart0 *form : objectForms) {
        if (valueAt<QComboBox>(form, 0)->isEnabled())
            lines << QStringLiteral("the ObjectType box takes choices");
        forms.boxes << valueAt<QComboBox>(form, 0)->currentIndex();
        for (int row = 1; row <= 4; ++row)
            forms.texts << valueAt<QLineEdit>(form, row)->text();
    }
    for (UiMyPart1SubObject *form : part1Forms) {
        forms.boxes << valueAt<QComboBox>(form, 0)->currentIndex();
        forms.texts << valueAt<QLineEdit>(form, 1)->text() << valueAt<QLineEdit>(form, 2)->text();
    }
    for (UiMyPart2SubObject *form : part2Forms) {
        forms.boxes << valueAt<QComboBox>(form, 2)->currentIndex();
        for (int row : part2Fields)
            forms.texts << valueAt<QLineEdit>(form, row)->text();
    }
    return lines + formLines(forms);
}

// What the model says the window shows.
QStringList modelLines(const Model &model)
{
    QStringList lines;
    for (const QString &box : model.boxes)
        lines << QStringLiteral("message: ") + box;
    lines << QStringLiteral("file node session with 5 folders");
    for (int folder = 0; folder < 5; ++folder) {
        int row = 0;
        for (int i = 0; i < model.file.objects.size(); ++i) {
            if (model.file.objects.at(i).objectType == folderTypes[folder]) {
                const std::array<QString, 3> &texts = model.rows.at(i);
                lines << rowLine(folder, row++, texts[0], texts[1], texts[2]);
            }
        }
    }
    return lines + formLines(model.forms);
}

// ---- Random input ----

QString pick(QRandomGenerator &random, const QString &characters, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += characters.at(random.bounded(characters.size()));
    return text;
}

const QString asciiDigits = "0123456789";
const QString otherDigits = QString::fromUtf8("０１２３４５６７８９٠١٢٣٤٥٦٧٨٩");
const QString letters = "abcdefghijklmnopqrstuvwxyzABCXYZ";
const QString chinese = QString::fromUtf8("中文武器道具地图姿势龍鳳劍裝備藥水");
// Numbers that are not decimal digits, though some have a digit value.
const QString notDigits = QString::fromUtf8("²½ⅣÀ");
const QString beyondBmp = QString::fromUtf8("𠀀𠮷");

QString randomText(QRandomGenerator &random, bool numeric)
{
    switch (random.bounded(numeric ? 7 : 9)) {
    case 0:
    case 1:
        return pick(random, asciiDigits, 1 + random.bounded(4));
    case 2:
        return QStringLiteral("-") + pick(random, asciiDigits, random.bounded(3));
    case 3:
        return pick(random, letters, 1 + random.bounded(3));
    case 4:
        return pick(random, otherDigits, 1 + random.bounded(3));
    case 5:
        return pick(random, notDigits + asciiDigits, 1 + random.bounded(3));
    case 6:
        // Past the int32 range, or a string to be cut back.
        return pick(random, numeric ? asciiDigits : letters + chinese, 10 + random.bounded(300));
    case 7:
        return pick(random, chinese, 1 + random.bounded(6));
    default:
        return beyondBmp.mid(2 * random.bounded(2), 2) + pick(random, letters + chinese, 2);
    }
}

// One input event: a key for a single character of the basic plane, else an
// input method's commit of the whole piece, as when Chinese text is entered.
void deliver(QLineEdit *edit, const QString &piece)
{
    if (piece.size() == 1 && piece.at(0).unicode() < 0x80) {
        QTest::keyClick(edit, piece.at(0).toLatin1());
    } else if (piece.size() == 1) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, piece, Qt::NoModifier);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(piece);
        QCoreApplication::sendEvent(edit, &commit);
    }
}

class Session
{
public:
    explicit Session(quint32 seed)
        : random(seed)
    {
        model.disk = testres::toBytes(testres::generateFile(seed, 10 + int(seed % 6)));
        path = w.writeFile(QStringLiteral("session.res"), model.disk);
    }

    // Runs the steps; returns what went wrong, with the step, or nothing.
    QString run(int steps)
    {
        if (path.isEmpty())
            return QStringLiteral("cannot write the file");
        for (int step = 0; step <= steps; ++step) {
            if (step == 0)
                reopen();
            else if (step == steps)
                save();
            else
                randomStep();
            history.append(description);
            const QString error = check();
            if (!error.isEmpty()) {
                return QStringLiteral("step %1 (%2): %3\nlast steps:\n  %4")
                        .arg(step)
                        .arg(description, error, history.mid(history.size() - 8).join("\n  "));
            }
        }
        return QString();
    }

    QMap<QString, int> counts;

private:
    void randomStep()
    {
        const int roll = random.bounded(100);
        const bool formsShown = model.forms.object >= 0;
        const bool entriesShown = model.forms.part1 > 0 || model.forms.part2 > 0;
        if (roll < 22 || (roll < 72 && !formsShown))
            selectNode(randomNode());
        else if (roll < 62 || (roll < 72 && !entriesShown))
            typeText();
        else if (roll < 72)
            chooseName();
        else if (roll < 78)
            addObject();
        else if (roll < 86)
            addEntry();
        else if (roll < 95)
            save();
        else
            reopen();
        ++counts[description.section(' ', 0, 0)];
    }

    Node randomNode()
    {
        QVector<int> listed;
        for (int i = 0; i < model.file.objects.size(); ++i) {
            if (Model::listed(model.file.objects.at(i)))
                listed.append(i);
        }
        if (!listed.isEmpty() && random.bounded(10) < 6)
            return { 9, listed.at(random.bounded(listed.size())) };
        return { 1 + random.bounded(8), -1 };
    }

    void selectNode(const Node &node)
    {
        description = node.kind == 9 ? QStringLiteral("select object %1").arg(node.object)
                                     : QStringLiteral("select node kind %1").arg(node.kind);
        w.tree->setCurrentItem(treeItem(w, model, node));
        model.select(node);
    }

    Field randomField()
    {
        const Forms &forms = model.forms;
        const int part = random.bounded(3);
        if (part == 1 && forms.part1 > 0)
            return { 1, random.bounded(forms.part1), random.bounded(2) };
        if (part == 2 && forms.part2 > 0)
            return { 2, random.bounded(forms.part2), random.bounded(9) };
        return { 0, -1, random.bounded(4) };
    }

    void typeText()
    {
        const Field field = randomField();
        QLineEdit *edit = lineEdit(w, field);
        const int mode = random.bounded(10);
        const QString text = randomText(random, !field.isString());
        const bool hasSurrogates =
                std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
        const bool byKeys = !hasSurrogates && text.size() <= 12 && random.bounded(2);
        // Mode 0 clears the field, 1 to 3 type over its text, 4 to 9 after it.
        const char *const how[] = { "clear", "over", "over", "over", "after" };
        description = QString::asprintf("type %s field %d.%d.%d \"%s\"%s", how[qMin(mode, 4)],
                field.part, field.entry, field.index,
                qUtf8Printable(mode == 0 ? QString() : elided(text)), byKeys ? " by keys" : "");
        if (mode < 4)
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (mode == 0) {
            QTest::keyClick(edit, Qt::Key_Backspace);
            if (!shownField(model, field).isEmpty())
                textChanged(model, field, QString());
            return;
        }
        bool replacing = mode < 4 && !shownField(model, field).isEmpty();
        const QStringList pieces =
                byKeys ? text.split(QString(), Qt::SkipEmptyParts) : QStringList { text };
        for (const QString &piece : pieces) {
            deliver(edit, piece);
            const QString typed = (replacing ? QString() : shownField(model, field)) + piece;
            replacing = false;
            if (typed != shownField(model, field))
                textChanged(model, field, typed);
        }
    }

    void chooseName()
    {
        const Forms &forms = model.forms;
        const bool part1 = forms.part1 > 0 && (forms.part2 == 0 || random.bounded(2));
        const int entry = random.bounded(part1 ? forms.part1 : forms.part2);
        const QVector<qint32> &values = part1 ? Part1TypeValues : EffectTypeValues;
        const int target = random.bounded(values.size());
        int &shown = model.forms.boxes[1 + (part1 ? 0 : forms.part1) + entry];
        description = QString::asprintf("choose Part%d %d entry %d", part1 ? 1 : 2, entry, target);
        QWidget *box = part1 ? valueAt(w.form<UiMyPart1SubObject>(entry), 0)
                             : valueAt(w.form<UiMyPart2SubObject>(entry), 2);
        for (int i = shown; i != target; i += target > shown ? 1 : -1)
            QTest::keyClick(box, target > shown ? Qt::Key_Down : Qt::Key_Up);
        if (target == shown)
            return;
        shown = target;
        testres::Object &object = model.file.objects[forms.object];
        if (part1)
            object.part1[entry].type = values[target];
        else
            object.part2[entry][2] = values[target];
    }

    void addObject()
    {
        QString folder;
        if (random.bounded(4) != 0) {
            selectNode({ 4 + random.bounded(5), -1 });
            folder = QStringLiteral(" in folder kind %1").arg(model.current.kind);
        }
        description = QStringLiteral("add object") + folder;
        w.trigger(QStringLiteral("AddNewObject"));
        model.addObject();
    }

    void addEntry()
    {
        const int part = 1 + random.bounded(2);
        description = QStringLiteral("add Part%1 entry").arg(part);
        w.trigger(QStringLiteral("AddSubObjectInPart%1").arg(part));
        model.addEntry(part);
    }

    void save()
    {
        description = QStringLiteral("save");
        w.save();
        model.disk = testres::toBytes(model.file);
        saved = true;
    }

    void reopen()
    {
        description = QStringLiteral("reopen");
        w.open(path);
        testres::File loaded;
        if (testres::fromBytes(model.disk, &loaded))
            model.file = loaded;
        model.buildTree();
    }

    QString check()
    {
        if (saved) {
            saved = false;
            const QByteArray disk = testres::readAll(path);
            if (disk != model.disk) {
                const auto from = std::mismatch(
                        disk.begin(), disk.end(), model.disk.begin(), model.disk.end());
                return QStringLiteral("the saved file (%1 bytes) differs from the model's "
                                      "(%2 bytes) from byte %3")
                        .arg(disk.size())
                        .arg(model.disk.size())
                        .arg(from.first - disk.begin());
            }
        }
        const QStringList shown = windowLines(w);
        const QStringList expected = modelLines(model);
        for (int i = 0; i < qMax(shown.size(), expected.size()); ++i) {
            if (shown.value(i) != expected.value(i))
                return QStringLiteral("the window shows \"%1\", the model expects \"%2\"")
                        .arg(elided(shown.value(i)), elided(expected.value(i)));
        }
        return QString();
    }

    QRandomGenerator random;
    TestWindow w;
    QString path;
    Model model;
    bool saved = false;
    QString description;
    QStringList history;
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void session_data();
    void session();
};

void TestSession::session_data()
{
    QTest::addColumn<quint32>("seed");
    const quint32 replay = qEnvironmentVariableIntValue("DROVANEL_SESSION_SEED");
    if (replay != 0) {
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(replay))) << replay;
        return;
    }
    for (quint32 seed : { 11u, 23u, 37u, 41u, 59u })
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestSession::session()
{
    QFETCH(quint32, seed);
    const int steps = qEnvironmentVariableIsSet("DROVANEL_SESSION_STEPS")
            ? qEnvironmentVariableIntValue("DROVANEL_SESSION_STEPS")
            : 600;
    QElapsedTimer clock;
    clock.start();
    Session session(seed);
    const QString error = session.run(steps);
    QVERIFY2(error.isEmpty(),
            qPrintable(QStringLiteral("seed %1, %2\nreplay with DROVANEL_SESSION_SEED=%1")
                               .arg(seed)
                               .arg(error)));
    QStringList counts;
    for (auto count = session.counts.cbegin(); count != session.counts.cend(); ++count)
        counts.append(QStringLiteral("%1 %2").arg(count.value()).arg(count.key()));
    qInfo("seed %u: %d steps in %lld ms (%s)", seed, steps, clock.elapsed(),
            qPrintable(counts.join(", ")));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
