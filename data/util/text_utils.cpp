#include "text_utils.h"

#include "path_resolver.h"

#include <QDir>
#include <QRandomGenerator>

#include <array>
#include <cmath>

namespace brix {

QString OrizniVpravo(QStringView text) {
    qsizetype n = text.size();
    while (n > 0 && (text[n - 1] == QLatin1Char(' ') || text[n - 1] == QChar(0)))
        --n;
    return text.left(n).toString();
}

QString DoplnMezery(QStringView text, int width) {
    qsizetype missing = qsizetype(width) - text.size();
    return missing > 0 ? QString(missing, QLatin1Char(' ')) : QString();
}

QByteArray PrevodDosTextu(QByteArrayView bytes) {
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = static_cast<unsigned char>(i);
        const unsigned char pairs[][2] = {
            {0x82, 0xE9}, {0x85, 0xF9}, {0x87, 0xE8}, {0x88, 0xEC}, {0x9F, 0xE8}, {0xA0, 0xE1},
            {0xA1, 0xED}, {0xA7, 0x9E}, {0xA9, 0xF8}, {0xAC, 0xC8}, {0xD8, 0xEC}, {0xE6, 0x8A},
            {0xE7, 0x9A}, {0xEC, 0xFD}, {0xFC, 0xF8}, {0xFD, 0xF8},
        };
        for (const auto& p : pairs)
            t[p[0]] = p[1];
        return t;
    }();
    QByteArray out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
    return out;
}

int PocetDniVMesici(int rok, int mesic) {
    static constexpr int delky[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mesic < 1 || mesic > 12) return 0;
    int dni = delky[mesic - 1];
    if (mesic == 2 && rok % 4 == 0) ++dni;
    return dni;
}

int PocetDni(QDate zacatek, QDate konec) {
    if (!zacatek.isValid() || !konec.isValid()) return 0;
    int dni = konec.day();
    if (konec.year() < zacatek.year()) return dni;
    int rok = zacatek.year(), mesic = zacatek.month();
    while (rok < konec.year() || (rok == konec.year() && mesic < konec.month())) {
        dni += PocetDniVMesici(rok, mesic);
        if (++mesic > 12) {
            mesic = 1;
            ++rok;
        }
    }
    return dni;
}

QString NazevPracovniTabulky(const std::function<bool(const QString&)>& obsazeno) {
    auto taken = [&](const QString& name) {
        if (obsazeno) return obsazeno(name);
        return resolvePath(QDir::currentPath(), name + QStringLiteral(".db")).exists;
    };
    for (int attempt = 0; attempt < 1000000; ++attempt) {
        double x = QRandomGenerator::global()->generateDouble();
        QString name = QString::number(std::llround(x * 1000000.0 + 1000000.0));
        if (!taken(name)) return name;
    }
    return QString();
}

bool PlatneICO(QStringView ico) {
    if (ico.size() != 8) return false;
    int soucet = 0;
    for (int i = 0; i < 8; ++i) {
        if (ico[i] < u'0' || ico[i] > u'9') return false;
        if (i < 7) soucet += (ico[i].unicode() - u'0') * (8 - i);
    }
    const int zbytek = soucet % 11;
    const int kontrolni = zbytek == 0 ? 1 : zbytek == 1 ? 0 : 11 - zbytek;
    return ico[7].unicode() - u'0' == kontrolni;
}

bool PlatnePSC(QStringView psc) {
    QString cislice = psc.toString();
    if (cislice.size() == 6) {
        if (cislice[3] != u' ') return false;
        cislice.remove(3, 1);
    }
    if (cislice.size() != 5) return false;
    for (QChar c : cislice)
        if (c < u'0' || c > u'9') return false;
    return true;
}

} // namespace brix
