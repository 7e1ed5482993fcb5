#!/usr/bin/env python3
"""The mutation check: plants, one at a time, mistakes that a user of Drovanel
would suffer in a copy of the working tree, rebuilds, runs ctest, and prints
the share of mistakes that the tests caught, per folder, and the survivors.

Usage: scripts/mutants.py [--keep] [NAME_PART]
  NAME_PART  runs only the mutants whose name contains it.
  --keep     keeps the work folder ($DROVANEL_MUTANTS_DIR, default
             /tmp/drovanel-mutants) for the next run,
             whose build is then incremental.

Each mutant replaces one piece of text, which must occur exactly once in its
file. A mutant that does not build is reported and not counted. It takes a few
minutes; it is not part of .ci/run.
"""

import collections
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WORK = os.environ.get("DROVANEL_MUTANTS_DIR", "/tmp/drovanel-mutants")

# (name, file, original text, mistaken text)
MUTANTS = [
    # document/: reading, saving and the text rule
    ("a string of 254 bytes is refused", "document/resstring.cpp",
     "length <= ResStringMaxLength", "length < ResStringMaxLength"),
    ("a string without its zero byte is taken", "document/resstring.cpp",
     "std::memchr(stored, '\\0', size_t(size))", "true"),
    ("a negative table count is taken", "document/resdocument.cpp",
     "    if (count < 0) {", "    if (count < -1) {"),
    ("bytes after the last object are dropped", "document/resdocument.cpp",
     "contents.trailing = bytes.mid(int(offset));", "contents.trailing.clear();"),
    ("a refused file replaces the open contents", "document/resdocument.cpp",
     "    ResStruct loaded;\n    ResReader reader(bytes);\n    if (!reader.readContents(loaded)) {",
     "    ResStruct &loaded = contents;\n    ResReader reader(bytes);\n    if (!reader.readContents(loaded)) {"),
    ("a short write is committed", "document/wholefile.cpp",
     "        left -= written;", "        left = 0;"),
    ("a save does not count as saved", "document/resdocument.cpp",
     "    savedStamp = stamp;\n    if (changes == Changes::Tracked)\n        savedHash = XXH3_64bits(bytes.constData(), size_t(bytes.size()));\n    lastError.clear();",
     "    savedStamp = stamp;\n    lastError.clear();"),
    ("more objects than the header counts are written", "document/resdocument.cpp",
     "    if (contents.objects.size() <= MaxObjectCount)\n        return true;",
     "    if (true)\n        return true;"),
    ("edits are never noticed", "document/resdocument.cpp",
     "return hash() != savedHash;", "return false;"),
    ("the longest path is refused", "document/resdocument.cpp",
     "path.size() >= FileNameCapacity", "path.size() >= FileNameCapacity - 1"),
    ("an impossible GB18030 reading can win", "document/recordtext.cpp",
     "(asGb18030.cost == Impossible || asBig5.cost", "(asGb18030.cost != Impossible && asBig5.cost"),
    ("common characters cost as much as rare ones", "document/recordtext.cpp",
     "return { found->simplifiedCost, found->traditionalCost, found->piecePlace };",
     "return { RareHanCost, RareHanCost, found->piecePlace };"),
    ("no piece of a word is ever found", "document/recordtext.cpp",
     "if (found == end || int(*found >> 10) != second)", "if (true)"),
    ("a text leans away from its file's encoding", "document/recordtext.cpp",
     "asBig5.cost - big5Lean(evidence) < asGb18030.cost", "asBig5.cost + big5Lean(evidence) < asGb18030.cost"),
    ("a clear Big5 text is no evidence", "document/recordtext.cpp",
     "            ++evidence.big5;", "            ;"),
    ("a file's evidence is never weighed", "document/recordtext.cpp",
     "        contents.textEvidence = weighTexts(contents.objects);", "        contents.textEvidence = TextEvidence();"),
    ("a string's open byte sequence runs into the next string", "document/recordtext.cpp",
     "    result += codec->toUnicode(\"\", 1, &state);\n    result.chop(1);\n", ""),
    ("model names that are no UTF-8 are shown as UTF-8", "document/recordtext.cpp",
     "const bool validUtf8 = state.invalidChars == 0 && state.remainingChars == 0;",
     "const bool validUtf8 = true;"),
    ("a model name that is valid UTF-8 of any letters shows as UTF-8", "document/recordtext.cpp",
     "if (validUtf8 && std::all_of(characters.begin(), characters.end(), isNameCharacter))",
     "if (validUtf8)"),
    ("Value2 writes Value1", "document/resfields.h",
     "\"Value2\"), &Part1SubObject::Value2", "\"Value2\"), &Part1SubObject::Value1"),
    ("unknown3 writes unknown2", "document/resfields.h",
     "\"unknown3\"), &Part2SubObject::unknown3", "\"unknown3\"), &Part2SubObject::unknown2"),
    ("typeValue writes unknonw6", "document/resfields.h",
     "\"typeValue\"), &Part2SubObject::typeValue", "\"typeValue\"), &Part2SubObject::unknonw6"),
    ("unknown10 writes unknown9", "document/resfields.h",
     "\"unknown10\"), &Part2SubObject::unknown10", "\"unknown10\"), &Part2SubObject::unknown9"),
    ("String3 writes String1", "document/resfields.h",
     "\"String3\"), &ResObject::String3", "\"String3\"), &ResObject::String1"),
    ("String2 is shown by the rule of the other texts", "document/resfields.h",
     "&ResObject::String2, true }", "&ResObject::String2, false }"),
    # document/: files written and read whole
    ("a device given as the output is replaced", "document/wholefile.cpp",
     "    if (S_ISREG(status.st_mode)) {\n        // The file itself", "    if (!S_ISDIR(status.st_mode)) {\n        // The file itself"),
    ("a pipe is refused as an input", "document/wholefile.cpp",
     "const bool pipe = S_ISFIFO(status.st_mode);", "const bool pipe = false;"),
    ("the owner and group are not kept", "document/wholefile.cpp",
     "if (old && (old->st_uid != created.st_uid || old->st_gid != created.st_gid)) {", "if (false) {"),
    ("the set-group-ID bit is dropped", "document/wholefile.cpp",
     "old->st_mode & 07777", "old->st_mode & 0777"),
    ("a failed sync is a success", "document/wholefile.cpp",
     "if (::fdatasync(file.fd) != 0 || ::fstat", "if ((::fdatasync(file.fd), false) || ::fstat"),
    ("a file of 3 GB is read", "document/wholefile.cpp",
     "    if (status.st_size > MaxBytes) {\n        *error = tooLarge(status.st_size);\n        return false;\n    }\n    if (stamp)",
     "    if (stamp)"),
    # editors/: the forms
    ("String1 goes to the model name column", "editors/objectrow.cpp",
     "        return DescriptionColumn;", "        return ModelNameColumn;"),
    ("a rebuilt form leaves the row as it was", "editors/uimypart0.cpp",
     "row->setData(column, Qt::DisplayRole, QVariant());", ";"),
    ("a text typed back keeps the bytes typed", "editors/uimypart0.cpp",
     "    if (text == shown.originalText) {", "    if (false) {"),
    ("a minus sign in front is dropped", "editors/filterdigits.cpp",
     "if (text.startsWith(QLatin1Char('-')))", "if (false)"),
    ("full-width digits are kept as they are", "editors/filterdigits.cpp",
     "result += QLatin1Char(char('0' + character.digitValue()));", "result += character;"),
    ("a minus sign after digits is kept", "editors/filterdigits.cpp",
     "        if (character.isDigit())", "        if (character.isDigit() || character == '-')"),
    ("the cursor goes to the end after a filtered insert", "editors/integeredit.cpp",
     "position = filterDigits(input.left(position)).size();", "position = digits.size();"),
    ("an emptied number field stores 0", "editors/integeredit.cpp",
     "if (field && !text.isEmpty())", "if (field)"),
    ("leaving a number field keeps what it shows", "editors/integeredit.cpp",
     "        if (text() != stored)\n            setText(stored);", ""),
    ("a choice writes its index", "editors/choicebox.cpp",
     "*field = values.at(index);", "*field = index;"),
    ("a value without a name shows the first name", "editors/choicebox.cpp",
     "    if (index < 0) {\n        index = int(", "    if (false) {\n        index = int("),
    ("an unnamed value's entry outlives its form's entry", "editors/choicebox.cpp",
     "        removeItem(unnamedIndex);\n", ""),
    ("a cut text is not set back", "editors/uimypart0.cpp",
     "    if (kept < text.size()) {", "    if (false) {"),
    # app/: the window and its commands
    ("Item adds an object of type Pose", "app/drovanel.cpp",
     "    { ItemFolder, ItemType },", "    { ItemFolder, PoseType },"),
    ("VIP items are filed under Item", "app/drovanel.cpp",
     "    { VipitemFolder, VipItemType },", "    { ItemFolder, VipItemType },"),
    ("a damaged file is opened", "app/drovanel.cpp",
     "    if (!loaded) {\n        warnCannotOpen", "    if (!loaded && false) {\n        warnCannotOpen"),
    ("the question's default is Discard", "app/drovanel.cpp",
     "QMessageBox::Cancel, QMessageBox::Save);", "QMessageBox::Cancel, QMessageBox::Discard);"),
    ("a failed save says nothing", "app/drovanel.cpp",
     "    if (!saved) {\n        QMessageBox::warning", "    if (false) {\n        QMessageBox::warning"),
    ("Cancel closes the window all the same", "app/drovanel.cpp",
     "    else\n        event->ignore();", "    else\n        event->accept();"),
    ("a full file takes one more object", "app/drovanel.cpp",
     "contents.header.ObjectCount >= MaxObjectCount", "contents.header.ObjectCount > MaxObjectCount"),
    ("a new Part2 entry has effectType 0", "app/drovanel.cpp",
     "Part2SubObject { 2, 0, 1, 0,", "Part2SubObject { 2, 0, 0, 0,"),
    ("a file changed on disk is overwritten unasked", "app/drovanel.cpp",
     "if (document->changedOnDisk() && !confirmOverwrite())", "if (false && !confirmOverwrite())"),
    ("the tree reads texts without the file's evidence", "app/mytreeitem.h",
     "folder ? textEvidenceOf(*folder->record) : TextEvidence()", "TextEvidence()"),
    ("the form reads its strings without the file's evidence", "app/drovanel.cpp",
     "new UiMyPart0(&editorPanel, object, textEvidenceOf(document->contents));",
     "new UiMyPart0(&editorPanel, object);"),
    ("another object keeps the scroll position", "editors/entryformarea.cpp",
     "        horizontalScrollBar()->setValue(0);\n        verticalScrollBar()->setValue(0);\n", ""),
    ("Tab follows the order the forms were built in", "editors/entryformarea.cpp",
     "    if (at < 0)\n        return QAbstractScrollArea::focusNextPrevChild(next);",
     "    if (true)\n        return QAbstractScrollArea::focusNextPrevChild(next);"),
    ("the focused form takes other entries as the area scrolls", "editors/entryformarea.cpp",
     "const int kept = keptEntry >= 0 && keptEntry < count ? focused : -1;", "const int kept = -1;"),
    ("the forms stay as the area scrolls", "editors/entryformarea.cpp",
     "scrollContentsBy(int, int)\n{\n    placeForms();\n}", "scrollContentsBy(int, int)\n{\n}"),
    ("scrolling to the end stops a row short of the last entry", "editors/entryformarea.cpp",
     "int(divideUp(qMax(qint64(0), side.length - view), side.unit))",
     "int(qMax(qint64(0), side.length - view) / side.unit)"),
    ("past a widget's size the scroll bars still count pixels", "editors/entryformarea.cpp",
     "axis.unit = axis.length <= QWIDGETSIZE_MAX ? 1 : axis.pitch;", "axis.unit = 1;"),
    ("forms stand where the scroll bar's value would be in pixels", "editors/entryformarea.cpp",
     "return qMin(qint64(bar->value()) * unit,", "return qMin(qint64(bar->value()),"),
    ("scrolling back to a field rounds past it", "editors/entryformarea.cpp",
     "offset < axis.offset() ? pixels / axis.unit : divideUp(pixels, axis.unit)",
     "offset < axis.offset() ? divideUp(pixels, axis.unit) : pixels / axis.unit"),
    ("forms write nowhere after an entry is added", "editors/entryformarea.cpp",
     "if (released || shownEntries.at(next) != entry) {", "if (shownEntries.at(next) != entry) {"),
    # cli/: drovanel-res
    ("check exits 0 for a refused file", "cli/commands.cpp",
     "            result = Refused;", "            ;"),
    ("a failed write to standard output exits 0", "cli/console.cpp",
     "    if (!outputError)\n        return true;", "    if (true)\n        return true;"),
    ("a control character reaches the terminal", "cli/console.cpp",
     "        } else if (isControl(unit)) {", "        } else if (false) {"),
    ("INT32_MIN is refused", "cli/jsonimport.cpp",
     "*exact < std::numeric_limits<qint32>::min()", "*exact <= std::numeric_limits<qint32>::min()"),
    ("a fraction is taken as an integer", "cli/jsonimport.cpp",
     "if (!exact && found == std::floor(found) && std::abs(found) < 1e18)",
     "if (!exact && std::abs(found) < 1e18)"),
    ("odd hex is taken", "cli/jsonstring.cpp",
     "if (digits.size() % 2 != 0) {", "if (false) {"),
    ("exactly 32767 objects are refused", "cli/jsonimport.cpp",
     "level.at + 1 == MaxObjectCount", "level.at + 2 == MaxObjectCount"),
    ("a field given twice is taken", "cli/jsonimport.cpp",
     "    if (level.given & (1u << level.at))", "    if (false)"),
    ("a missing field is taken", "cli/jsonimport.cpp",
     "            if (!(level.given & (1u << i)))", "            if (false)"),
    ("bytes after a zero byte behind the JSON are taken", "cli/jsonimport.cpp",
     "if (!parsed || offset != size_t(json.size())) {", "if (!parsed) {"),
    ("a byte order mark is refused", "cli/jsonimport.cpp",
     "file.startsWith(\"\\xef\\xbb\\xbf\") ? file.mid(3) : file", "file"),
    ("a slice of objects after the first loses its comma", "cli/jsonexport.cpp",
     "JsonWriter(2, true)", "JsonWriter(2, false)"),
    ("a text of 253 bytes is refused", "cli/jsonstring.cpp",
     "bytes.size() > ResStringMaxTextBytes", "bytes.size() >= ResStringMaxTextBytes"),
    ("the unit separator is written raw", "cli/jsonwriter.cpp",
     "if (uchar(*byte) >= 0x20 && *byte != '\\x7f')", "if (uchar(*byte) >= 0x1f && *byte != '\\x7f')"),
    ("a text is tagged gb18030 whatever its encoding", "cli/jsonstring.cpp",
     "        json.string(encodingName(shown->encoding));", "        json.string(\"gb18030\");"),
    ("objects are matched by their place", "cli/resmatch.cpp",
     "            matches[i] = places[next];", "            matches[i] = i < from.size() ? i : -1;"),
    ("diff exits 0 when the files differ", "cli/commands.cpp",
     "return finished(lines.isEmpty() ? Same : Different, Trouble);", "return finished(Same, Trouble);"),
    ("of two objects of one identity, the later is matched first", "cli/resmatch.cpp",
     "from[a] < from[b] : a < b;", "from[a] < from[b] : a > b;"),
    ("diff looks only at unchanged objects", "cli/resdiff.cpp",
     "if (!sameObject(from.objects[match], to.objects[i]))",
     "if (sameObject(from.objects[match], to.objects[i]))"),
    ("a table of one entry is taken as empty", "document/resdocument.cpp",
     "    if (count == 0)\n        return true;", "    if (count <= 1)\n        return true;"),
    ("JSON members are indented a level too little", "cli/jsonwriter.cpp",
     "qMin(int(empty.size()) * 2, MostIndent);", "qMin(int(empty.size()) * 2 - 2, MostIndent);"),
    ("String3 gives no evidence of a file's encoding", "document/recordtext.cpp",
     "        weigh(objects.at(i).String3);\n", ""),
    ("a read-only file is replaced", "document/wholefile.cpp",
     "if (::faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) != 0) {", "if (false) {"),
    ("the temporary file of the longest name is too long", "document/wholefile.cpp",
     "path.left(path.size() - qMax(0, tooLong))", "path"),
    ("a conflict of several mods is told at the first object of its identity", "cli/resmods.cpp",
     "keys.append({ identity, int(places.size()) });", "keys.append({ identity, 0 });"),
    ("a RES file given for JSON is called UTF-16", "cli/jsonimport.cpp",
     "zeroAt(0) != zeroAt(1) && zeroAt(0) == zeroAt(2)", "true"),
    ("a %1 in a file name is filled in by find", "cli/resfind.cpp",
     ".arg(fileName, QString::number(i), objectName(object),", ".arg(fileName).arg(QString::number(i), objectName(object),"),
    ("a removed object is not told", "cli/resdiff.cpp",
     "                lines << removed(from.objects, nextRemoved);", "                ;"),
    ("a change on THEIRS's side only is lost", "cli/resmerge.cpp",
     "        if (same(base, ours))\n            return theirs;", "        if (same(base, ours))\n            return ours;"),
    ("a conflict keeps THEIRS's value", "cli/resmerge.cpp",
     "return preference == MergePreference::Theirs ? theirs : ours;",
     "return preference == MergePreference::Ours ? ours : theirs;"),
    ("an object removed on one side and left alone on the other stays", "cli/resmerge.cpp",
     "            if (sameObject(base.objects[b], ours.objects[o]))\n                continue;",
     "            if (false)\n                continue;"),
    ("entries appended on one side are lost when the other changed some", "cli/resmerge.cpp",
     "            return theirs + ours.mid(base.size());", "            return theirs;"),
    ("an object only OURS holds goes to the end", "cli/resmerge.cpp",
     "afterOurs[anchor].append(", "afterOurs[-2].append("),
    ("a merge with conflicts exits 0", "cli/commands.cpp",
     "return merged.conflicts.isEmpty() || preference != MergePreference::None ? Same : Different;",
     "return Same;"),
    ("textconv fails on a refused file", "cli/commands.cpp",
     "        console::outBytes(::exportJson(document.contents));\n    }\n    return finished(AllAccepted, Refused);",
     "        console::outBytes(::exportJson(document.contents));\n    }\n    return finished(Refused, Refused);"),
    ("textconv exits 0 when its output cannot be written", "cli/commands.cpp",
     "        console::outBytes(::exportJson(document.contents));\n    }\n    return finished(AllAccepted, Refused);",
     "        console::outBytes(::exportJson(document.contents));\n    }\n    return finished(AllAccepted, AllAccepted);"),
    ("export - writes a file named -", "cli/commands.cpp",
     "if (jsonPath.isEmpty() || jsonPath == QLatin1String(\"-\")) {", "if (jsonPath.isEmpty()) {"),
    ("a name the system cannot represent is used", "cli/main.cpp",
     "if (QFile::encodeName(QFile::decodeName(given)) != given)", "if (false)"),
    # What the programs print and show, and what they write, that the golden files
    # and the saved bytes catch.
    ("diff tells removed entries as added", "cli/resdiff.cpp",
     "? \"added\" : \"removed\"", "? \"added\" : \"added\""),
    ("export names the header Header", "cli/jsonform.h",
     "HeaderKey[] = \"header\";", "HeaderKey[] = \"Header\";"),
    ("--prefer ours lists settled conflicts as conflicts", "cli/commands.cpp",
     "twoMods ? \"kept ours\"", "twoMods ? \"conflict\""),
    ("a wrong command line exits 1, as a refused file does", "cli/commands.h",
     "        WrongCommandLine = 2,", "        WrongCommandLine = 1,"),
    ("the Pose folder comes after the Item folder", "app/drovanel.cpp",
     "    { PoseFolder, PoseType },\n    { ItemFolder, ItemType },",
     "    { ItemFolder, ItemType },\n    { PoseFolder, PoseType },"),
    ("the add-entry hint asks for an object type", "app/drovanel.cpp",
     "tr(\"Please select object ID inside the tree, and try again.\")",
     "tr(\"Please select object type inside the tree, and try again.\")"),
    ("a file named on the command line is not opened", "app/main.cpp",
     "        window.openFile(file);", "        window.setWindowFilePath(file);"),
    ("AddNewObject leaves the header's count as it was", "app/drovanel.cpp",
     "    ++contents.header.ObjectCount;\n", ""),
    ("a new object's strings are saved without their zero byte", "app/drovanel.cpp",
     "        setStoredText(object.*field.member, QByteArray());",
     "        (object.*field.member).Length = 0;"),
]


