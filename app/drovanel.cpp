#include "drovanel.h"

#include "resdocument.h"
#include "formfields.h"
#include "overridecursor.h"
#include "recordtext.h"
#include "resstring.h"
#include "uimypart0.h"
#include "uimypart1subobject.h"
#include "uimypart2subobject.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QMessageBox>
#include <QPushButton>

#include <limits>

namespace {

// The one local file that a drag carries, or an empty string.
QString droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

// The type folders in the order the tree shows them, each with the type of the
// objects it lists.
const struct
{
    NodeKind kind;
    ObjectTypeCode type;
} Folders[] = {
    { WeaponFolder, WeaponType },
    { PoseFolder, PoseType },
    { ItemFolder, ItemType },
    { VipitemFolder, VipItemType },
    { MapFolder, MapType },
};

qint32 objectTypeOfFolder(int folderKind)
{
    for (const auto &folder : Folders) {
        if (folder.kind == folderKind)
            return folder.type;
    }
    return 0;
}

template<typename Form>
EntryFormArea::MakeForm makeForm()
{
    return [](QWidget *parent) { return new Form(parent, nullptr); };
}

// Has a form show an entry of that table of the object shown, which the window
// keeps in `object`.
template<typename Form, typename Entry>
EntryFormArea::ShowEntry showEntryOf(ResObject *const &object, QVector<Entry> ResObject::*table)
{
    return [&object, table](QWidget *form, int entry) {
        static_cast<Form *>(form)->showEntry(entry < 0 ? nullptr : (object->*table).data() + entry);
    };
}

ResObject newObject(qint32 objectType)
{
    ResObject object;
    object.ObjectType = objectType;
    object.EntryTypeTypeID = -1;
    // An empty string is stored as its terminating zero byte alone.
    for (const StringField &field : StringFields)
        setStoredText(object.*field.member, QByteArray());
    return object;
}

} // namespace

Drovanel::Drovanel()
    : part1Area(3, makeForm<UiMyPart1SubObject>(),
            showEntryOf<UiMyPart1SubObject>(shownObject, &ResObject::Part1))
    // All Part2 forms stand in one row.
    , part2Area(std::numeric_limits<int>::max(), makeForm<UiMyPart2SubObject>(),
              showEntryOf<UiMyPart2SubObject>(shownObject, &ResObject::Part2))
{
    setWindowTitle(tr("Drovanel 1.0"));
    setAcceptDrops(true);

    openAction = new QAction(tr("Open"), this);
    saveAction = new QAction(tr("Save"), this);
    addNewObjectAction = new QAction(tr("AddNewObject"), this);
    addSubObjectInPart1Action = new QAction(tr("AddSubObjectInPart1"), this);
    addSubObjectInPart2Action = new QAction(tr("AddSubObjectInPart2"), this);

    connect(openAction, &QAction::triggered, this, &Drovanel::onOpen);
    connect(saveAction, &QAction::triggered, this, &Drovanel::onSave);
    connect(addNewObjectAction, &QAction::triggered, this, &Drovanel::onAddNewObject);
    connect(addSubObjectInPart1Action, &QAction::triggered, this, &Drovanel::onAddSubObjectInPart1);
    connect(addSubObjectInPart2Action, &QAction::triggered, this, &Drovanel::onAddSubObjectInPart2);

    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    QMenu *mainMenu = menuBar()->addMenu(tr("&Main"));
    QMenu *currentObjectMenu = menuBar()->addMenu(tr("&CurrentObject"));
    fileMenu->addAction(openAction);
    fileMenu->addAction(saveAction);
    mainMenu->addAction(addNewObjectAction);
    currentObjectMenu->addAction(addSubObjectInPart1Action);
    currentObjectMenu->addAction(addSubObjectInPart2Action);

    setupLayout();
}

Drovanel::~Drovanel()
{
    g_objectTree = nullptr;
    // The members are destroyed before the QObject base would disconnect the
    // tree: no selection change during their teardown may reach this window.
    disconnect(&treeWidget, nullptr, this, nullptr);
}

