#include "format_util.h"

#include <QDir>
#include <QFileInfo>

namespace brix::formats::detail {

QString withSuffix(const QString& path, const QString& suffix) {
    QFileInfo fi(path);
    if (fi.suffix().compare(suffix, Qt::CaseInsensitive) == 0) return path;
    return path + QLatin1Char('.') + suffix;
}

QString companion(const QString& path, const QString& suffix) {
    QFileInfo fi(path);
    const QString base = fi.completeBaseName();
    QDir dir = fi.absoluteDir();
    for (const QString& e : dir.entryList(QDir::Files)) {
        QFileInfo ei(e);
        if (ei.completeBaseName() == base && ei.suffix().compare(suffix, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    }
    return dir.filePath(base + QLatin1Char('.') + suffix);
}

TextCodec TextCodec::forCodePage(int codePage) {
    TextCodec c;
    switch (codePage) {
    case 0:
    case 1250:
        return c;
    case 852:
        c.own_ = brix::Codepage::Cp852;
        c.codePage_ = codePage;
        return c;
    case 867:
    case 895:
        c.own_ = brix::Codepage::Kamenicky;
        c.codePage_ = codePage;
        return c;
    default:
        break;
    }
    // Converters know the DOS code pages as "IBM<n>" and the Windows ones as "windows-<n>".
    const QByteArray name =
        (codePage >= 1250 && codePage <= 1258 ? "windows-" : "IBM") + QByteArray::number(codePage);
    c = forName(name.constData());
    if (c.other_) c.codePage_ = codePage;
    return c;
}

TextCodec TextCodec::forName(const char* name) {
    TextCodec c;
    auto decoder = std::make_shared<QStringDecoder>(name, QStringConverter::Flag::Stateless);
    if (!decoder->isValid()) return c;
    c.other_ = std::move(decoder);
    c.codePage_ = 0;
    return c;
}

QString TextCodec::decode(QByteArrayView bytes) const {
    if (!other_) return brix::decode(bytes, own_);
    other_->resetState();
    return other_->decode(bytes);
}

} // namespace brix::formats::detail