def run(command, cwd, log):
    return subprocess.run(command, cwd=cwd, stdout=log, stderr=subprocess.STDOUT).returncode == 0


def build_and_test(build, log):
    if not run(["cmake", "--build", build, "-j", str(os.cpu_count() or 2)], WORK, log):
        return None
    env_test = ["env", "QT_QPA_PLATFORM=offscreen", "HOME=" + WORK + "/home",
                "ctest", "--test-dir", build, "-j4", "--timeout", "120"]
    return run(env_test, WORK, log)


def main():
    keep = "--keep" in sys.argv
    only = [a for a in sys.argv[1:] if a != "--keep"]
    mutants = [m for m in MUTANTS if not only or any(o in m[0] for o in only)]
    src = os.path.join(WORK, "src")
    build = os.path.join(WORK, "build")
    os.makedirs(os.path.join(WORK, "home"), exist_ok=True)
    files = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, capture_output=True,
                           check=True).stdout.decode().split("\0")
    for name in filter(None, files):
        target = os.path.join(src, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(os.path.join(ROOT, name), target)
    log = open(os.path.join(WORK, "log.txt"), "w")
    if not run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=Debug"], WORK, log):
        sys.exit("mutants.py: cmake failed; see %s/log.txt" % WORK)
    if not build_and_test(build, log):
        sys.exit("mutants.py: the unmutated tree does not pass its tests; see %s/log.txt" % WORK)

    caught = collections.Counter()
    total = collections.Counter()
    survivors, stillborn = [], []
    for name, path, original, mistaken in mutants:
        file = os.path.join(src, path)
        with open(file, encoding="utf-8") as f:
            text = f.read()
        if text.count(original) != 1:
            stillborn.append("%s (%s: the text occurs %d times)" % (name, path, text.count(original)))
            continue
        with open(file, "w", encoding="utf-8") as f:
            f.write(text.replace(original, mistaken))
        outcome = build_and_test(build, log)
        with open(file, "w", encoding="utf-8") as f:
            f.write(text)
        folder = path.split("/")[0]
        if outcome is None:
            stillborn.append("%s (%s: does not build)" % (name, path))
            continue
        total[folder] += 1
        if outcome:
            survivors.append("%s (%s)" % (name, path))
        else:
            caught[folder] += 1
        print("%-8s %s" % ("survived" if outcome else "caught", name), flush=True)

    print()
    for folder in sorted(total):
        print("%-10s %2d of %2d caught (%.0f%%)" % (folder + "/", caught[folder], total[folder],
                                                    100.0 * caught[folder] / total[folder]))
    all_caught, all_total = sum(caught.values()), sum(total.values())
    if all_total:
        print("all        %2d of %2d caught (%.0f%%)" % (all_caught, all_total,
                                                         100.0 * all_caught / all_total))
    for line in survivors:
        print("survivor: " + line)
    for line in stillborn:
        print("not run: " + line)
    if not keep:
        shutil.rmtree(WORK, ignore_errors=True)


if __name__ == "__main__":
    main()