void Drovanel::setupLayout()
{
    splitter.setFixedSize(800, 600);
    setCentralWidget(&splitter);
    splitter.setOrientation(Qt::Horizontal);
    splitter.addWidget(&treeWidget);
    splitter.addWidget(&editorPanel);

    treeWidget.setFixedWidth(300);
    treeWidget.setColumnCount(ObjectRowColumns);
    treeWidget.setColumnWidth(0, 120);
    treeWidget.setColumnWidth(1, 80);
    treeWidget.setColumnWidth(2, 80);
    treeWidget.setHeaderLabels({ tr("Path"), tr("Description"), tr("ModelName") });
    connect(&treeWidget, &QTreeWidget::currentItemChanged, this, &Drovanel::onCurrentItemChanged);

    editorPanel.setLayout(&editorPanelLayout);
    editorPanelLayout.addWidget(&part1Box, 1);
    editorPanelLayout.addWidget(&part2Box, 1);

    part1Box.setTitle(tr("Part1"));
    part2Box.setTitle(tr("Part2"));
    const struct
    {
        QGroupBox &box;
        QVBoxLayout &boxLayout;
        EntryFormArea &area;
    } groups[] = {
        { part1Box, part1BoxLayout, part1Area },
        { part2Box, part2BoxLayout, part2Area },
    };
    for (const auto &group : groups) {
        group.box.setLayout(&group.boxLayout);
        group.boxLayout.setContentsMargins(0, 0, 0, 0);
        group.boxLayout.addWidget(&group.area);
        group.area.setFrameShape(QFrame::NoFrame);
    }

    g_objectTree = &treeWidget;
}

void Drovanel::onOpen(bool)
{
    if (!maybeSave())
        return;
    const QString path =
            QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("Res (*.res)"));
    if (!path.isEmpty())
        openFile(path);
}

void Drovanel::openFile(const QString &path)
{
    // The file is read into a document of its own, so that a mis-click on a
    // damaged file keeps the open document and the user's work.
    auto candidate = std::make_unique<ResDocument>();
    bool loaded;
    {
        OverrideCursor wait(Qt::WaitCursor);
        loaded = candidate->setFileName(path) && candidate->load();
    }
    if (!loaded) {
        warnCannotOpen(path, candidate->errorString());
        return;
    }

    OverrideCursor wait(Qt::WaitCursor);
    if (documentLoaded) {
        clearEditorsAndTree();
        closeDocument();
        documentLoaded = false;
    }
    document = std::move(candidate);
    documentLoaded = true;
    buildTree(path);
}

