#include "rizeni_dokladu.h"

#include "ceny_datacis.h"
#include "datacis.h"
#include "number_series.h"
#include "platform.h"
#include "storage_error.h"
#include "util/numeric.h"
#include "util/text_utils.h"

#include <QDateTime>

namespace brix::doklad {

namespace {

const QString kChyba = QStringLiteral("Chyba");
const QString kInformace = QStringLiteral("Informace");
const QString kVarovani = QStringLiteral("Varování");

Decimal castka(const Table& t, const QString& pole) {
    return sklad::castkaPole(t, pole);
}

QString text(const Table& t, const QString& pole) {
    return sklad::textPole(t, pole);
}

void nastav(Table& t, const QString& pole, const QVariant& hodnota) {
    const int i = t.fieldIndex(pole);
    if (i >= 0) t.setFieldValue(i, hodnota);
}

void nastavCastku(Table& t, const QString& pole, Decimal d) {
    nastav(t, pole, d.toDouble());
}

Decimal zaokrouhleno(Decimal x, Decimal krok) {
    ZaokrouhliKrok(x, krok);
    return x;
}

bool upravovana(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

QString cisloTextem(Decimal d) {
    return d.toShortString();
}

// What a storage failure of a save tells the user: the data module has shown the table's own
// message already (Abort); any other failure shows the engine's text.
void ukazChybu(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const Abort&) {
    } catch (const StorageError& s) {
        Platform::current().error(s.message());
    }
}

// The rebate of the product's rebate group (TableVyr current) for the header's branch, which
// must lie in 1..20 (else it becomes 1, with the warning).
Decimal rabatSkupiny(RizeniDokladu& r) {
    TDataCis& dm = r.dm();
    Table& h = r.hlavicka();
    Table& vyr = *dm.TableVyr;
    const QVariant skupina = vyr.fieldValue(vyr.fieldIndex(QStringLiteral("Cis_RabSkp")));
    std::optional<RabatniSkupina> g;
    if (!skupina.isNull()) g = r.ceny().rabatniSkupina(int(skupina.toLongLong()));
    if (!g) {
        UkazZpravyCeny(
            {{DruhZpravyCeny::RabatniSkupinaNenalezena,
              skupina.isNull() ? QString() : QString::number(skupina.toLongLong()), QDate()}});
        return Decimal();
    }
    int obor = int(sklad::cisloPole(h, QStringLiteral("Cis_Obor")));
    if (obor < 1 || obor > 20) {
        UkazZpravyCeny(
            {{DruhZpravyCeny::OborMimoRozsah, text(h, QStringLiteral("Cis_Obor")), QDate()}});
        obor = 1;
        if (!upravovana(h)) h.edit();
        nastav(h, QStringLiteral("Cis_Obor"), 1);
    }
    return g->Rabat[size_t(obor - 1)];
}

// Receipts and issues: the base price of the header's type, the rebate of the product's group
// for wholesale and retail prices, the display price after it.
void cenaSkladovehoDokladu(RizeniDokladu& r, bool prumernaSkladova) {
    Table& p = r.polozky();
    r.NactiCenu();
    const QString druh = text(r.hlavicka(), QStringLiteral("Druh_Ceny")).toUpper();
    Decimal rabat;
    if (druh == QLatin1String("VO") || druh == QLatin1String("MO")) rabat = rabatSkupiny(r);
    nastavCastku(p, QStringLiteral("Rabat"), rabat);
    const Decimal zobr = zaokrouhleno(castka(p, QStringLiteral("Zakl_Cena_Zobr")) *
                                          (Decimal(100) - rabat) / Decimal(100),
                                      r.krokPolozky());
    nastavCastku(p, QStringLiteral("Cena_Zobr"), zobr);
    Decimal skl = zobr;
    if (prumernaSkladova) {
        // An issue leaves at the average stock price of its warehouse.
        const Decimal krok = r.posilani().krokSkladKarty;
        skl = zaokrouhleno(r.ceny()
                               .CenaVyrobkuDleDruhu(QStringLiteral("IP"), QString(), krok,
                                                    text(p, QStringLiteral("Cis_Sklad")))
                               .cena,
                           krok);
    }
    nastavCastku(p, QStringLiteral("Cena_Skl"), skl);
}

VlastnostiDokladu skladovy(const sklad::RodinaDokladu& rodina, bool vydejka) {
    VlastnostiDokladu v;
    v.rodina = &rodina;
    v.typUctu = rodina.typUctu;
    v.cenaZVyrobku = [vydejka](RizeniDokladu& r) { cenaSkladovehoDokladu(r, vydejka); };
    v.prepocetPolozky = [vydejka](RizeniDokladu& r, Table& p, const PoleVstupu& pole) {
        // An issue divides at the price step and rounds its stock line too.
        PrepocetPolozkySkladu(p, pole, text(r.hlavicka(), QStringLiteral("Druh_Ceny")),
                              r.krokPolozky(), vydejka ? r.nastaveni().ZaokrCen : r.krokPolozky(),
                              vydejka);
    };
    v.poleVyrobku = {{"Cis_Vyr", "Cis_vyr"},   {"ObjCis", "ObjCis"},     {"Nazev", "Nazev"},
                     {"Kod_Ozn1", "Kod_Ozn1"}, {"Kod_Ozn2", "Kod_Ozn2"}, {"Kod_Ozn3", "Kod_Ozn3"},
                     {"DruhMn", "DruhMn"}};
    return v;
}

} // namespace

const VlastnostiDokladu& VlastnostiDokladu::prijemka() {
    static const VlastnostiDokladu v = skladovy(sklad::RodinaDokladu::prijemka(), false);
    return v;
}

const VlastnostiDokladu& VlastnostiDokladu::vydejka() {
    static const VlastnostiDokladu v = skladovy(sklad::RodinaDokladu::vydejka(), true);
    return v;
}

void PrepocetPolozkySkladu(Table& p, const PoleVstupu& pole, const QString& druhCeny,
                           Decimal krokPolozky, Decimal krokDeleni, bool zaokrouhlitSklad) {
    const Decimal q = TextNaCastku(pole.mnozstvi);
    const Decimal zobr = zaokrouhleno(TextNaCastku(pole.cenaZobr), krokPolozky);
    const Decimal skl = TextNaCastku(pole.cenaSkl);
    Decimal zobrC = q * zobr;
    Decimal sklC = q * skl;
    const QString druh = druhCeny.trimmed().toUpper();
    if (druh == QLatin1String("MO") || druh == QLatin1String("VO") || druh == QLatin1String("NC")) {
        const qint64 faktor = castka(p, QStringLiteral("Faktor")).truncated();
        if (faktor != 0) {
            zobrC = zaokrouhleno(zobrC / Decimal(faktor), krokDeleni);
            sklC = zaokrouhleno(sklC / Decimal(faktor), krokDeleni);
        } else {
            zobrC = sklC = Decimal();
        }
    }
    zobrC = zaokrouhleno(zobrC, krokPolozky);
    if (zaokrouhlitSklad) sklC = zaokrouhleno(sklC, krokPolozky);
    nastavCastku(p, QStringLiteral("Mnozstvi"), q);
    nastavCastku(p, QStringLiteral("Cena_Zobr"), zobr);
    nastavCastku(p, QStringLiteral("Cena_ZobrC"), zobrC);
    nastavCastku(p, QStringLiteral("Cena_Skl"), skl);
    nastavCastku(p, QStringLiteral("Cena_SklC"), sklC);
}

// ---- the controller ----------------------------------------------------------------------------

RizeniDokladu::RizeniDokladu(TDataCis& dm, const VlastnostiDokladu& vlastnosti, CenyDataCis& ceny,
                             VyberVyrobku& vyber, const NastaveniProgramu& nastaveni,
                             const sklad::NastaveniPohybu& posilani)
    : dm_(dm), v_(vlastnosti), ceny_(ceny), vyber_(vyber), n_(nastaveni), posilani_(posilani),
      h_(&TDataCis::sdilena(dm.tabulka(vlastnosti.rodina->hlavicka), vlastnosti.rodina->hlavicka)),
      p_(&TDataCis::sdilena(dm.tabulka(vlastnosti.rodina->polozky), vlastnosti.rodina->polozky)),
      kontext_(std::make_unique<sklad::KontextPohybu>(dm.database(), posilani)) {}

RizeniDokladu::~RizeniDokladu() = default;

Table& RizeniDokladu::soukroma(const QString& adresa) const {
    auto& t = soukrome_[adresa];
    if (!t) {
        t = std::make_unique<Table>(dm_.database(), adresa);
        t->setIndexName(QString());
    }
    if (!t->active()) t->open();
    t->cancelRange();
    return *t;
}

bool RizeniDokladu::uzavren() const {
    return text(*h_, QStringLiteral("STAV")) == QLatin1String("2");
}

QString RizeniDokladu::prvniDruh() const {
    Table& druhy = soukroma(QStringLiteral("Ciselnik\\Druhy_uctu"));
    druhy.setRange({v_.typUctu}, {v_.typUctu});
    druhy.first();
    return druhy.hasRecord() ? text(druhy, QStringLiteral("Druh")) : QString();
}

bool RizeniDokladu::existujeDoklad(int cislo) const {
    return soukroma(v_.rodina->hlavicka).findKey({cislo});
}

// ---- header ------------------------------------------------------------------------------------

void RizeniDokladu::ZalozHlavicku(const QString& vystavil) {
    Table& rady = *dm_.TableCisUctu;
    if (!rady.active()) rady.open();
    const int cislo = DalsiCisloUctu(rady, v_.typUctu, vychoziDruh_, -1);
    h_->insert();
    if (cislo > 0) nastav(*h_, QStringLiteral("CIS_UCTU"), cislo);
    nastav(*h_, QStringLiteral("Vystavil"), vystavil);
    nastav(*h_, QStringLiteral("STAV"), QStringLiteral("0"));
    const QDateTime dnes(QDate::currentDate(), QTime(0, 0));
    nastav(*h_, QStringLiteral("Dat_Vystaveni"), dnes);
    nastav(*h_, QStringLiteral("Dat_Plneni"), dnes);
    nastav(*h_, QStringLiteral("DRUH"), vychoziDruh_);
    cisloEditovatelne_ = true;
    hlavickaZmenena_ = false;
}

bool RizeniDokladu::NovaHlavicka() {
    if (h_->state() != TableState::Insert) return !cisloEditovatelne_;
    // The entered values survive: the header is made again under the free number.
    QVector<std::pair<int, QVariant>> zadane;
    for (int i = 0; i < h_->fieldCount(); ++i)
        if (!h_->isCalculated(i)) zadane.push_back({i, h_->fieldValue(i)});
    int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    const QString druh = text(*h_, QStringLiteral("DRUH"));
    h_->cancel();
    if (cislo <= 0) return false;
    Platform& ui = Platform::current();
    while (existujeDoklad(cislo)) {
        ui.information(texty::UcetExistuje);
        ++cislo;
    }
    if (cislo > 1 && !existujeDoklad(cislo - 1))
        ui.information(
            QStringLiteral("Číslo účtu :(%1) neexistuje, přerušená číselná řada").arg(cislo - 1));
    h_->insert();
    for (const auto& [i, hodnota] : zadane)
        h_->setFieldValue(i, hodnota);
    nastav(*h_, QStringLiteral("CIS_UCTU"), cislo);
    nastav(*h_, QStringLiteral("DRUH"), druh.isEmpty() ? vychoziDruh_ : druh);
    nastav(*h_, QStringLiteral("STAV"), QStringLiteral("0"));
    NastavZaokrouhleni();
    Table& polozky = soukroma(v_.rodina->polozky);
    polozky.setRange({cislo}, {cislo});
    polozky.first();
    if (polozky.hasRecord()) {
        ui.error(texty::MaPolozky);
        return false;
    }
    cisloEditovatelne_ = false;
    return true;
}

bool RizeniDokladu::NastavZaokrouhleni() {
    Table& druhy = soukroma(QStringLiteral("Ciselnik\\Druhy_uctu"));
    if (!druhy.findKey({v_.typUctu, text(*h_, QStringLiteral("DRUH"))})) {
        UkazZpravyCeny({{DruhZpravyCeny::NeexistujiciDruh, QString(), QDate()}});
        krokPolozky_ = krokHlavicky_ = Decimal::fromRaw(1000);
        return false;
    }
    krokPolozky_ = castka(druhy, QStringLiteral("ZaokrPol"));
    krokHlavicky_ = castka(druhy, QStringLiteral("ZaokrHla"));
    if (text(*h_, QStringLiteral("Druh_Ceny")).isEmpty()) {
        if (!upravovana(*h_)) h_->edit();
        nastav(*h_, QStringLiteral("Druh_Ceny"), text(druhy, QStringLiteral("Druh_ceny")));
    }
    return true;
}

// Inside the caller's transaction: a header saved for the first time takes a number no stored
// document has (another workstation may have saved one meanwhile), and the number is recorded.
void RizeniDokladu::prvniUlozeniHlavicky(QStringList& zpravy) {
    if (h_->state() == TableState::Insert) {
        int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
        while (existujeDoklad(cislo)) {
            zpravy << texty::UcetExistuje;
            ++cislo;
        }
        nastav(*h_, QStringLiteral("CIS_UCTU"), cislo);
    }
    const int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    if (upravovana(*h_)) h_->post();
    Table& rady = *dm_.TableCisUctu;
    if (!rady.active()) rady.open();
    if (cislo > 0) DalsiCisloUctu(rady, v_.typUctu, text(*h_, QStringLiteral("DRUH")), cislo);
}

bool RizeniDokladu::UlozDoklad() {
    if (cisloEditovatelne_ && !NovaHlavicka()) {
        Platform::current().information(texty::NelzeUlozit);
        return false;
    }
    if (upravovana(*p_)) {
        if (rezim_ == Rezim::Nova && sklad::cisloPole(*p_, QStringLiteral("Cis_Vyr")) == 0)
            ZrusPolozku();
        else if (!ClickUlozPol(poleZPolozky()))
            return false;
    }
    QStringList zpravy;
    try {
        Database::Transaction tr(dm_.database());
        prvniUlozeniHlavicky(zpravy);
        tr.commit();
    } catch (...) {
        ukazChybu(std::current_exception());
        return false;
    }
    for (const QString& z : zpravy)
        Platform::current().information(z);
    hlavickaZmenena_ = false;
    return true;
}

bool RizeniDokladu::KontrolaHlavicky() {
    if (h_->state() == TableState::Insert || !h_->active()) return true;
    const int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    Table& polozky = soukroma(v_.rodina->polozky);
    polozky.setRange({cislo}, {cislo});
    const auto& soucty = v_.rodina->soucty;
    std::vector<Decimal> sumy(soucty.size());
    for (polozky.first(); !polozky.eof() && polozky.hasRecord(); polozky.next())
        for (size_t i = 0; i < soucty.size(); ++i)
            sumy[i] += castka(polozky, soucty[i].second);
    // The stock total's question, replaced by the display total's when both differ.
    QString otazka;
    for (size_t i = 0; i < soucty.size(); ++i) {
        if (castka(*h_, soucty[i].first) == sumy[i]) continue;
        const bool sklad =
            soucty[i].first.compare(QLatin1String("Cena_SklCelk"), Qt::CaseInsensitive) == 0;
        if (sklad && !otazka.isEmpty()) continue;
        otazka = (sklad ? QStringLiteral("Nesprávná skladová cena v hlavičce,správně :")
                        : QStringLiteral("Nesprávná zobrazovaná cena v hlavičce,správně :")) +
                 cisloTextem(sumy[i]) + QStringLiteral(", opravit ?");
    }
    if (otazka.isEmpty()) return true;
    if (!Platform::current().askYesNo(otazka)) return false;
    try {
        Database::Transaction tr(dm_.database());
        if (!upravovana(*h_)) h_->edit();
        for (size_t i = 0; i < soucty.size(); ++i)
            nastavCastku(*h_, soucty[i].first, sumy[i]);
        h_->post();
        tr.commit();
    } catch (...) {
        ukazChybu(std::current_exception());
        return false;
    }
    return true;
}

bool RizeniDokladu::FormDeactivate(bool zrusit) {
    if (zrusit) {
        if (upravovana(*p_)) {
            if (!Platform::current().askYesNo(texty::SkoncitBezZaznamu)) return false;
            ZrusPolozku();
        }
        if (hlavickaZmenena_ && h_->state() == TableState::Edit) {
            try {
                Database::Transaction tr(dm_.database());
                h_->post();
                tr.commit();
            } catch (...) {
                ukazChybu(std::current_exception());
            }
        } else {
            h_->cancel();
        }
        hlavickaZmenena_ = false;
    }
    KontrolaHlavicky();
    return true;
}

// ---- items -------------------------------------------------------------------------------------

int RizeniDokladu::dalsiPorCis() const {
    const int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    Table& polozky = soukroma(v_.rodina->polozky);
    polozky.setRange({cislo}, {cislo});
    polozky.last();
    return polozky.hasRecord() ? int(sklad::cisloPole(polozky, QStringLiteral("PorCis"))) + 1 : 1;
}

void RizeniDokladu::pamatujPolozku() {
    puvodni_.clear();
    const bool nova = p_->state() == TableState::Insert;
    for (const auto& [pole, polePolozky] : v_.rodina->soucty)
        puvodni_[polePolozky] = nova ? Decimal() : castka(*p_, polePolozky);
    puvodniMnozstvi_ = nova ? Decimal() : castka(*p_, QStringLiteral("Mnozstvi"));
}

PoleVstupu RizeniDokladu::poleZPolozky() const {
    return {castka(*p_, QStringLiteral("Mnozstvi")).toShortString(),
            castka(*p_, QStringLiteral("Cena_Zobr")).toShortString(),
            castka(*p_, QStringLiteral("Rabat")).toShortString(),
            castka(*p_, QStringLiteral("Cena_Skl")).toShortString()};
}

RizeniDokladu::PorCisVysledek RizeniDokladu::KeyPressPorCis(int porCis) {
    if (porCis <= 0) {
        Platform::current().error(texty::PorCisKladne);
        return PorCisVysledek::Chyba;
    }
    if (upravovana(*p_) && !ClickUlozPol(poleZPolozky())) return PorCisVysledek::Chyba;
    const int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    if (p_->findKey({cislo, porCis})) {
        if (!OpravPolozku()) return PorCisVysledek::Chyba;
        return PorCisVysledek::Oprava;
    }
    VlozPolozku(porCis);
    return PorCisVysledek::Nova;
}

void RizeniDokladu::VlozPolozku(int porCis) {
    if (upravovana(*p_) && !ClickUlozPol(poleZPolozky())) return;
    p_->insert();
    nastav(*p_, QStringLiteral("PorCis"), porCis);
    nastav(*p_, QStringLiteral("Stav"), QStringLiteral("P"));
    nastav(*p_, QStringLiteral("Druh_Pol"), QStringLiteral("N"));
    rezim_ = Rezim::Nova;
    pamatujPolozku();
}

bool RizeniDokladu::OpravPolozku() {
    if (uzavren() || !p_->hasRecord()) return false;
    p_->edit();
    rezim_ = Rezim::Oprava;
    pamatujPolozku();
    return true;
}

bool RizeniDokladu::NactiVyrobek(const QString& textVyrobku, bool poKlici) {
    if (!upravovana(*p_)) return false;
    if (!vyber_.NajdiNeboVyberVyrobek(textVyrobku, poKlici)) return false;
    Table& vyr = *dm_.TableVyr;
    for (const auto& [pole, poleVyrobku] : v_.poleVyrobku)
        nastav(*p_, pole, vyr.fieldValue(vyr.fieldIndex(poleVyrobku)));
    nastav(*p_, QStringLiteral("Cis_Sklad"), text(*h_, QStringLiteral("Cis_Sklad")));
    if (v_.cenaZVyrobku) v_.cenaZVyrobku(*this);
    nastav(*p_, QStringLiteral("Druh_Pol"), text(vyr, QStringLiteral("Druh_Pol")));
    PrepocetPolozky(poleZPolozky());
    PrepocetHlavicky();
    return true;
}

void RizeniDokladu::NactiCenu() {
    const CenaDleDruhu c =
        ceny_.CenaVyrobkuDleDruhu(text(*h_, QStringLiteral("Druh_Ceny")), QString(), krokPolozky_,
                                  text(*p_, QStringLiteral("Cis_Sklad")));
    nastavCastku(*p_, QStringLiteral("Zakl_Cena_Zobr"), c.cena);
    nastavCastku(*p_, QStringLiteral("Faktor"), c.faktor);
    nastavCastku(*p_, QStringLiteral("Cena_Zobr"), zaokrouhleno(c.cena, krokPolozky_));
}

void RizeniDokladu::PrepocetPolozky(const PoleVstupu& pole) {
    if (!upravovana(*p_)) p_->edit();
    v_.prepocetPolozky(*this, *p_, pole);
}

void RizeniDokladu::PrepocetHlavicky() {
    if (!upravovana(*h_)) h_->edit();
    for (const auto& [pole, polePolozky] : v_.rodina->soucty) {
        const Decimal nova = castka(*p_, polePolozky);
        nastavCastku(*h_, pole, castka(*h_, pole) + nova - puvodni_[polePolozky]);
        puvodni_[polePolozky] = nova;
    }
    hlavickaZmenena_ = true;
}

void RizeniDokladu::vstupDoMnozstvi() {
    puvodniMnozstvi_ = castka(*p_, QStringLiteral("Mnozstvi"));
}

void RizeniDokladu::opustenoMnozstvi(const PoleVstupu& pole) {
    if (!upravovana(*p_)) return;
    PrepocetPolozky(pole);
    PrepocetHlavicky();
    puvodniMnozstvi_ = castka(*p_, QStringLiteral("Mnozstvi"));
}

void RizeniDokladu::opustenaCenaZobr(const PoleVstupu& pole) {
    if (!upravovana(*p_)) return;
    const Decimal cena = TextNaCastku(pole.cenaZobr);
    const Decimal zaklad = castka(*p_, QStringLiteral("Zakl_Cena_Zobr"));
    if (zaklad.isZero()) {
        // Without a base price the typed price is the base, with no rebate.
        nastavCastku(*p_, QStringLiteral("Zakl_Cena_Zobr"), cena);
        nastavCastku(*p_, QStringLiteral("Rabat"), Decimal());
    } else {
        nastavCastku(
            *p_, QStringLiteral("Rabat"),
            zaokrouhleno(Decimal(100) - cena / zaklad * Decimal(100), Decimal::fromRaw(100)));
    }
    PrepocetPolozky(pole);
    PrepocetHlavicky();
}

void RizeniDokladu::opustenyRabat(const PoleVstupu& pole) {
    if (!upravovana(*p_)) return;
    const Decimal rabat = TextNaCastku(pole.rabat);
    nastavCastku(*p_, QStringLiteral("Rabat"), rabat);
    const Decimal cena = zaokrouhleno(castka(*p_, QStringLiteral("Zakl_Cena_Zobr")) *
                                          (Decimal(100) - rabat) / Decimal(100),
                                      n_.ZaokrCen);
    PoleVstupu nove = pole;
    nove.cenaZobr = cena.toShortString();
    PrepocetPolozky(nove);
    PrepocetHlavicky();
}

void RizeniDokladu::opustenaCenaSkl(const PoleVstupu& pole) {
    if (!upravovana(*p_)) return;
    PrepocetPolozky(pole);
    PrepocetHlavicky();
}

// The item and the header in one transaction (the item's reservation with them, by the item
// table's rules). A failure rolls both back and the cursors show what is stored.
bool RizeniDokladu::ulozPolozkuAHlavicku() {
    bool polozkaUlozena = false;
    QStringList zpravy;
    try {
        Database::Transaction tr(dm_.database());
        if (h_->state() == TableState::Insert) {
            prvniUlozeniHlavicky(zpravy);
            nastav(*p_, QStringLiteral("CIS_UCTU"), h_->fieldValue(h_->fieldIndex("CIS_UCTU")));
        }
        if (upravovana(*p_)) {
            p_->post();
            polozkaUlozena = true;
        }
        if (upravovana(*h_)) h_->post();
        tr.commit();
    } catch (...) {
        if (polozkaUlozena) {
            h_->cancel();
            h_->refresh();
            p_->refresh();
            rezim_ = Rezim::Prohlizeni;
        }
        ukazChybu(std::current_exception());
        return false;
    }
    for (const QString& z : zpravy)
        Platform::current().information(z);
    rezim_ = Rezim::Prohlizeni;
    return true;
}

bool RizeniDokladu::ClickUlozPol(const PoleVstupu& pole) {
    if (!upravovana(*p_)) return true;
    PrepocetPolozky(pole);
    PrepocetHlavicky();
    return ulozPolozkuAHlavicku();
}

bool RizeniDokladu::ClickSmazatPol() {
    if (!p_->hasRecord() && p_->state() != TableState::Insert) return false;
    if (!Platform::current().askYesNo(texty::SmazatPolozku)) return false;
    if (!upravovana(*p_)) {
        p_->edit();
        pamatujPolozku();
    }
    for (const auto& [pole, polePolozky] : v_.rodina->soucty)
        nastavCastku(*p_, polePolozky, Decimal());
    PrepocetHlavicky();
    if (p_->state() == TableState::Insert) {
        p_->cancel();
        rezim_ = Rezim::Prohlizeni;
        return true;
    }
    try {
        Database::Transaction tr(dm_.database());
        p_->remove();
        if (upravovana(*h_)) h_->post();
        tr.commit();
    } catch (...) {
        p_->cancel();
        h_->cancel();
        h_->refresh();
        p_->refresh();
        rezim_ = Rezim::Prohlizeni;
        ukazChybu(std::current_exception());
        return false;
    }
    rezim_ = Rezim::Prohlizeni;
    return true;
}

void RizeniDokladu::ZrusPolozku() {
    if (p_->state() == TableState::Insert) {
        for (const auto& [pole, polePolozky] : v_.rodina->soucty)
            nastavCastku(*p_, polePolozky, Decimal());
        PrepocetHlavicky();
        p_->cancel();
    } else if (p_->state() == TableState::Edit) {
        p_->cancel();
        PrepocetHlavicky();
    }
    rezim_ = Rezim::Prohlizeni;
}

Decimal RizeniDokladu::SpoctiDisponMn() {
    Decimal ks, rezervace;
    if (!kontext_->stavZasoby(sklad::cisloPole(*p_, QStringLiteral("Cis_Vyr")),
                              text(*p_, QStringLiteral("Cis_Sklad")), &ks, nullptr, &rezervace))
        return Decimal();
    return ks - rezervace;
}

bool RizeniDokladu::ButtonPrecislujClick() {
    if (upravovana(*p_)) return false;
    if (uzavren()) {
        Platform::current().warning(texty::UzavrenyUcet, kVarovani);
        return false;
    }
    if (!n_.AutPrecislPol && !Platform::current().askYesNo(texty::Precislovat)) return false;
    const int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    const int aktualni = p_->hasRecord() ? int(sklad::cisloPole(*p_, QStringLiteral("PorCis"))) : 0;
    std::vector<Table::Bookmark> zalozky;
    std::vector<int> cisla;
    for (p_->first(); !p_->eof() && p_->hasRecord(); p_->next()) {
        zalozky.push_back(p_->bookmark());
        cisla.push_back(int(sklad::cisloPole(*p_, QStringLiteral("PorCis"))));
    }
    // With the setting, from the item before the current one, keeping its own number.
    size_t od = 0;
    int bezici = 1;
    if (n_.AutPrecislPol && aktualni > 2) {
        for (size_t i = 1; i < cisla.size(); ++i)
            if (cisla[i] == aktualni) {
                od = i - 1;
                bezici = cisla[od];
            }
    }
    try {
        Database::Transaction tr(dm_.database());
        Table& varianty = soukroma(v_.rodina->varianty);
        for (size_t i = od; i < zalozky.size(); ++i, ++bezici) {
            if (cisla[i] == bezici) continue;
            varianty.setRange({cislo, cisla[i]}, {cislo, cisla[i]});
            varianty.first();
            while (!varianty.isEmpty()) {
                varianty.edit();
                nastav(varianty, QStringLiteral("PorCis"), bezici);
                varianty.post();
                varianty.first();
            }
            p_->gotoBookmark(zalozky[i]);
            p_->edit();
            nastav(*p_, QStringLiteral("PorCis"), bezici);
            p_->post();
        }
        tr.commit();
    } catch (...) {
        p_->cancel();
        p_->refresh();
        ukazChybu(std::current_exception());
        return false;
    }
    return true;
}

bool RizeniDokladu::PrecenPodleOboru() {
    if (uzavren() || !p_->hasRecord()) return false;
    // The item's value of the main product key field finds its product whichever field that is
    // (the order code alone would find nothing while products are keyed by number).
    const QString klic = text(*p_, posilani_.klicVyrobku);
    if (!dm_.NajdiVyrobek(klic)) {
        Platform::current().error(
            QStringLiteral("Výrobek \"%1\" nenalezen, cena se nepřepočítá").arg(klic));
        return false;
    }
    if (!upravovana(*p_) && !OpravPolozku()) return false;
    const Decimal rabat = rabatSkupiny(*this);
    nastavCastku(*p_, QStringLiteral("Rabat"), rabat);
    PoleVstupu pole = poleZPolozky();
    pole.cenaZobr = zaokrouhleno(castka(*p_, QStringLiteral("Cena_Zobr")) * (Decimal(100) - rabat) /
                                     Decimal(100),
                                 krokPolozky_)
                        .toShortString();
    return ClickUlozPol(pole);
}

bool RizeniDokladu::PridejDPH() {
    if (uzavren()) {
        Platform::current().warning(texty::UzavrenyUcet, kVarovani);
        return false;
    }
    NastavZaokrouhleni();
    const int cislo = int(sklad::cisloPole(*h_, QStringLiteral("CIS_UCTU")));
    const Decimal setina = Decimal::fromRaw(100);
    try {
        Database::Transaction tr(dm_.database());
        Table& polozky = soukroma(v_.rodina->polozky);
        polozky.setRange({cislo}, {cislo});
        Table& vyrobky = soukroma(QStringLiteral("Ciselnik\\Vyrobky"));
        const auto& soucty = v_.rodina->soucty;
        std::vector<Decimal> sumy(soucty.size());
        for (polozky.first(); !polozky.eof() && polozky.hasRecord(); polozky.next()) {
            // The item's own rate when its product is gone.
            Decimal sazba = castka(polozky, QStringLiteral("DPH"));
            if (vyrobky.findKey({sklad::cisloPole(polozky, QStringLiteral("Cis_Vyr"))}))
                sazba = castka(vyrobky, QStringLiteral("DPH"));
            const Decimal koef = (Decimal(100) + sazba) / Decimal(100);
            polozky.edit();
            PoleVstupu pole;
            pole.mnozstvi = castka(polozky, QStringLiteral("Mnozstvi")).toShortString();
            pole.cenaZobr =
                zaokrouhleno(castka(polozky, QStringLiteral("Cena_Zobr")) * koef, setina)
                    .toShortString();
            pole.cenaSkl = zaokrouhleno(castka(polozky, QStringLiteral("Cena_Skl")) * koef, setina)
                               .toShortString();
            v_.prepocetPolozky(*this, polozky, pole);
            polozky.post();
            for (size_t i = 0; i < soucty.size(); ++i)
                sumy[i] += castka(polozky, soucty[i].second);
        }
        if (!upravovana(*h_)) h_->edit();
        for (size_t i = 0; i < soucty.size(); ++i)
            nastavCastku(*h_, soucty[i].first, sumy[i]);
        h_->post();
        tr.commit();
    } catch (...) {
        h_->cancel();
        h_->refresh();
        ukazChybu(std::current_exception());
        return false;
    }
    p_->refresh();
    return true;
}

} // namespace brix::doklad
