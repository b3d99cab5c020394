#include "firmy.h"

#include "bulk.h"
#include "codec.h"
#include "table.h"
#include "util/text_utils.h"

#include <array>

namespace brix {

namespace {

// The record's layout: field and buffer size, in the order of the record.
struct PoleSchranky {
    const char* pole;
    int delka;
    QString SchrankaFirmy::*hodnota;
};

const std::array<PoleSchranky, 9>& rozlozeni() {
    static const std::array<PoleSchranky, 9> r{{{"Nazev", 40, &SchrankaFirmy::Nazev},
                                                {"Jmeno", 40, &SchrankaFirmy::Jmeno},
                                                {"Ulice", 40, &SchrankaFirmy::Ulice},
                                                {"Mesto", 40, &SchrankaFirmy::Mesto},
                                                {"Tlf1", 40, &SchrankaFirmy::Tlf1},
                                                {"Fax", 40, &SchrankaFirmy::Fax},
                                                {"PSC", 6, &SchrankaFirmy::PSC},
                                                {"ICO", 12, &SchrankaFirmy::ICO},
                                                {"DIC", 20, &SchrankaFirmy::DIC}}};
    return r;
}

} // namespace

bool PlatneCisloFirmy(const QVariant& cislo) {
    if (cislo.isNull()) return false;
    bool ok = false;
    const qint64 n = cislo.toLongLong(&ok);
    return ok && n >= 1 && n <= kNejvyssiCisloFirmy;
}

qint64 DalsiCisloFirmy(Table& firmy, qint64 nabizene) {
    Table t(firmy.database(), firmy.def().address());
    t.open();
    t.setIndexName(QString()); // the partner number
    qint64 n = std::max<qint64>(1, nabizene);
    while (t.findKey({n}))
        ++n;
    return n;
}

bool NazevObsahuje(Table& firmy, const QString& text) {
    LocateOptions o;
    o.caseInsensitive = true;
    o.contains = true;
    o.fromCurrent = true;
    if (firmy.locate(QStringLiteral("Nazev"), {text}, o)) return true;
    firmy.last();
    return false;
}

void RozsahNazvuFirem(Table& firmy, const QString& odpoved) {
    firmy.cancelRange();
    firmy.setIndexFieldNames(QStringLiteral("Nazev"));
    if (odpoved.isEmpty()) return;
    // A character past every letter of the index's collation closes the range after every
    // name that continues the answer.
    firmy.setRange({odpoved}, {odpoved + QChar(0xFFFF)});
    firmy.last();
}

void SmazFirmu(Table& firmy, Table& zapisy) {
    Database& db = firmy.database();
    const QVariant cislo = firmy.field(QStringLiteral("Cis_firmy")).value();
    Database::Transaction tx(db);
    if (!cislo.isNull()) deleteRows(db, zapisy.def(), QStringLiteral("Cis_Firmy"), cislo);
    firmy.remove();
    tx.commit();
    if (zapisy.active()) zapisy.refresh();
}

bool ExistujeMena(Database& db, const QString& kod) {
    const TableDef* meny = db.findTable(QStringLiteral("Ciselnik\\Meny"));
    return meny && !kod.trimmed().isEmpty() &&
           countRows(db, *meny, QStringLiteral("KOD_Meny"), OrizniVpravo(kod)) > 0;
}

// ---- clipboard ------------------------------------------------------------------------------

SchrankaFirmy SchrankaFirmy::zFirmy(Table& firmy) {
    SchrankaFirmy f;
    for (const PoleSchranky& p : rozlozeni())
        f.*p.hodnota = firmy.field(QString::fromLatin1(p.pole)).asString();
    return f;
}

void SchrankaFirmy::doFirmy(Table& firmy) const {
    for (const PoleSchranky& p : rozlozeni())
        firmy.field(QString::fromLatin1(p.pole)).setString(this->*p.hodnota);
}

QByteArray ZaznamSchrankyFirmy(const SchrankaFirmy& f) {
    QByteArray out;
    out.reserve(kDelkaSchrankyFirmy);
    for (const PoleSchranky& p : rozlozeni()) {
        QByteArray text = encode(f.*p.hodnota).left(p.delka);
        out.append(char(text.size()));
        out.append(text);
        out.append(p.delka - text.size(), '\0');
    }
    return out;
}

QString TextSchrankyFirmy(const SchrankaFirmy& f) {
    const QString crlf = QStringLiteral("\r\n");
    return f.Nazev + crlf + f.Jmeno + crlf + f.Ulice + crlf + f.PSC + QStringLiteral("  ") +
           f.Mesto + crlf + crlf + QStringLiteral("Tlf:") + f.Tlf1 + crlf + QStringLiteral("Fax:") +
           f.Fax + crlf + QStringLiteral("ICO:") + f.ICO + crlf + QStringLiteral("DIC:") + f.DIC;
}

std::optional<SchrankaFirmy> CtiSchrankuFirmy(const QByteArray& data) {
    if (data.size() < kDelkaSchrankyFirmy) return std::nullopt;
    SchrankaFirmy f;
    int pos = 0;
    for (const PoleSchranky& p : rozlozeni()) {
        const int delka = std::min<int>(static_cast<unsigned char>(data[pos]), p.delka);
        f.*p.hodnota = OrizniVpravo(decode(QByteArrayView(data).sliced(pos + 1, delka)));
        pos += 1 + p.delka;
    }
    return f;
}

} // namespace brix
