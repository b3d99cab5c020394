#pragma once
// Byte-exact golden files of the catalogue's outputs under tests/catalogue/data/golden
// (BRIX_UPDATE_GOLDEN=1 rewrites them; check every change by eye).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

namespace brix::test {

inline void expectGolden(const QString& name, const QByteArray& bytes) {
    const QString path = QStringLiteral(BRIX_SOURCE_DIR "/tests/catalogue/data/golden/") + name;
    if (qEnvironmentVariableIsSet("BRIX_UPDATE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray expected = f.readAll();
    if (name.endsWith(QLatin1String(".bin")))
        EXPECT_EQ(bytes.toHex(' ').toStdString(), expected.toHex(' ').toStdString())
            << name.toStdString();
    else
        EXPECT_EQ(bytes.toStdString(), expected.toStdString()) << name.toStdString();
}

} // namespace brix::test
