#include "kontrola_skladu.h"

#include "database.h"
#include "datacis.h"
#include "query.h"
#include "table.h"

#include <map>
#include <memory>

namespace brix::sklad {

namespace {

// One record of a result, kept after the query has moved on.
class Zaznam : public RecordSource {
public:
    Zaznam(std::shared_ptr<const QVector<FieldDef>> pole, QVector<QVariant> hodnoty)
        : pole_(std::move(pole)), hodnoty_(std::move(hodnoty)) {}
    int fieldCount() const override { return int(pole_->size()); }
    const FieldDef& fieldDef(int i) const override { return (*pole_)[i]; }
    int fieldIndex(const QString& name) const override {
        for (int i = 0; i < pole_->size(); ++i)
            if ((*pole_)[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }
    QVariant fieldValue(int i) const override { return hodnoty_[i]; }
    void setFieldValue(int, const QVariant&) override {}
    QString sourceName() const override { return QStringLiteral("Zaznam"); }

private:
    std::shared_ptr<const QVector<FieldDef>> pole_;
    QVector<QVariant> hodnoty_;
};

// Every record of a table, whole.
std::vector<Zaznam> nacti(Database& db, const QString& tabulka) {
    std::vector<Zaznam> out;
    if (!db.findTable(tabulka)) return out;
    Query q(db, QStringLiteral("SELECT * FROM \"%1\"").arg(tabulka));
    q.open();
    auto pole = std::make_shared<QVector<FieldDef>>();
    for (int i = 0; i < q.fieldCount(); ++i)
        pole->push_back(q.fieldDef(i));
    for (q.first(); !q.eof(); q.next()) {
        QVector<QVariant> hodnoty;
        hodnoty.reserve(q.fieldCount());
        for (int i = 0; i < q.fieldCount(); ++i)
            hodnoty.push_back(q.fieldValue(i));
        out.emplace_back(pole, std::move(hodnoty));
    }
    return out;
}

struct Misto {
    qint64 cisVyr;
    QString sklad;
    bool operator<(const Misto& o) const {
        return cisVyr != o.cisVyr ? cisVyr < o.cisVyr : sklad < o.sklad;
    }
};

struct Soucty {
    Decimal ks, kc, rezervace;
};

QString cislo(Decimal d) {
    return d.toShortString();
}

QString misto(const Misto& m) {
    return QStringLiteral("výrobek %1, sklad \"%2\"").arg(m.cisVyr).arg(m.sklad);
}

// A ledger record or an expected one, as they are compared.
struct Radek {
    qint64 porCis;
    QString smer;
    QString sklad;
    qint64 cisVyr;
    Decimal mnozstvi;
    bool operator<(const Radek& o) const {
        return std::tie(porCis, smer, sklad, cisVyr, mnozstvi) <
               std::tie(o.porCis, o.smer, o.sklad, o.cisVyr, o.mnozstvi);
    }
    bool operator==(const Radek& o) const = default;
    QString text() const {
        return QStringLiteral("položka %1 %2 sklad \"%3\" výrobek %4 množství %5")
            .arg(porCis)
            .arg(smer, sklad)
            .arg(cisVyr)
            .arg(cislo(mnozstvi));
    }
};

class Kontrola {
public:
    Kontrola(Database& db, const NastaveniKontroly& n) : db_(db), n_(n) {}

    QStringList proved() {
        nactiVyrobky();
        zasobyProtiDeniku();
        vyrobkyProtiZasobam();
        for (const RodinaDokladu* r : RodinaDokladu::vsechny())
            doklady(*r);
        if (n_.rezervace) rezervace();
        return rozdily_;
    }

private:
    void nactiVyrobky() {
        for (const Zaznam& v : nacti(db_, QStringLiteral("Ciselnik\\Vyrobky")))
            vyrobky_.emplace(cisloPole(v, QStringLiteral("Cis_vyr")), v);
    }

    void zasobyProtiDeniku() {
        std::map<Misto, Soucty> denik;
        for (const Zaznam& z : nacti(db_, QStringLiteral("Sklady\\SklPol"))) {
            const int s = textPole(z, QStringLiteral("P_V")).toUpper() == "V" ? -1 : 1;
            Soucty& t = denik[{cisloPole(z, QStringLiteral("Cis_Vyr")),
                               textPole(z, QStringLiteral("Cis_Sklad"))}];
            t.ks += Decimal(s) * castkaPole(z, QStringLiteral("Mnozstvi"));
            t.kc += Decimal(s) * castkaPole(z, QStringLiteral("SklCena"));
            denikDokladu_[textPole(z, QStringLiteral("Druh_Uctu")).toUpper()]
                         [cisloPole(z, QStringLiteral("Cis_Uctu"))]
                             .push_back({cisloPole(z, QStringLiteral("PorCis")),
                                         textPole(z, QStringLiteral("P_V")).toUpper(),
                                         textPole(z, QStringLiteral("Cis_Sklad")),
                                         cisloPole(z, QStringLiteral("Cis_Vyr")),
                                         castkaPole(z, QStringLiteral("Mnozstvi"))});
        }
        for (const Zaznam& z : nacti(db_, QStringLiteral("Sklady\\SklZas"))) {
            const Misto m{cisloPole(z, QStringLiteral("Cis_Vyr")),
                          textPole(z, QStringLiteral("Cis_Sklad"))};
            Soucty& r = zasoby_[m];
            r.ks = castkaPole(z, QStringLiteral("SklZas_ks"));
            r.kc = castkaPole(z, QStringLiteral("SklZas_kc"));
            r.rezervace = castkaPole(z, QStringLiteral("Rezervace"));
            const Soucty d = denik.count(m) ? denik[m] : Soucty{};
            if (r.ks != d.ks)
                rozdil(QStringLiteral("Zásoba (%1): množství %2, součet pohybů %3")
                           .arg(misto(m), cislo(r.ks), cislo(d.ks)));
            if (r.kc != d.kc)
                rozdil(QStringLiteral("Zásoba (%1): hodnota %2, součet pohybů %3")
                           .arg(misto(m), cislo(r.kc), cislo(d.kc)));
        }
        for (const auto& [m, d] : denik)
            if (!zasoby_.count(m) && (!d.ks.isZero() || !d.kc.isZero()))
                rozdil(QStringLiteral("Zásoba (%1) chybí, součet pohybů %2 ks, %3 Kč")
                           .arg(misto(m), cislo(d.ks), cislo(d.kc)));
    }

    void vyrobkyProtiZasobam() {
        std::map<qint64, Soucty> soucty;
        for (const auto& [m, r] : zasoby_) {
            Soucty& s = soucty[m.cisVyr];
            s.ks += r.ks;
            s.kc += r.kc;
            s.rezervace += r.rezervace;
        }
        for (const auto& [cisVyr, v] : vyrobky_) {
            const Soucty s = soucty.count(cisVyr) ? soucty[cisVyr] : Soucty{};
            const Decimal ks = castkaPole(v, QStringLiteral("SklZas_Ks"));
            const Decimal kc = castkaPole(v, QStringLiteral("SklZas_Kc"));
            const Decimal rez = castkaPole(v, QStringLiteral("Rezervace"));
            const Decimal dispon = castkaPole(v, QStringLiteral("DisponMn"));
            const QString kdo = QStringLiteral("Výrobek %1").arg(cisVyr);
            if (ks != s.ks)
                rozdil(
                    kdo +
                    QStringLiteral(": zásoba %1 ks, součet skladů %2").arg(cislo(ks), cislo(s.ks)));
            if (kc != s.kc)
                rozdil(
                    kdo +
                    QStringLiteral(": zásoba %1 Kč, součet skladů %2").arg(cislo(kc), cislo(s.kc)));
            if (rez != s.rezervace)
                rozdil(kdo + QStringLiteral(": rezervace %1, součet skladů %2")
                                 .arg(cislo(rez), cislo(s.rezervace)));
            if (dispon != ks - rez)
                rozdil(kdo + QStringLiteral(": disponibilní množství %1, má být %2")
                                 .arg(cislo(dispon), cislo(ks - rez)));
        }
        for (const auto& [cisVyr, s] : soucty)
            if (!vyrobky_.count(cisVyr) && (!s.ks.isZero() || !s.kc.isZero()))
                rozdil(
                    QStringLiteral("Zásoba výrobku %1, který není v evidenci výrobků").arg(cisVyr));
    }

    void doklady(const RodinaDokladu& r) {
        if (!db_.findTable(r.hlavicka) || !db_.findTable(r.polozky)) return;
        NastaveniPohybu np;
        np.rezervace = n_.rezervace;
        np.klicVyrobku = n_.klicVyrobku;
        std::map<qint64, std::vector<const Zaznam*>> polozky;
        const std::vector<Zaznam> vsechnyPolozky = nacti(db_, r.polozky);
        for (const Zaznam& p : vsechnyPolozky)
            polozky[cisloPole(p, QStringLiteral("CIS_UCTU"))].push_back(&p);
        std::map<qint64, std::vector<Radek>>& denik = denikDokladu_[QString(r.druhUctu)];
        std::map<qint64, bool> maHlavicku;
        qint64 nejvyssi = 0;
        std::map<qint64, const Zaznam*> navazne;
        std::map<qint64, std::vector<const Zaznam*>> navaznePolozky;
        std::vector<Zaznam> hlNavazne, polNavazne;
        if (r.navaznost) {
            hlNavazne = nacti(db_, r.navaznost->hlavicka);
            polNavazne = nacti(db_, r.navaznost->polozky);
            for (const Zaznam& h : hlNavazne)
                navazne[cisloPole(h, QStringLiteral("CIS_UCTU"))] = &h;
            for (const Zaznam& p : polNavazne)
                navaznePolozky[cisloPole(p, QStringLiteral("CIS_UCTU"))].push_back(&p);
        }
        for (const Zaznam& h : nacti(db_, r.hlavicka)) {
            const qint64 cis = cisloPole(h, QStringLiteral("CIS_UCTU"));
            nejvyssi = std::max(nejvyssi, cis);
            maHlavicku[cis] = true;
            const QString kdo = QStringLiteral("Doklad %1 %2").arg(r.druhUctu).arg(cis);
            QString stav = textPole(h, QStringLiteral("STAV")).toUpper();
            if (stav.isEmpty()) stav = QStringLiteral("0");
            const bool uzavren = stav == QLatin1String("2");
            std::vector<Radek> ocekavane;
            std::vector<Radek> skutecne = denik.count(cis) ? denik[cis] : std::vector<Radek>{};
            for (const Zaznam* p : polozky[cis]) {
                const qint64 porCis = cisloPole(*p, QStringLiteral("PorCis"));
                if (!uzavren && !neuctovana(*p))
                    rozdil(
                        kdo +
                        QStringLiteral(": otevřený doklad má zaúčtovanou položku %1").arg(porCis));
                if (neuctovana(*p)) {
                    for (const Pohyb& m : r.pohyby(&h, *p, np, nullptr))
                        if (vyrobky_.count(m.cisVyr) && !m.rezervace.isZero())
                            rezervace_[{m.cisVyr, m.sklad}] += m.rezervace;
                    continue;
                }
                if (!vyrobky_.count(cisloPole(*p, QStringLiteral("Cis_Vyr")))) continue;
                for (const Pohyb& m : r.pohyby(&h, *p, np, nullptr))
                    ocekavane.push_back({porCis, textSmeru(m.smer), m.sklad, m.cisVyr, m.mnozstvi});
            }
            std::sort(ocekavane.begin(), ocekavane.end());
            std::sort(skutecne.begin(), skutecne.end());
            if (ocekavane != skutecne) {
                for (const Radek& x : ocekavane)
                    if (!std::binary_search(skutecne.begin(), skutecne.end(), x))
                        rozdil(kdo + QStringLiteral(": chybí pohyb ") + x.text());
                for (const Radek& x : skutecne)
                    if (!std::binary_search(ocekavane.begin(), ocekavane.end(), x))
                        rozdil(kdo + QStringLiteral(": navíc pohyb ") + x.text());
                if (ocekavane.size() != skutecne.size())
                    rozdil(kdo + QStringLiteral(": %1 pohybů, má být %2")
                                     .arg(skutecne.size())
                                     .arg(ocekavane.size()));
            }
            for (const auto& [pole, polePolozky] : r.soucty) {
                Decimal soucet;
                for (const Zaznam* p : polozky[cis])
                    soucet += castkaPole(*p, polePolozky);
                const Decimal hodnota = castkaPole(h, pole);
                if (hodnota != soucet)
                    rozdil(kdo + QStringLiteral(": %1 %2, součet položek %3")
                                     .arg(pole, cislo(hodnota), cislo(soucet)));
            }
            if (r.navaznost) navazny(r, h, kdo, stav, polozky[cis], navazne, navaznePolozky);
        }
        for (const auto& [cis, radky] : denik)
            if (!maHlavicku.count(cis))
                rozdil(QStringLiteral("Doklad %1 %2 neexistuje, v deníku má %3 pohybů")
                           .arg(r.druhUctu)
                           .arg(cis)
                           .arg(radky.size()));
        rada(r.typUctu, nejvyssi, QString(r.druhUctu));
        if (r.navaznost) {
            qint64 n = 0;
            for (const auto& [cis, h] : navazne)
                n = std::max(n, cis);
            rada(r.navaznost->typUctu, n, r.navaznost->hlavicka);
        }
    }

    void navazny(const RodinaDokladu& r, const Zaznam& h, const QString& kdo, const QString& stav,
                 const std::vector<const Zaznam*>& polozky,
                 const std::map<qint64, const Zaznam*>& navazne,
                 const std::map<qint64, std::vector<const Zaznam*>>& navaznePolozky) {
        const Navaznost& n = *r.navaznost;
        const QString odkaz = textPole(h, n.poleOdkazu);
        bool ok = false;
        const qint64 cislo = odkaz.toLongLong(&ok);
        if (stav != QLatin1String("2") && stav != QLatin1String("S")) return;
        if (!ok || !navazne.count(cislo)) {
            if (stav == QLatin1String("2"))
                rozdil(kdo + QStringLiteral(": chybí navazující doklad \"%1\"").arg(odkaz));
            return;
        }
        const auto it = navaznePolozky.find(cislo);
        const std::vector<const Zaznam*> kopie =
            it == navaznePolozky.end() ? std::vector<const Zaznam*>{} : it->second;
        if (stav == QLatin1String("S")) {
            if (stavHlavicky(*navazne.at(cislo)) != QLatin1String("S") || !kopie.empty())
                rozdil(kdo + QStringLiteral(": navazující doklad %1 není stornován").arg(cislo));
            return;
        }
        auto klic = [](const Zaznam* p) {
            return std::tuple(cisloPole(*p, QStringLiteral("PorCis")),
                              cisloPole(*p, QStringLiteral("Cis_Vyr")),
                              castkaPole(*p, QStringLiteral("Mnozstvi")),
                              castkaPole(*p, QStringLiteral("PC_NettoC")));
        };
        std::vector<decltype(klic(nullptr))> a, b;
        for (const Zaznam* p : polozky)
            a.push_back(klic(p));
        for (const Zaznam* p : kopie)
            b.push_back(klic(p));
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        if (a != b)
            rozdil(kdo + QStringLiteral(": položky navazujícího dokladu %1 nesouhlasí (%2 a %3)")
                             .arg(cislo)
                             .arg(a.size())
                             .arg(b.size()));
    }

    static QString stavHlavicky(const RecordSource& h) {
        const QString s = textPole(h, QStringLiteral("STAV")).toUpper();
        return s.isEmpty() ? QStringLiteral("0") : s;
    }

    void rezervace() {
        for (const auto& [m, r] : zasoby_) {
            const Decimal ocekavana = rezervace_.count(m) ? rezervace_[m] : Decimal();
            if (r.rezervace != ocekavana)
                rozdil(QStringLiteral("Zásoba (%1): rezervace %2, otevřené doklady %3")
                           .arg(misto(m), cislo(r.rezervace), cislo(ocekavana)));
        }
        for (const auto& [m, d] : rezervace_)
            if (!zasoby_.count(m) && !d.isZero())
                rozdil(QStringLiteral("Zásoba (%1) chybí, otevřené doklady rezervují %2")
                           .arg(misto(m), cislo(d)));
    }

    void rada(const QString& typ, qint64 nejvyssi, const QString& kdo) {
        if (nejvyssi <= 0) return;
        if (rady_.empty())
            for (const Zaznam& z : nacti(db_, QStringLiteral("Ciselnik\\Cis_uctu")))
                rady_[textPole(z, QStringLiteral("Typ_Uctu")).toUpper()] =
                    cisloPole(z, QStringLiteral("PrvCis"));
        const auto it = rady_.find(typ.toUpper());
        if (it == rady_.end()) return; // a type without a series proposes no numbers
        if (it->second <= nejvyssi)
            rozdil(QStringLiteral("Číselná řada %1 nabízí %2, doklady %3 mají již číslo %4")
                       .arg(typ)
                       .arg(it->second)
                       .arg(kdo)
                       .arg(nejvyssi));
    }

    void rozdil(const QString& text) { rozdily_ << text; }

    Database& db_;
    NastaveniKontroly n_;
    QStringList rozdily_;
    std::map<qint64, Zaznam> vyrobky_;
    std::map<Misto, Soucty> zasoby_;
    std::map<Misto, Decimal> rezervace_;
    std::map<QString, std::map<qint64, std::vector<Radek>>> denikDokladu_;
    std::map<QString, qint64> rady_;
};

} // namespace

QStringList KontrolaSkladu(Database& db, const NastaveniKontroly& nastaveni) {
    return Kontrola(db, nastaveni).proved();
}

QStringList KontrolaSkladu(Database& db) {
    NastaveniKontroly n;
    if (db.findTable(QStringLiteral("Nastaven\\Nast_Pr"))) {
        Table t(db, QStringLiteral("Nastaven\\Nast_Pr"));
        n.rezervace = nactiNastaveniTabulky(t).REZERVACE;
    }
    return Kontrola(db, n).proved();
}

} // namespace brix::sklad
