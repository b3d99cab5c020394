#pragma once
// Paradox tables: the .db file of data blocks and the .mb file of memos and binary values.
//
// The writer makes tables without a primary index (file version 5/7 layout, Windows-1250 code
// page in the header), filling data blocks of 4 KB (larger when a record needs it) and chaining
// them. Memos of up to 2 KB share suballocated blocks of the .mb file, longer ones get blocks of
// their own. A memo field keeps the first `size` characters (10 when not given) in the record.
// The reader reads the file versions 3.0 to 7 with either kind of data file, its texts in the
// code page the table names (format_util.h). A table protected by a password opens only with
// that password (a missing or wrong one is refused with a message, never read as garbage); its
// data blocks and memo file are then deciphered as they are read (paradox_cipher.h). A chain of
// blocks that holds fewer or more records than the header counts is reported as damage.

#include "format_util.h"
#include "table.h"

#include <QFile>

namespace brix::formats {

class ParadoxWriter : public TableWriter {
public:
    ~ParadoxWriter() override;
    // `path` names the .db file (the extension is added when missing).
    bool open(const QString& path, const QList<FieldDef>& fields) override;
    bool append(const Record& record) override;
    bool close() override;

    struct Column {
        quint8 type = 1;
        int size = 0;   // bytes in the record
        int leader = 0; // memo bytes kept in the record
        FieldKind kind = FieldKind::Text;
        int decimals = 0;
    };

private:
    bool fail(const QString& message);
    bool flushBlock();
    bool writeBlob(const QByteArray& data, char* slot, const Column& c);
    bool flushMemoBlock();

    QFile db_;
    QFile mb_;
    QList<FieldDef> fields_;
    QList<Column> columns_;
    int recordSize_ = 0;
    int blockSize_ = 4096;
    int headerSize_ = 2048;
    QByteArray block_;
    int blockRecords_ = 0;
    int blocks_ = 0;
    quint32 records_ = 0;
    qint32 autoInc_ = 0;
    // The suballocated memo block being filled.
    QByteArray memoBlock_;
    qint64 memoBlockOffset_ = 0;
    int memoEntries_ = 0;
    int memoParagraph_ = 0;
    qint64 memoEnd_ = 0;
};

class ParadoxReader : public TableReader {
public:
    bool open(const QString& path, const QString& password = {}) override;
    bool next(Record* record) override;

    int fileVersion() const { return version_; }
    // The code page the texts are read in: the one the header names, else the one of its
    // language driver, else Windows-1250; 0 for one without a number (HP Roman-8).
    int codePage() const { return codePage_; }

private:
    bool loadBlock(int number);
    QByteArray readMemo(qint64 pos, qint64 length);
    QVariant unreadable(int field);
    QVariant value(const char* p, int field);
    QByteArray blob(const char* p, int size, int leader, bool* ok);

    struct Column {
        quint8 type = 0;
        int size = 0;
        int offset = 0;
    };
    QFile db_;
    QFile mb_;
    QString path_;
    QList<Column> columns_;
    int recordSize_ = 0;
    int headerSize_ = 0;
    int blockSize_ = 0;
    int fileBlocks_ = 0;
    int version_ = 0;
    int codePage_ = 0;
    detail::TextCodec codec_;
    QByteArray block_;
    int nextBlock_ = 0;
    int blockRecords_ = 0;
    int blockIndex_ = 0;
    QList<bool> visited_;
    quint32 key_ = 0; // the key of a protected table, 0 for a plain one
    qint64 recordsRead_ = 0;
};

} // namespace brix::formats
