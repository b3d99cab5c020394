#include "zasoby.h"

#include "datacis.h"

namespace brix::sklad {

namespace {

const QString kVyrobky = QStringLiteral("Ciselnik\\Vyrobky");
const QString kZasoby = QStringLiteral("Sklady\\SklZas");
const QString kDenik = QStringLiteral("Sklady\\SklPol");

void pricti(Table& t, const QString& pole, Decimal d) {
    if (d.isZero()) return;
    Field f = t.field(pole);
    f.setDecimal(f.asDecimal() + d);
}

struct Klic {
    qint64 cisVyr;
    QString sklad;
    bool operator<(const Klic& o) const {
        return cisVyr != o.cisVyr ? cisVyr < o.cisVyr : sklad < o.sklad;
    }
};

} // namespace

KontextPohybu::KontextPohybu(Database& db, NastaveniPohybu nastaveni)
    : db_(db), nastaveni_(std::move(nastaveni)) {}

KontextPohybu::~KontextPohybu() = default;

Table& KontextPohybu::tabulka(const QString& adresa) {
    const TableDef& def = db_.table(adresa);
    auto& slot = tabulky_[def.sqlName];
    if (!slot) {
        slot = std::make_unique<Table>(db_, def.address());
        pravidlaSkladovychCisel(*slot);
        if (def.sqlName == QLatin1String("sklady_sklpol"))
            slot->setIndexName(QStringLiteral("CisUctu"));
        else
            slot->setIndexName(QString());
    }
    if (!slot->active()) slot->open();
    return *slot;
}

// The three cursors every movement uses, kept at hand.
Table& KontextPohybu::vyrobky() {
    if (!vyrobky_ || !vyrobky_->active()) vyrobky_ = &tabulka(kVyrobky);
    return *vyrobky_;
}

Table& KontextPohybu::zasoby() {
    if (!zasoby_ || !zasoby_->active()) zasoby_ = &tabulka(kZasoby);
    return *zasoby_;
}

Table& KontextPohybu::denik() {
    if (!denik_ || !denik_->active()) denik_ = &tabulka(kDenik);
    return *denik_;
}

void KontextPohybu::zrusUpravy() {
    for (auto& [adresa, t] : tabulky_)
        if (t->active()) t->cancel();
}

bool KontextPohybu::najdiVyrobek(qint64 cisVyr) {
    return vyrobky().findKey({cisVyr});
}

std::vector<Pohyb> KontextPohybu::rezervacePolozky(const RodinaDokladu& rodina,
                                                   const RecordSource* hlavicka,
                                                   const RecordSource& polozka) {
    std::vector<Pohyb> out;
    if (!nastaveni_.rezervace || !neuctovana(polozka) || !skladova(polozka)) return out;
    const qint64 cisVyr = cisloPole(polozka, QStringLiteral("Cis_Vyr"));
    if (!najdiVyrobek(cisVyr)) return out;
    for (Pohyb& p : rodina.pohyby(hlavicka, polozka, nastaveni_, nullptr))
        if (!p.rezervace.isZero()) out.push_back(std::move(p));
    return out;
}

void KontextPohybu::ZmenaRezervace(const std::vector<Pohyb>& stare,
                                   const std::vector<Pohyb>& nove) {
    if (!nastaveni_.rezervace) return;
    std::map<Klic, std::pair<Decimal, QString>> rozdil; // difference and the order code
    for (const Pohyb& p : stare)
        rozdil[{p.cisVyr, p.sklad}].first -= p.rezervace;
    for (const Pohyb& p : nove) {
        auto& r = rozdil[{p.cisVyr, p.sklad}];
        r.first += p.rezervace;
        r.second = p.objCis;
    }
    for (const auto& [klic, r] : rozdil) {
        if (r.first.isZero()) continue;
        QString objCis = r.second;
        if (objCis.isEmpty())
            for (const Pohyb& p : stare)
                if (p.cisVyr == klic.cisVyr) objCis = p.objCis;
        pridejNaSklad(klic.cisVyr, objCis, klic.sklad, Decimal(), Decimal(), r.first);
    }
}

void KontextPohybu::ZmenaRezervacePolozky(const RodinaDokladu& rodina, Table& polozky,
                                          bool smazat) {
    if (!nastaveni_.rezervace) return;
    const RecordSource* hlavicka = polozky.master();
    try {
        std::vector<Pohyb> stare, nove;
        const Table::Bookmark ulozena = polozky.bookmark();
        if (ulozena != 0 && polozky.state() != TableState::Insert) {
            // The stored record, read through a cursor of its own: `polozky` may be one of this
            // context's cursors.
            auto& t = ulozene_[rodina.polozky];
            if (!t) t = std::make_unique<Table>(db_, rodina.polozky);
            if (!t->active()) t->open();
            if (t->gotoBookmark(ulozena)) stare = rezervacePolozky(rodina, hlavicka, *t);
        }
        if (!smazat) nove = rezervacePolozky(rodina, hlavicka, polozky);
        ZmenaRezervace(stare, nove);
    } catch (const StorageError& e) {
        const bool vyrobky = e.table().contains(QStringLiteral("Vyrobky"), Qt::CaseInsensitive);
        throw StorageError(e.kind(),
                           (vyrobky ? QStringLiteral("Chyba na dbf Vyrobky:")
                                    : QStringLiteral("Chyba na dbf Sklady:")) +
                               e.message(),
                           e.table(), e.field(), e.position());
    }
}

Table& KontextPohybu::radekZasoby(qint64 cisVyr, const QString& objCis, const QString& sklad,
                                  bool* vytvorena) {
    Table& zas = zasoby();
    const bool nalezena = zas.findKey({cisVyr, sklad});
    if (vytvorena) *vytvorena = !nalezena;
    if (nalezena) {
        zas.edit(); // the row as it is now, under the write lock
        return zas;
    }
    zas.insert();
    zas.field(QStringLiteral("Cis_Vyr")).setInteger(cisVyr);
    zas.field(QStringLiteral("ObjCis")).setString(objCis);
    zas.field(QStringLiteral("Cis_Sklad")).setString(sklad);
    for (const char* pole : {"Rezervace", "Objednano", "SklZas_ks", "SklZas_kc"})
        zas.field(QString::fromLatin1(pole)).setFloat(0);
    return zas;
}

bool KontextPohybu::stavZasoby(qint64 cisVyr, const QString& sklad, Decimal* ks, Decimal* kc,
                               Decimal* rezervace) {
    Table& zas = zasoby();
    const bool nalezena = zas.findKey({cisVyr, sklad});
    if (ks) *ks = nalezena ? zas.field(QStringLiteral("SklZas_ks")).asDecimal() : Decimal();
    if (kc) *kc = nalezena ? zas.field(QStringLiteral("SklZas_kc")).asDecimal() : Decimal();
    if (rezervace)
        *rezervace = nalezena ? zas.field(QStringLiteral("Rezervace")).asDecimal() : Decimal();
    return nalezena;
}

bool KontextPohybu::pridejNaSklad(qint64 cisVyr, const QString& objCis, const QString& sklad,
                                  Decimal ks, Decimal kc, Decimal rezervace) {
    bool vytvorena = false;
    Table& zas = radekZasoby(cisVyr, objCis, sklad, &vytvorena);
    pricti(zas, QStringLiteral("SklZas_ks"), ks);
    pricti(zas, QStringLiteral("SklZas_kc"), kc);
    pricti(zas, QStringLiteral("Rezervace"), rezervace);
    zas.post();

    Table& vyr = vyrobky();
    if (!vyr.findKey({cisVyr})) return !vytvorena;
    vyr.edit();
    pricti(vyr, QStringLiteral("SklZas_Ks"), ks);
    pricti(vyr, QStringLiteral("SklZas_Kc"), kc);
    pricti(vyr, QStringLiteral("Rezervace"), rezervace);
    vyr.post();
    return !vytvorena;
}

} // namespace brix::sklad