void Drovanel::warnCannotOpen(const QString &path, const QString &reason)
{
    QMessageBox::warning(this, tr("Warning"),
            tr("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

void Drovanel::onSave(bool)
{
    if (document)
        saveDocument();
}

bool Drovanel::saveDocument()
{
    if (document->changedOnDisk() && !confirmOverwrite())
        return false;
    bool saved;
    {
        OverrideCursor wait(Qt::WaitCursor);
        saved = document->save();
    }
    if (!saved) {
        QMessageBox::warning(this, tr("Warning"),
                tr("Cannot save %1: %2")
                        .arg(QDir::toNativeSeparators(document->path()), document->errorString()));
    }
    return saved;
}

bool Drovanel::confirmOverwrite()
{
    QMessageBox box(QMessageBox::Warning, tr("Drovanel"),
            tr("%1 has changed on disk since it was opened or last saved. Overwrite it with the "
               "open document?")
                    .arg(QDir::toNativeSeparators(document->path())),
            QMessageBox::Save | QMessageBox::Cancel, this);
    box.button(QMessageBox::Save)->setText(tr("Overwrite"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

bool Drovanel::maybeSave()
{
    if (!document || !document->isModified())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::warning(this, tr("Drovanel"),
            tr("Save the changes to %1?").arg(QDir::toNativeSeparators(document->path())),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return saveDocument();
    return answer == QMessageBox::Discard;
}

void Drovanel::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void Drovanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Drovanel::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (maybeSave())
        openFile(path);
}

void Drovanel::closeDocument()
{
    document.reset();
}

void Drovanel::buildTree(const QString &path)
{
    ResStruct *contents = &document->contents;
    rootItem = new MyTreeItem<ResStruct>(
            &treeWidget, { QFileInfo(path).baseName() }, nullptr, 0, RootNode);
    new MyTreeItem<ResStruct>(rootItem, { tr("Header") }, contents, RootNode, HeaderNode);
    auto *objectsNode =
            new MyTreeItem<ResStruct>(rootItem, { tr("Objects") }, contents, RootNode, ObjectsNode);

    // Indexed by ObjectType; the folders are shown in the order they are made.
    MyTreeItem<ResStruct> *folders[MapType + 1] = {};
    for (const auto &folder : Folders) {
        folders[folder.type] = new MyTreeItem<ResStruct>(objectsNode,
                { fieldLabel(objectTypeFolder(folder.type)) }, contents, ObjectsNode, folder.kind);
    }

    // Rows are added to their folders in batches: added one at a time, each row
    // went through the model's insertion signals and the view's bookkeeping.
    QList<QTreeWidgetItem *> pendingRows[MapType + 1];
    const auto addPendingRows = [&] {
        for (int type = WeaponType; type <= MapType; ++type) {
            folders[type]->addChildren(pendingRows[type]);
            pendingRows[type].clear();
        }
    };
    for (ResObject &object : contents->objects) {
        if (!objectTypeFolder(object.ObjectType)) {
            // Behind the warning the tree shows every row built so far.
            addPendingRows();
            // The object stays in the document and is saved with it, unlisted.
            OverrideCursor arrow(Qt::ArrowCursor);
            QMessageBox::warning(nullptr, tr("Warning"), tr("Unknown ObjectType"), QMessageBox::Ok,
                    QMessageBox::NoButton);
            continue;
        }
        pendingRows[object.ObjectType].append(
                new MyTreeItem<ResObject>(&object, folders[object.ObjectType]->kind, ObjectNode));
    }
    addPendingRows();

    treeWidget.setSelectionMode(QAbstractItemView::SingleSelection);
}

void Drovanel::releaseForms()
{
    part1Area.releaseForms();
    part2Area.releaseForms();
}

void Drovanel::clearEditorsAndTree()
{
    // The forms stay hidden, writing nowhere, until they show entries of the
    // next object.
    releaseForms();
    part1Area.showEntries(0, true);
    part2Area.showEntries(0, true);
    shownObject = nullptr;
    qDeleteAll(objectEditors);
    objectEditors.clear();
    delete rootItem;
    rootItem = nullptr;
}

void Drovanel::onCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    auto *row = dynamic_cast<MyTreeItem<ResObject> *>(current);
    if (!row || row->kind != ObjectNode)
        return;
    ResObject *object = row->record;

    qDeleteAll(objectEditors);
    objectEditors.clear();
    auto *objectEditor = new UiMyPart0(&editorPanel, object, textEvidenceOf(document->contents));
    objectEditors.append(objectEditor);
    editorPanelLayout.addWidget(objectEditor);

    // Another object starts at its first entries; an entry added to the same
    // object leaves the areas where the user was.
    shownObject = object;
    part1Area.showEntries(object->Part1Count, current != previous);
    part2Area.showEntries(object->Part2Count, current != previous);
}

void Drovanel::onAddNewObject(bool)
{
    auto *folder = dynamic_cast<MyTreeItem<ResStruct> *>(treeWidget.currentItem());
    if (!folder || folder->parentKind != ObjectsNode) {
        QMessageBox::information(this, QString(),
                tr("Please select object type inside the tree, and try again."), QMessageBox::Ok,
                QMessageBox::NoButton);
        return;
    }
    ResStruct &contents = *folder->record;
    if (contents.header.ObjectCount >= MaxObjectCount) {
        QMessageBox::information(this, QString(),
                tr("The file already holds %1 objects, the most that its header "
                   "can count. No object was added.")
                        .arg(MaxObjectCount),
                QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }

    const qint32 objectType = objectTypeOfFolder(folder->kind);
    OverrideCursor wait(Qt::WaitCursor);
    // The file node already shows the base name, which stays as it is.
    const QString fileNodeText = rootItem->text(0);
    // Appending may move every object: no form or row may point into them then.
    clearEditorsAndTree();
    ++contents.header.ObjectCount;
    contents.objects.append(newObject(objectType));
    buildTree(fileNodeText);
}

ResObject *Drovanel::selectedObject()
{
    auto *row = dynamic_cast<MyTreeItem<ResObject> *>(treeWidget.currentItem());
    if (!row || row->kind != ObjectNode) {
        QMessageBox::information(this, QString(),
                tr("Please select object ID inside the tree, and try again."), QMessageBox::Ok,
                QMessageBox::NoButton);
        return nullptr;
    }
    return row->record;
}

void Drovanel::rebuildEditors()
{
    // Appending may have moved the table, so every form shows its entry anew.
    QTreeWidgetItem *current = treeWidget.currentItem();
    onCurrentItemChanged(current, current);
}

void Drovanel::onAddSubObjectInPart1(bool)
{
    ResObject *object = selectedObject();
    if (!object)
        return;
    // Appending may move the table. Whatever field has the focus, its form must
    // not write into the old one when the focus leaves it during the rebuild.
    releaseForms();
    ++object->Part1Count;
    object->Part1.append(Part1SubObject { 12, 0, 0 });
    rebuildEditors();
}

void Drovanel::onAddSubObjectInPart2(bool)
{
    ResObject *object = selectedObject();
    if (!object)
        return;
    releaseForms();
    ++object->Part2Count;
    object->Part2.append(Part2SubObject { 2, 0, 1, 0, 0, 0, 0, 0, 0, 0 });
    rebuildEditors();
}
