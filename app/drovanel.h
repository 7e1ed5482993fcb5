#pragma once

#include "entryformarea.h"
#include "mytreeitem.h"
#include "resrecords.h"

#include <QGroupBox>
#include <QMainWindow>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QVector>

#include <memory>

class QAction;
class ResDocument;
class UiMyPart0;
class UiMyPart1SubObject;
class UiMyPart2SubObject;

// The main window: the object tree on the left, the forms of the selected object
// on the right, and the commands that open, save and add records.
class Drovanel : public QMainWindow
{
    Q_OBJECT

public:
    Drovanel();
    ~Drovanel() override;

    // Opens path as the Open command does once a file is chosen; a refused file
    // leaves the open document as it was and says why.
    void openFile(const QString &path);

protected:
    // Closing asks first whether to save unsaved edits.
    void closeEvent(QCloseEvent *event) override;
    // One local file dropped on the window is opened as Open would open it.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void onOpen(bool checked);
    void onSave(bool checked);
    // Saves, asking first whether to overwrite a file that changed on disk since
    // it was read or written; false when the user cancels, or the save failed.
    bool saveDocument();
    bool confirmOverwrite();
    // Asks whether to save the document when it holds unsaved edits; false when
    // the user cancels, or the save failed.
    bool maybeSave();
    void onAddNewObject(bool checked);
    void onAddSubObjectInPart1(bool checked);
    void onAddSubObjectInPart2(bool checked);
    void setupLayout();
    void buildTree(const QString &path);
    void clearEditorsAndTree();
    void onCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void closeDocument();
    void warnCannotOpen(const QString &path, const QString &reason);
    ResObject *selectedObject();
    void rebuildEditors();
    // Leaves every entry form writing nowhere, before a table it shows may move.
    void releaseForms();

    bool documentLoaded = false;
    // Declared before the widgets so that it is destroyed after the editors and
    // tree items that point into its records.
    std::unique_ptr<ResDocument> document;
    QAction *openAction;
    QAction *saveAction;
    QAction *addNewObjectAction;
    QAction *addSubObjectInPart1Action;
    QAction *addSubObjectInPart2Action;
    QSplitter splitter;
    QTreeWidget treeWidget;
    MyTreeItem<ResStruct> *rootItem = nullptr;
    QWidget editorPanel;
    QVBoxLayout editorPanelLayout;
    // The object whose entries the areas show, declared before the areas whose
    // forms read it.
    ResObject *shownObject = nullptr;
    // Each group box scrolls, so that its forms keep a readable size however
    // many entries an object has.
    QGroupBox part1Box;
    QVBoxLayout part1BoxLayout;
    EntryFormArea part1Area;
    QGroupBox part2Box;
    QVBoxLayout part2BoxLayout;
    EntryFormArea part2Area;
    QVector<UiMyPart0 *> objectEditors;
};
