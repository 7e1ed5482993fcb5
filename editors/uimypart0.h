#pragma once

#include "formfields.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

// The main window's object tree, set while the window exists.
extern QTreeWidget *g_objectTree;

// The form of one object: its type, identifier and three strings. Every change
// is written into the record at once, and the object's tree row follows the
// identifier and the first two strings. A string whose field holds again the
// text it showed at first gets back the bytes it had then.
class UiMyPart0 : public QWidget
{
    Q_OBJECT

public:
    // The strings are shown as the file with that evidence shows them.
    UiMyPart0(QWidget *parent, ResObject *record, const TextEvidence &evidence = {});

private:
    void onEntryTypeTypeIDChanged(const QString &text);
    void onString1Changed(const QString &text);
    void onString2Changed(const QString &text);
    void onString3Changed(const QString &text);
    // Stores the text of the string at that place of StringFields.
    void storeString(int string, const QString &text);
    void setRowText(int column, const QString &text);

    // The row of a string: its label and field, and the string as the form
    // found it with the text it showed for it.
    struct StringRow
    {
        FieldLabel label;
        QLineEdit edit;
        ResString original;
        QString originalText;
    };

    ResObject *record;
    // The host builds the form when the object's row becomes the tree's current
    // item, so the row current at construction is the object's own; later the
    // user may select a folder while the form stays shown.
    QTreeWidgetItem *row;
    QGridLayout layout;
    FieldLabel objectTypeLabel;
    FieldLabel entryTypeTypeIDLabel;
    ChoiceBox objectTypeBox;
    IntegerEdit entryTypeTypeIDEdit;
    // String1, String2 and String3, as StringFields lists them.
    std::array<StringRow, std::size(StringFields)> strings;
};
