#include "heslo.h"

#include "czech.h"

#include <QRandomGenerator>
#include <QStringList>

#include <openssl/evp.h>

namespace brix {

namespace {

constexpr int kDelkaSoli = 16;
constexpr int kDelkaKlice = 32;
const QString kZnacka = QStringLiteral("pbkdf2-sha256");
int gIterace = 100000;

QByteArray klic(const QString& heslo, const QByteArray& sul, int iterace) {
    const QByteArray h = czech::upper(heslo).toUtf8();
    QByteArray out(kDelkaKlice, Qt::Uninitialized);
    if (PKCS5_PBKDF2_HMAC(h.constData(), int(h.size()),
                          reinterpret_cast<const unsigned char*>(sul.constData()), int(sul.size()),
                          iterace, EVP_sha256(), kDelkaKlice,
                          reinterpret_cast<unsigned char*>(out.data())) != 1)
        return QByteArray();
    return out;
}

// Compares without stopping at the first difference.
bool stejne(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char rozdil = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        rozdil |= static_cast<unsigned char>(a[i] ^ b[i]);
    return rozdil == 0;
}

} // namespace

int NastavPocetIteraci(int iterace) {
    int pred = gIterace;
    gIterace = qMax(1, iterace);
    return pred;
}

QString HashHesla(const QString& heslo) {
    if (heslo.isEmpty()) return QString();
    QByteArray sul(kDelkaSoli, Qt::Uninitialized);
    QRandomGenerator::system()->generate(reinterpret_cast<quint32*>(sul.data()),
                                         reinterpret_cast<quint32*>(sul.data() + sul.size()));
    return QStringList{kZnacka, QString::number(gIterace), QString::fromLatin1(sul.toBase64()),
                       QString::fromLatin1(klic(heslo, sul, gIterace).toBase64())}
        .join(QLatin1Char('$'));
}

bool JeHashHesla(const QString& text) {
    return text.startsWith(kZnacka + QLatin1Char('$'));
}

bool OverHeslo(const QString& heslo, const QString& hash) {
    if (heslo.isEmpty() || !JeHashHesla(hash)) return false;
    const QStringList casti = hash.split(QLatin1Char('$'));
    if (casti.size() != 4) return false;
    bool ok = false;
    const int iterace = casti[1].toInt(&ok);
    if (!ok || iterace < 1 || iterace > 10000000) return false;
    const QByteArray sul = QByteArray::fromBase64(casti[2].toLatin1());
    const QByteArray ocekavany = QByteArray::fromBase64(casti[3].toLatin1());
    if (sul.isEmpty() || ocekavany.size() != kDelkaKlice) return false;
    const QByteArray k = klic(heslo, sul, iterace);
    return !k.isEmpty() && stejne(k, ocekavany);
}

} // namespace brix
