#pragma once
// The ".pts" template file: reading a definition from its lines, writing it back, reading only
// a template's description, and listing the templates of a directory.

#include "definition.h"
#include "expression.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace brix::report {

// Builds the definition from template lines. The reader never rejects a line: unknown lines
// are ignored, malformed numbers take their defaults. Field names (of the attached data) let
// kinds 2 and 3 resolve names and limit indexes; without them names stay unresolved (index 0,
// kept for writing) and indexes stay as they are. Always succeeds.
void loadDefinition(ReportDefinition& def, const TPredloha& lines,
                    const QStringList* fieldNames = nullptr);
// The complete lines of the definition; also stored into def.lines.
TPredloha saveDefinition(ReportDefinition& def);

// File forms: Windows-1250 (or UTF-8 with a byte-order mark), CR LF or LF on reading; CR LF
// on writing. False with a Czech error text when the file cannot be read or written.
bool loadTemplateFile(const QString& path, ReportDefinition& def, QString* error = nullptr,
                      const QStringList* fieldNames = nullptr);
bool saveTemplateFile(const QString& path, ReportDefinition& def, QString* error = nullptr);

// The description of a template file (third field of its first I,0 line); empty when there is
// none or the file cannot be read.
QString readTemplateDescription(const QString& path);

// One entry of the template chooser.
struct TSouborPredlohy {
    QString path;
    QString caption;     // the description, or the file name without one
    QString description; // as the file has it (may be empty)
};
// The templates of a directory matching the mask (its extension forced to ".pts", matching
// ignoring case), ordered by file name.
QList<TSouborPredlohy> listTemplates(const QString& directory, const QString& mask);

// The files a picture element tries, in order: each item of its list (quoted literal, field,
// parameter or function reference, or plain text) as given, then inside the template's
// directory. The first one the picture loader accepts is used.
QStringList pictureCandidates(const QString& elementText, const QString& templateDirectory,
                              const ReferenceResolver* resolver);

// Field reading of template lines (exposed for tests): splits a line into its fields.
QStringList splitTemplateLine(QStringView line);
// Lenient integer of a template field: optional sign and digits, else the default.
int templateInt(QStringView field, int fallback = 0);

} // namespace brix::report
