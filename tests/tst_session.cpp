// A seeded random editing session on the real window, checked step by step
// against the test's own model of what each step does: to the records, to what
// the forms and the tree show, and to the messages. After every save the file
// must hold the model's bytes.
//
// DROVANEL_SESSION_STEPS sets the steps per seed (default 600);
// DROVANEL_SESSION_SEED replays one seed alone.

#include "drovanel.h"
#include "modalwatcher.h"
#include "resbytes.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTreeWidget>
#include <QtTest>

#include <array>

namespace {

// ---- The promised behaviour, written out for the model ----

const int MaxTextBytes = 253;

// The tree's folders in screen order, with the ObjectType each one files.
const std::array<qint32, 5> folderTypes = { 1, 3, 2, 4, 5 };
const QStringList folderNames = { "Weapon", "Pose", "Item", "Vipitem", "Map" };
const QStringList objectTypeNames = { "Weapon", "Item", "Pose", "VipItem", "Map" };
const QVector<qint32> part1Types = { 1, 2, 8, 11, 12, 13, 14, 15, 16, 17, 18 };
const QVector<qint32> effectTypes = { 1, 2, 3, 4, 5, 6, 10 };
// The Part2 fields shown in line edits, by label, with their index in an entry.
const QStringList part2Labels = { "unknown2", "unknown3", "cycle", "actionType", "unknonw6",
    "typeValue", "unknown8", "unknown9", "unknown10" };
const std::array<int, 9> part2Fields = { 0, 1, 3, 4, 5, 6, 7, 8, 9 };

const QString selectTypeHint = "Please select object type inside the tree, and try again.";
const QString selectObjectHint = "Please select object ID inside the tree, and try again.";
const QString unknownTypeWarning = "Unknown ObjectType";

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

bool isUtf8(const QByteArray &text)
{
    for (int i = 0; i < text.size();) {
        const uchar lead = uchar(text[i]);
        int length = 1;
        uint code = lead;
        if (lead >= 0xC0 && lead < 0xE0) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            length = 4;
            code = lead & 0x07;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const uchar next = uchar(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const uint smallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
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

// The value a non-empty filtered text stores: 0 when it is no int32.
qint32 valueOf(const QString &digits)
{
    const bool negative = digits.startsWith('-');
    qint64 magnitude = 0;
    for (QChar digit : negative ? digits.mid(1) : digits) {
        magnitude = magnitude * 10 + (digit.unicode() - '0');
        if (magnitude > qint64(1) << 32)
            return 0;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    return value < INT32_MIN || value > INT32_MAX ? 0 : qint32(value);
}

int indexOrFirst(const QVector<qint32> &values, qint32 value)
{
    return qMax(0, values.indexOf(value));
}

// ---- The model ----

struct ShownPart1
{
    int typeIndex;
    QString value1, value2;
};

struct ShownPart2
{
    int effectIndex;
    std::array<QString, 9> fields;
};

// What the forms show: the object they were built for, and each field's text.
struct Forms
{
    int object = -1;
    int typeIndex = 0;
    QString id;
    std::array<QString, 3> strings;
    QVector<ShownPart1> part1;
    QVector<ShownPart2> part2;
};

// A tree node: a structural kind (1 to 8) or an object row (9 and its index).
struct Node
{
    int kind = 0;
    int object = -1;
    bool operator==(const Node &other) const
    {
        return kind == other.kind && object == other.object;
    }
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
                boxes.append(unknownTypeWarning);
        }
        forms = Forms();
        current = Node();
    }

    void showForms(int index)
    {
        const testres::Object &object = file.objects.at(index);
        forms = Forms();
        forms.object = index;
        forms.typeIndex =
                object.objectType >= 1 && object.objectType <= 5 ? object.objectType - 1 : 0;
        forms.id = QString::number(object.id);
        forms.strings = { shownText(object.strings[0]), shownModelName(object.strings[1]),
            shownText(object.strings[2]) };
        for (const testres::Entry1 &entry : object.part1) {
            forms.part1.append({ indexOrFirst(part1Types, entry.type),
                    QString::number(entry.value1), QString::number(entry.value2) });
        }
        for (const testres::Entry2 &entry : object.part2) {
            ShownPart2 shown;
            shown.effectIndex = indexOrFirst(effectTypes, entry[2]);
            for (int k = 0; k < 9; ++k)
                shown.fields[k] = QString::number(entry[part2Fields[k]]);
            forms.part2.append(shown);
        }
    }

    void select(const Node &node)
    {
        if (node == current)
            return;
        current = node;
        if (node.kind == 9)
            showForms(node.object);
    }

    void addObject()
    {
        if (current.kind < 4 || current.kind > 8) {
            boxes.append(selectTypeHint);
            return;
        }
        const int folder = QVector<int> { 4, 7, 5, 6, 8 }.indexOf(current.kind);
        testres::Object object;
        object.objectType = folderTypes[folder];
        object.id = -1;
        file.objects.append(object);
        if (file.objectCount >= 0)
            ++file.objectCount;
        buildTree();
    }

    void addEntry(int part)
    {
        if (current.kind != 9) {
            boxes.append(selectObjectHint);
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
    Forms &forms = model.forms;
    if (field.part == 0)
        return field.index == 0 ? forms.id : forms.strings[field.index - 1];
    if (field.part == 1) {
        ShownPart1 &shown = forms.part1[field.entry];
        return field.index == 0 ? shown.value1 : shown.value2;
    }
    return forms.part2[field.entry].fields[field.index];
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

QAction *action(QWidget &window, const QString &text)
{
    for (QAction *candidate : window.findChildren<QAction *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QWidget *valueWidget(QWidget *form, const QString &label)
{
    auto *grid = qobject_cast<QGridLayout *>(form->layout());
    for (int row = 0; grid && row < grid->rowCount(); ++row) {
        QLayoutItem *caption = grid->itemAtPosition(row, 0);
        auto *captionLabel = caption ? qobject_cast<QLabel *>(caption->widget()) : nullptr;
        if (captionLabel && captionLabel->text() == label)
            return grid->itemAtPosition(row, 1)->widget();
    }
    return nullptr;
}

QLineEdit *lineEdit(QWidget &window, const Field &field)
{
    static const QStringList objectLabels = { "EntryTypeTypeID", "String1", "String2", "String3" };
    QWidget *widget = nullptr;
    if (field.part == 0)
        widget = valueWidget(window.findChild<UiMyPart0 *>(), objectLabels[field.index]);
    else if (field.part == 1)
        widget = valueWidget(window.findChildren<UiMyPart1SubObject *>().value(field.entry),
                field.index == 0 ? "Value1" : "Value2");
    else
        widget = valueWidget(window.findChildren<UiMyPart2SubObject *>().value(field.entry),
                part2Labels[field.index]);
    return qobject_cast<QLineEdit *>(widget);
}

QTreeWidgetItem *treeItem(QTreeWidget *tree, const Model &model, const Node &node)
{
    QTreeWidgetItem *root = tree->topLevelItem(0);
    if (!root || node.kind == 1)
        return root;
    if (node.kind <= 3)
        return root->child(node.kind - 2);
    QTreeWidgetItem *objects = root->child(1);
    if (node.kind <= 8)
        return objects->child(QVector<int> { 4, 7, 5, 6, 8 }.indexOf(node.kind));
    const qint32 type = model.file.objects.at(node.object).objectType;
    int rank = 0;
    for (int i = 0; i < node.object; ++i)
        rank += model.file.objects.at(i).objectType == type;
    return objects
            ->child(int(
                    std::find(folderTypes.begin(), folderTypes.end(), type) - folderTypes.begin()))
            ->child(rank);
}

QString elided(const QString &text)
{
    return text.size() <= 40 ? text
                             : text.left(40) + QStringLiteral("... (%1 units)").arg(text.size());
}

QString compare(const QString &what, const QString &shown, const QString &expected)
{
    if (shown == expected)
        return QString();
    return QStringLiteral("%1 shows \"%2\", the model expects \"%3\"")
            .arg(what, elided(shown), elided(expected));
}

QString checkTree(QTreeWidget *tree, const Model &model)
{
    QTreeWidgetItem *root = tree->topLevelItem(0);
    if (tree->topLevelItemCount() != 1 || root->childCount() != 2
            || root->child(1)->childCount() != 5)
        return QStringLiteral("the tree lost its shape");
    QString error = compare("the file node", root->text(0), "session");
    for (int folder = 0; folder < 5 && error.isEmpty(); ++folder) {
        QTreeWidgetItem *item = root->child(1)->child(folder);
        int row = 0;
        for (int i = 0; i < model.file.objects.size() && error.isEmpty(); ++i) {
            if (model.file.objects.at(i).objectType != folderTypes[folder])
                continue;
            if (row >= item->childCount())
                return QStringLiteral("folder %1 lacks the row of object %2").arg(folder).arg(i);
            for (int column = 0; column < 3 && error.isEmpty(); ++column) {
                error = compare(QStringLiteral("column %1 of object %2's row").arg(column).arg(i),
                        item->child(row)->text(column), model.rows.at(i)[column]);
            }
            ++row;
        }
        if (error.isEmpty() && row != item->childCount())
            error = QStringLiteral("folder %1 has %2 rows, the model %3")
                            .arg(folderNames[folder])
                            .arg(item->childCount())
                            .arg(row);
    }
    return error;
}

QString checkForms(QWidget &window, const Model &model)
{
    const QList<UiMyPart0 *> objectForms = window.findChildren<UiMyPart0 *>();
    const QList<UiMyPart1SubObject *> part1Forms = window.findChildren<UiMyPart1SubObject *>();
    const QList<UiMyPart2SubObject *> part2Forms = window.findChildren<UiMyPart2SubObject *>();
    const Forms &forms = model.forms;
    if (forms.object < 0) {
        return objectForms.isEmpty() && part1Forms.isEmpty() && part2Forms.isEmpty()
                ? QString()
                : QStringLiteral("forms are shown where the model has none");
    }
    if (objectForms.size() != 1 || part1Forms.size() != forms.part1.size()
            || part2Forms.size() != forms.part2.size())
        return QStringLiteral("%1 object, %2 Part1 and %3 Part2 forms shown; the model has 1, "
                              "%4 and %5")
                .arg(objectForms.size())
                .arg(part1Forms.size())
                .arg(part2Forms.size())
                .arg(forms.part1.size())
                .arg(forms.part2.size());

    auto *typeBox = qobject_cast<QComboBox *>(valueWidget(objectForms.first(), "ObjectType"));
    if (typeBox->isEnabled())
        return QStringLiteral("the ObjectType box takes choices");
    QString error = compare("ObjectType", typeBox->currentText(), objectTypeNames[forms.typeIndex]);
    for (int k = 0; k < 4 && error.isEmpty(); ++k) {
        const QString &expected = k == 0 ? forms.id : forms.strings[k - 1];
        error = compare(QStringLiteral("object field %1").arg(k),
                lineEdit(window, { 0, -1, k })->text(), expected);
    }
    for (int j = 0; j < forms.part1.size() && error.isEmpty(); ++j) {
        auto *box = qobject_cast<QComboBox *>(valueWidget(part1Forms.at(j), "Type"));
        error = compare(QStringLiteral("Part1 %1 Type").arg(j),
                QString::number(box->currentIndex()), QString::number(forms.part1[j].typeIndex));
        for (int k = 0; k < 2 && error.isEmpty(); ++k) {
            error = compare(QStringLiteral("Part1 %1 Value%2").arg(j).arg(k + 1),
                    lineEdit(window, { 1, j, k })->text(),
                    k == 0 ? forms.part1[j].value1 : forms.part1[j].value2);
        }
    }
    for (int j = 0; j < forms.part2.size() && error.isEmpty(); ++j) {
        auto *box = qobject_cast<QComboBox *>(valueWidget(part2Forms.at(j), "effectType"));
        error = compare(QStringLiteral("Part2 %1 effectType").arg(j),
                QString::number(box->currentIndex()), QString::number(forms.part2[j].effectIndex));
        for (int k = 0; k < 9 && error.isEmpty(); ++k) {
            error = compare(QStringLiteral("Part2 %1 %2").arg(j).arg(part2Labels[k]),
                    lineEdit(window, { 2, j, k })->text(), forms.part2[j].fields[k]);
        }
    }
    return error;
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
    Session(quint32 seed, const QString &path)
        : random(seed)
        , path(path)
        , tree(window.findChild<QTreeWidget *>())
    {
        model.disk = testres::toBytes(testres::generateFile(seed, 10 + int(seed % 6)));
    }

    // Runs the steps; returns what went wrong, with the step, or nothing.
    QString run(int steps)
    {
        if (!testres::writeFile(path, model.disk))
            return QStringLiteral("cannot write %1").arg(path);
        for (step = 0; step <= steps; ++step) {
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
        const bool entriesShown = !model.forms.part1.isEmpty() || !model.forms.part2.isEmpty();
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

    QVector<int> listedObjects() const
    {
        QVector<int> listed;
        for (int i = 0; i < model.file.objects.size(); ++i) {
            if (Model::listed(model.file.objects.at(i)))
                listed.append(i);
        }
        return listed;
    }

    Node randomNode()
    {
        const QVector<int> listed = listedObjects();
        if (!listed.isEmpty() && random.bounded(10) < 6)
            return { 9, listed.at(random.bounded(listed.size())) };
        return { 1 + random.bounded(8), -1 };
    }

    void selectNode(const Node &node)
    {
        description = node.kind == 9 ? QStringLiteral("select object %1").arg(node.object)
                                     : QStringLiteral("select node kind %1").arg(node.kind);
        tree->setCurrentItem(treeItem(tree, model, node));
        model.select(node);
    }

    Field randomField()
    {
        const Forms &forms = model.forms;
        const int part = random.bounded(3);
        if (part == 1 && !forms.part1.isEmpty())
            return { 1, random.bounded(forms.part1.size()), random.bounded(2) };
        if (part == 2 && !forms.part2.isEmpty())
            return { 2, random.bounded(forms.part2.size()), random.bounded(9) };
        return { 0, -1, random.bounded(4) };
    }

    void typeText()
    {
        const Field field = randomField();
        QLineEdit *edit = lineEdit(window, field);
        const int mode = random.bounded(10);
        const QString text = randomText(random, !field.isString());
        const bool hasSurrogates =
                std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
        const bool byKeys = !hasSurrogates && text.size() <= 12 && random.bounded(2);
        description = QStringLiteral("type %1 field %2.%3.%4 \"%5\"%6")
                              .arg(mode == 0             ? "clear"
                                              : mode < 4 ? "over"
                                                         : "after")
                              .arg(field.part)
                              .arg(field.entry)
                              .arg(field.index)
                              .arg(mode == 0 ? QString() : elided(text))
                              .arg(byKeys ? " by keys" : "");
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
        const bool part1 = !forms.part1.isEmpty() && (forms.part2.isEmpty() || random.bounded(2));
        const int entry = random.bounded(part1 ? forms.part1.size() : forms.part2.size());
        const QVector<qint32> &values = part1 ? part1Types : effectTypes;
        const int target = random.bounded(values.size());
        int &shown =
                part1 ? model.forms.part1[entry].typeIndex : model.forms.part2[entry].effectIndex;
        description = QStringLiteral("choose Part%1 %2 entry %3")
                              .arg(part1 ? 1 : 2)
                              .arg(entry)
                              .arg(target);
        QWidget *form = part1
                ? static_cast<QWidget *>(window.findChildren<UiMyPart1SubObject *>().value(entry))
                : window.findChildren<UiMyPart2SubObject *>().value(entry);
        QWidget *box = valueWidget(form, part1 ? "Type" : "effectType");
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
        action(window, QStringLiteral("AddNewObject"))->trigger();
        model.addObject();
    }

    void addEntry()
    {
        const int part = 1 + random.bounded(2);
        description = QStringLiteral("add Part%1 entry").arg(part);
        action(window, QStringLiteral("AddSubObjectInPart%1").arg(part))->trigger();
        model.addEntry(part);
    }

    void save()
    {
        description = QStringLiteral("save");
        action(window, QStringLiteral("Save"))->trigger();
        model.disk = testres::toBytes(model.file);
        saved = true;
    }

    void reopen()
    {
        description = QStringLiteral("reopen");
        watcher.queueFile(path);
        action(window, QStringLiteral("Open"))->trigger();
        testres::File loaded;
        if (testres::fromBytes(model.disk, &loaded))
            model.file = loaded;
        model.buildTree();
    }

    QString check()
    {
        QStringList shownBoxes;
        for (const ModalWatcher::Box &box : watcher.boxes)
            shownBoxes.append(box.text);
        if (shownBoxes != model.boxes) {
            return QStringLiteral("messages shown: \"%1\"; the model expects \"%2\"")
                    .arg(shownBoxes.mid(checkedBoxes).join("\", \""),
                            model.boxes.mid(checkedBoxes).join("\", \""));
        }
        checkedBoxes = shownBoxes.size();
        if (saved) {
            saved = false;
            const QByteArray disk = testres::readAll(path);
            if (disk != model.disk) {
                return QStringLiteral("the saved file (%1 bytes) differs from the model's "
                                      "(%2 bytes) from byte %3")
                        .arg(disk.size())
                        .arg(model.disk.size())
                        .arg(firstDifference(disk, model.disk));
            }
        }
        const QString error = checkForms(window, model);
        return error.isEmpty() ? checkTree(tree, model) : error;
    }

    static int firstDifference(const QByteArray &a, const QByteArray &b)
    {
        int i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i])
            ++i;
        return i;
    }

    QRandomGenerator random;
    QString path;
    Drovanel window;
    ModalWatcher watcher;
    QTreeWidget *tree;
    Model model;
    int step = 0;
    int checkedBoxes = 0;
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
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    Session session(seed, dir.filePath(QStringLiteral("session.res")));
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
