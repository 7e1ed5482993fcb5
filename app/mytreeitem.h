#pragma once

#include "objectrow.h"
#include "recordtext.h"

#include <QTreeWidgetItem>

#include <type_traits>

enum NodeKind {
    RootNode = 1,
    HeaderNode = 2,
    ObjectsNode = 3,
    WeaponFolder = 4,
    ItemFolder = 5,
    VipitemFolder = 6,
    PoseFolder = 7,
    MapFolder = 8,
    ObjectNode = 9,
};

// A tree node that stands for a record of the open document: the document's
// contents for the structural nodes, one object for an object row. The record
// is not owned.
template<typename T>
class MyTreeItem : public QTreeWidgetItem
{
public:
    MyTreeItem(QTreeWidget *view, const QStringList &texts, T *record, int parentKind, int kind)
        : QTreeWidgetItem(view, texts)
        , record(record)
        , parentKind(parentKind)
        , kind(kind)
    {
    }

    MyTreeItem(
            QTreeWidgetItem *parent, const QStringList &texts, T *record, int parentKind, int kind)
        : QTreeWidgetItem(parent, texts)
        , record(record)
        , parentKind(parentKind)
        , kind(kind)
    {
    }

    // An object's row, to be added to its folder later, together with its
    // siblings. It shows the object's texts without holding them (see data()).
    MyTreeItem(T *record, int parentKind, int kind)
        : record(record)
        , parentKind(parentKind)
        , kind(kind)
    {
    }

    // An object's row decodes its identifier, description and model name from
    // the record when the view asks for them, which it does only for the rows
    // it shows: decoding the texts of every object took most of the time of
    // building the tree of a large file, and holding them a tenth of its memory.
    // A text set on the row, as the object's form does after an edit, is shown
    // instead.
    QVariant data(int column, int role) const override
    {
        QVariant value = QTreeWidgetItem::data(column, role);
        if constexpr (std::is_same_v<T, ResObject>) {
            if (!value.isValid() && (role == Qt::DisplayRole || role == Qt::EditRole)) {
                // The folder's record is the file's contents, with the evidence
                // of how its texts are encoded.
                const auto *folder = dynamic_cast<const MyTreeItem<ResStruct> *>(parent());
                const TextEvidence evidence =
                        folder ? textEvidenceOf(*folder->record) : TextEvidence();
                if (column < ObjectRowColumns)
                    return objectRowText(*record, column, evidence);
            }
        }
        return value;
    }

    T *record;
    qint32 parentKind;
    qint32 kind;
};
