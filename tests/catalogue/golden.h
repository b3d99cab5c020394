#pragma once
// Byte-exact golden files of the catalogue's outputs under tests/catalogue/data/golden
// (BRIX_UPDATE_GOLDEN=1 rewrites them; check every change by eye).
#include "golden_files.h"

namespace brix::test {

inline void expectGolden(const QString& name, const QByteArray& bytes) {
    const QString path = QStringLiteral(BRIX_SOURCE_DIR "/tests/catalogue/data/golden/") + name;
    const QByteArray expected = goldenBytes(path, bytes);
    if (name.endsWith(QLatin1String(".bin")))
        EXPECT_EQ(bytes.toHex(' ').toStdString(), expected.toHex(' ').toStdString())
            << name.toStdString();
    else
        EXPECT_EQ(bytes.toStdString(), expected.toStdString()) << name.toStdString();
}

} // namespace brix::test
