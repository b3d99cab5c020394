#pragma once
// Helpers of the report tests: golden files
// under tests/report/data/golden (BRIX_UPDATE_GOLDEN=1 rewrites them; check every change by
// eye), and running the external checking tools.

#include "golden_files.h"
#include "gui_app.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace brix::test {

inline QString goldenFile(const QString& name) {
    return QStringLiteral(BRIX_SOURCE_DIR "/tests/report/data/golden/") + name;
}

// Compares bytes with the golden file of the name (with its extension).
inline void expectGoldenFile(const QString& name, const QByteArray& bytes) {
    const QByteArray expected = goldenBytes(goldenFile(name), bytes);
    if (bytes != expected) {
        // The first differing line, for the failure text.
        const QList<QByteArray> a = bytes.split('\n'), b = expected.split('\n');
        qsizetype i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i])
            ++i;
        ADD_FAILURE() << name.toStdString() << " differs at line " << i + 1
                      << ":\n  got:      " << a.value(i).left(200).toStdString()
                      << "\n  expected: " << b.value(i).left(200).toStdString();
    }
}

// Writes bytes into a file of the directory; gives its path.
inline QString writeTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    return path;
}

struct ToolResult {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs an external program; a missing program fails the test (scripts/deps.sh installs them).
inline ToolResult runProgram(const QString& program, const QStringList& args,
                             const QByteArray& input = {}) {
    ToolResult r;
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        ADD_FAILURE() << program.toStdString() << " is not installed (scripts/deps.sh)";
        return r;
    }
    QProcess p;
    p.start(program, args);
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        p.kill();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace brix::test
