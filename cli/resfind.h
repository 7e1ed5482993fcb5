#pragma once

#include "resrecords.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

// Folds traditional Chinese characters to simplified ones, so that a simplified
// query finds traditional text and the reverse. opencc converts each character
// once; what it gave is remembered, since a file holds thousands of texts of
// the same few thousand characters.
class ScriptFolder
{
    Q_DECLARE_TR_FUNCTIONS(ResTool)

public:
    ScriptFolder();
    ~ScriptFolder();
    ScriptFolder(const ScriptFolder &) = delete;
    ScriptFolder &operator=(const ScriptFolder &) = delete;

    // Whether opencc could be set up; else errorString() says why.
    bool isValid() const;
    QString errorString() const { return error; }

    QString fold(const QString &text);

private:
    void *converter;
    QString error;
    QHash<char32_t, QString> folded;
};

// The lines of the objects of a file whose identifier (in decimal) or texts, as
// the editor shows them and folded to one script, the pattern (itself folded)
// matches: "FILE: object N (Item 1007) String1: 金币x100", the text as it is
// shown, with its control characters escaped.
QStringList findInContents(const ResStruct &contents, const QString &fileName,
        const QRegularExpression &pattern, ScriptFolder &folder);
