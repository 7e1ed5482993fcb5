#pragma once

#include <QTreeWidgetItem>

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

    // A node to be added to its parent later, together with its siblings.
    MyTreeItem(const QStringList &texts, T *record, int parentKind, int kind)
        : QTreeWidgetItem(texts)
        , record(record)
        , parentKind(parentKind)
        , kind(kind)
    {
    }

    T *record;
    qint32 parentKind;
    qint32 kind;
};
