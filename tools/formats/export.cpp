#include "export.h"

#include "text_export.h"

#include <QDir>

namespace brix::formats {

ExportResult exportTable(ExportFormat format, const QString& dir, const QString& name,
                         const QList<FieldDef>& fields, const RecordSource& source,
                         const ExportProgress& progress) {
    ExportResult result;
    if (!QDir().mkpath(dir)) {
        result.error = QStringLiteral("Nelze vytvořit adresář „%1“.").arg(dir);
        return result;
    }
    std::unique_ptr<TableWriter> writer;
    QList<FieldDef> targetFields = exportTargetFields(fields);
    switch (format) {
    case ExportFormat::Paradox:
        writer = makeTableWriter(TableFormat::Paradox);
        result.path = QDir(dir).filePath(name + QStringLiteral(".db"));
        break;
    case ExportFormat::Dbase:
        writer = makeTableWriter(TableFormat::Dbase);
        result.path = QDir(dir).filePath(name + QStringLiteral(".dbf"));
        break;
    case ExportFormat::Text: {
        auto text = std::make_unique<TextExportWriter>();
        QStringList list;
        if (!readTextExportFieldList(textExportFieldListPath(dir, name), &list, &result.error))
            return result;
        text->setFieldList(list);
        targetFields = fields;
        writer = std::move(text);
        result.path = textExportPath(dir, name);
        break;
    }
    }
    if (!writer->open(result.path, targetFields)) {
        result.error = writer->errorString();
        return result;
    }
    Record record;
    QString sourceError;
    while (source(&record, &sourceError)) {
        if (!writer->append(record)) {
            result.error = writer->errorString();
            writer->abandon();
            return result;
        }
        ++result.records;
        if (progress && result.records % 1000 == 0 && !progress(result.records)) {
            result.error = QStringLiteral("Export byl přerušen.");
            writer->abandon();
            return result;
        }
    }
    if (!sourceError.isEmpty()) {
        result.error = sourceError;
        writer->abandon();
        return result;
    }
    if (!writer->close()) {
        result.error = writer->errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace brix::formats
