// The foreign-table readers: any bytes as a Paradox table with its memo file (plain or
// protected) or as a dBASE table with its memo file read to the end or to a message, without a
// crash, a hang or more records than the file can hold.

#include "formats/table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace brix::formats;

namespace {

bool writeFile(const QString& path, QByteArrayView bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace

// The input: one byte choosing the format (even: Paradox, odd: dBASE), then the table file and
// the memo file, split at the first occurrence of the separator "MEMO--" (no memo file when it
// is absent).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    if (size < 1) return 0;
    const bool dbase = data[0] & 1;
    const QByteArrayView input(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const qsizetype split = input.indexOf(QByteArrayView("MEMO--"));
    const QByteArrayView table = split < 0 ? input : input.first(split);
    const QString base = dir.filePath(dbase ? QStringLiteral("t.dbf") : QStringLiteral("t.db"));
    const QString memo = dir.filePath(dbase ? QStringLiteral("t.dbt") : QStringLiteral("t.mb"));
    QFile::remove(memo);
    if (!writeFile(base, table)) return 0;
    if (split >= 0 && !writeFile(memo, input.sliced(split + 6))) return 0;

    // The password of the protected seeds; a plain table ignores it.
    QString error;
    bool refused = false;
    auto reader = openTable(base, QStringLiteral("123"), &error, &refused);
    if (!reader) {
        if (error.isEmpty()) std::abort(); // a refusal always says why
        return 0;
    }
    Record record;
    qint64 n = 0;
    while (reader->next(&record)) {
        if (record.size() != reader->fields().size()) std::abort();
        // Every record takes at least one byte of the file.
        if (++n > qint64(size)) std::abort();
    }
    return 0;
}
