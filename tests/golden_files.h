#pragma once
// Golden files of the tests, compared byte for byte: BRIX_UPDATE_GOLDEN=1 rewrites them with
// what the test produced (check every change by eye).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace brix::test {

// The golden file's bytes; with BRIX_UPDATE_GOLDEN set, the file is written with the bytes
// first.
inline QByteArray goldenBytes(const QString& path, const QByteArray& bytes) {
    if (qEnvironmentVariableIsSet("BRIX_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

} // namespace brix::test
