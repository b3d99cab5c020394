#include "datacis.h"

#include "czech.h"
#include "platform.h"
#include "storage_messages.h"
#include "util/nastaveni.h"
#include "util/text_utils.h"

#include <QDateTime>

namespace brix {

namespace {

TDataCis* g_instance = nullptr;

bool editing(const Table& t) {
    return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

Decimal decimalOf(Table& t, const QString& name) {
    int i = t.fieldIndex(name);
    return i < 0 ? Decimal() : t.field(i).asDecimal();
}

QString textOf(Table& t, const QString& name) {
    int i = t.fieldIndex(name);
    return i < 0 ? QString() : t.field(i).asString();
}

void setIfPresent(Table& t, const QString& name, const QVariant& v) {
    int i = t.fieldIndex(name);
    if (i >= 0) t.setFieldValue(i, v);
}

void ensureOpen(Table& t) {
    if (!t.active()) t.open();
}

// The product key field the setting _HlKlicVyr names.
QString klicVyrobku() {
    return nastaveniProgramu().hledaniDleCislaVyrobku() ? QStringLiteral("Cis_vyr")
                                                        : QStringLiteral("ObjCis");
}

// A key text as a value of the field: a product number must be a whole number.
std::optional<QVariant> keyValue(const Table& t, const QString& field, const QString& text) {
    int i = t.fieldIndex(field);
    if (i < 0) return std::nullopt;
    if (isIntegerKind(t.fieldDef(i).kind)) {
        bool ok = false;
        qint64 n = text.trimmed().toLongLong(&ok);
        if (!ok) return std::nullopt;
        return QVariant(n);
    }
    return QVariant(text);
}

} // namespace

TDataCis* TDataCis::instance() {
    return g_instance;
}

TDataCis::TDataCis(Database& db) : db_(db) {
    const QString cis = QStringLiteral("Ciselnik\\");
    TableFir = share(cis + "Firmy");
    TableFir_Zapis = share(cis + "Fir_Zapis");
    TableZeme = share(cis + "Meny");
    TableSkonto = share(cis + "Skonto");
    TableObor = share(cis + "obor");
    TableKodOzn1 = share(cis + "Kod_Ozn1");
    TableKodOzn2 = share(cis + "Kod_Ozn2");
    TableRabSkup = share(cis + "RabSkup");
    TableVynSkup = share(cis + "VynSkup");
    TableSklady = share(cis + "Sklady");
    TableStred = share(cis + "Stredisko");
    TableClo = share(cis + "Clo");
    TableDruhUctu = share(cis + "Druhy_uctu");
    TableCisUctu = share(cis + "Cis_uctu");
    TableCis_Rada = share(cis + "Cis_rada");
    TableVyr = share(cis + "Vyrobky");
    TableVyrKomp = share(cis + "Vyr_Komp");
    TableVyrVar = share(cis + "Vyr_Var");
    TCenik_ZAK = share(cis + "Cenik_Zak");
    TableZamest = share(cis + "Zamest");
    TableNast_Prgm = share(QStringLiteral("Nastaven\\Nast_Pr"));
    TableModul = share(QStringLiteral("Nastaven\\Moduly"));
    TableSklZas = share(QStringLiteral("Sklady\\SklZas"));
    TableSklPol = share(QStringLiteral("Sklady\\SklPol"));

    const QString dl = QStringLiteral("Ext_Ucty\\DodListy\\");
    TableHlaDL = share(dl + "Hla_DL");
    TablePolDL = share(dl + "Pol_DL");
    TablePolVarDL = share(dl + "Komp_DL");
    TPolVarVyrDL = share(dl + "Var_DL");
    TPrirDL = share(dl + "Prir_DL");
    const QString fav = QStringLiteral("Ext_Ucty\\FaVydane\\");
    TableHlaFaV = share(fav + "Hla_FaV");
    TablePolFaV = share(fav + "Pol_Fav");
    TPrirFaV = share(fav + "Prir_FaV");
    const QString dlp = QStringLiteral("Ext_Ucty\\PrijZb\\");
    TableHlaDLP = share(dlp + "Hla_DLP");
    TablePolDLP = share(dlp + "Pol_DLP");
    TablePolVarDLP = share(dlp + "Var_DLP");
    const QString fap = QStringLiteral("Ext_Ucty\\FaPrij\\");
    TableHlaFaP = share(fap + "Hla_FaP");
    TablePolFaP = share(fap + "Pol_FaP");
    const QString prij = QStringLiteral("Int_Ucty\\Prijem\\");
    TableHlaPrij = share(prij + "Hla_Prij");
    TablePolPrij = share(prij + "Pol_Prij");
    TablePolVarPrij = share(prij + "Var_Prij");
    const QString vyd = QStringLiteral("Int_Ucty\\Vydej\\");
    TableHlaVyd = share(vyd + "Hla_Vyd");
    TablePolVyd = share(vyd + "Pol_Vyd");
    TablePolVarVyd = share(vyd + "Var_Vyd");
    const QString pokl = QStringLiteral("Pokladna\\Obchod\\");
    TableHlaPoklO = share(pokl + "Hla_PokO");
    TablePolPoklO = share(pokl + "Pol_pokO");
    TablePolVarPoklO = share(pokl + "Var_PoklO");
    Tabla_VarVyr_PoklO = share(pokl + "VarVyr_PoklO");
    TableHlaPoklUz = share(pokl + "Hla_PokU");
    TablePolPoklUz = share(pokl + "Pol_pokU");
    TableStavKasy = share(pokl + "Stav_Pokl");
    const QString objv = QStringLiteral("Objednav\\Vydane\\");
    TableHlaObjV = share(objv + "Hla_OvjV");
    TablePolObjV = share(objv + "Pol_ObjV");
    TablePolVarObjV = share(objv + "Var_ObjV");
    const QString objp = QStringLiteral("Objednav\\Prijate\\");
    THlaObjP = share(objp + "Hla_OvjP");
    TPolObjP = share(objp + "Pol_ObjP");

    // Master-detail links.
    link(TableFir_Zapis, TableFir, QStringLiteral("Cis_firmy"), QStringLiteral("Cis_Firmy"));
    for (Table* d : {TableVyrKomp, TableVyrVar, TCenik_ZAK})
        link(d, TableVyr, QStringLiteral("Cis_vyr"), QStringLiteral("Cis_Vyr"));
    const QString hk = QStringLiteral("CIS_UCTU");
    const QString pk = QStringLiteral("CIS_UCTU;PorCis");
    const QString sk = QStringLiteral("Cis_Uctu;PorCis");
    link(TablePolDL, TableHlaDL, hk, hk);
    link(TablePolFaV, TableHlaFaV, hk, hk);
    link(TablePolDLP, TableHlaDLP, hk, hk);
    link(TablePolFaP, TableHlaFaP, hk, hk);
    link(TablePolPrij, TableHlaPrij, hk, hk);
    link(TablePolVyd, TableHlaVyd, hk, hk);
    link(TablePolPoklO, TableHlaPoklO, hk, hk);
    link(TablePolPoklUz, TableHlaPoklUz, hk, hk);
    link(TablePolObjV, TableHlaObjV, hk, hk);
    link(TPolObjP, THlaObjP, hk, hk);
    for (Table* d : {TablePolVarDL, TPolVarVyrDL, TPrirDL})
        link(d, TablePolDL, pk, sk);
    link(TPrirFaV, TablePolFaV, pk, sk);
    link(TablePolVarDLP, TablePolDLP, pk, sk);
    link(TablePolVarPrij, TablePolPrij, pk, sk);
    link(TablePolVarVyd, TablePolVyd, pk, sk);
    link(TablePolVarPoklO, TablePolPoklO, pk, sk);
    link(Tabla_VarVyr_PoklO, TablePolPoklO, pk, sk);
    link(TablePolVarObjV, TablePolObjV, pk, sk);

    pravidlaCiselniku();
    pravidlaVyrobku();
    pravidlaZamestnancu();
    pravidlaSkladu();
    pravidlaDokladu();

    // The item tables of delivery notes and invoices are opened once: a data root whose items
    // lack the customs number (older data) works without that column from then on.
    otevriAZavriPolozky(TablePolDL);
    otevriAZavriPolozky(TablePolFaV);
    ExportDodavatele = false;
    g_instance = this;
}

TDataCis::~TDataCis() {
    if (g_instance == this) g_instance = nullptr;
    for (Table* t : all_)
        if (t->active()) {
            try {
                t->close();
            } catch (...) {
            }
        }
}

Table* TDataCis::share(const QString& address) {
    if (!db_.findTable(address)) return nullptr;
    auto t = std::make_unique<Table>(db_, address);
    installStorageErrorHandlers(*t, [this](Table& master) { deleteDetails(master); });
    Table* raw = t.get();
    owned_.push_back(std::move(t));
    all_.push_back(raw);
    return raw;
}

Table* TDataCis::tabulka(const QString& address) const {
    const TableDef* def = db_.findTable(address);
    if (!def) return nullptr;
    for (Table* t : all_)
        if (&t->def() == def) return t;
    return nullptr;
}

void TDataCis::link(Table* detail, Table* master, const QString& masterFields,
                    const QString& detailFields) {
    if (detail && master) detail->setMaster(master, masterFields, detailFields);
}

// The rows that keep a record from being deleted go through the shared cursors, so that each
// row's own rules run; a dependent table the module does not share is cleared directly.
void TDataCis::deleteDetails(Table& master) {
    for (const DetailRule& rule : master.def().detailRules) {
        Table* detail = tabulka(rule.detailTable);
        if (detail)
            smazPodrizene(master, *detail, rule.masterFields.join(QLatin1Char(';')),
                          rule.detailFields.join(QLatin1Char(';')));
    }
    // Whatever a key range of a shared cursor kept out of sight goes directly, so that the
    // retried deletion finds no dependents left.
    deleteDependentRows(master);
}

Table& TDataCis::sdilena(Table* t, const QString& address) {
    if (!t)
        throw StorageError(StorageErrorKind::NotFound,
                           QStringLiteral("Tabulka %1 neexistuje").arg(address));
    return *t;
}

Table& TDataCis::lookupCursor(const QString& address) {
    auto& slot = lookups_[address];
    if (!slot) slot = std::make_unique<Table>(db_, address);
    if (!slot->active()) slot->open();
    return *slot;
}

void TDataCis::otevriAZavriPolozky(Table* t) {
    if (!t) return;
    t->open();
    t->close();
}

// ---- code lists and partners ------------------------------------------------------------

void TDataCis::pravidlaCiselniku() {
    if (TableFir) vychoziHodnoty(*TableFir, {{QStringLiteral("Uc_jednotka"), true}});
    if (TableZeme)
        vychoziHodnoty(*TableZeme, {{QStringLiteral("Kurs"), 1},
                                    {QStringLiteral("Zaokr"), 0.1},
                                    {QStringLiteral("Koef"), 1}});
    if (TableClo)
        vychoziHodnoty(*TableClo, {{QStringLiteral("Jednotka"), QStringLiteral("NAR")},
                                   {QStringLiteral("DPH"), 22},
                                   {QStringLiteral("Sleva_Eur"), false}});
    if (TableNast_Prgm) zapisPoUlozeni(*TableNast_Prgm);
}

// ---- products ---------------------------------------------------------------------------

void TDataCis::pravidlaVyrobku() {
    if (!TableVyr) return;
    Table& vyr = *TableVyr;
    vychoziHodnoty(vyr, {{QStringLiteral("Druh_Pol"), QStringLiteral("S")},
                         {QStringLiteral("DPH"), 22},
                         {QStringLiteral("DruhMn"), QStringLiteral("ks")},
                         {QStringLiteral("CenaZa"), 1},
                         {QStringLiteral("Faktor_Bal"), 1}});
    pravidlaSkladovychCisel(vyr);
    poUlozeni(vyr, [this](Table& t) { PoslKodOzn1 = textOf(t, QStringLiteral("Kod_Ozn1")); });

    // The supplier of each product while the product register exports.
    vypocitanaPole(vyr,
                   {{QStringLiteral("ICO"), FieldKind::Text, 10},
                    {QStringLiteral("NAZEV_FI"), FieldKind::Text, 50},
                    {QStringLiteral("ADRESA"), FieldKind::Text, 40},
                    {QStringLiteral("MESTO"), FieldKind::Text, 40},
                    {QStringLiteral("PSC"), FieldKind::Text, 6}},
                   [this](Table& t) {
                       if (!ExportDodavatele || !TableFir) return;
                       // A private cursor: the shared partner table stays where the user left
                       // it, unfiltered.
                       Table& fir = lookupCursor(TableFir->def().address());
                       const int fi = t.fieldIndex(QStringLiteral("Cis_Firmy"));
                       const QVariant cislo = fi < 0 ? QVariant() : t.fieldValue(fi);
                       bool found = false;
                       if (!cislo.isNull()) {
                           if (!fir.indexName().isEmpty()) fir.setIndexName(QString());
                           found = fir.findKey({cislo.toLongLong()});
                       }
                       if (!found) {
                           Platform::current().warning(
                               QStringLiteral("Výrobek ") + textOf(t, QStringLiteral("ObjCis")) +
                               QStringLiteral(" nemá vyplněný existujícího dodavatele"));
                           return;
                       }
                       const std::pair<const char*, const char*> pairs[] = {{"ICO", "ICO"},
                                                                            {"NAZEV_FI", "Nazev"},
                                                                            {"ADRESA", "Ulice"},
                                                                            {"MESTO", "Mesto"},
                                                                            {"PSC", "PSC"}};
                       for (const auto& [to, from] : pairs) {
                           const int i = t.fieldIndex(QString::fromLatin1(to));
                           if (i >= 0 && t.isCalculated(i))
                               t.setFieldValue(i, textOf(fir, QString::fromLatin1(from)));
                       }
                   });

    if (TCenik_ZAK) {
        Table& cenik = *TCenik_ZAK;
        cenik.afterInsert.add([this](Table& t) {
            if (TableVyr && TableVyr->hasRecord())
                setIfPresent(t, QStringLiteral("Cis_Vyr"),
                             TableVyr->fieldValue(TableVyr->fieldIndex(QStringLiteral("CIS_VYR"))));
        });
        // The partner's name is read through a private cursor, so that the shared partner table
        // stays where the user left it.
        vypocitanaPole(cenik, {{QStringLiteral("NazevF"), FieldKind::Text, 50}}, [this](Table& t) {
            if (!TableFir) return;
            const QVariant cislo = t.fieldValue(t.fieldIndex(QStringLiteral("Cis_Firmy")));
            if (cislo.isNull()) return;
            Table& fir = lookupCursor(TableFir->def().address());
            LocateOptions o;
            o.caseInsensitive = true;
            if (fir.locate(QStringLiteral("Cis_firmy"), {cislo}, o))
                t.setFieldValue(t.fieldIndex(QStringLiteral("NazevF")),
                                textOf(fir, QStringLiteral("Nazev")));
        });
    }
}

// ---- employees and their rights ----------------------------------------------------------

void TDataCis::pravidlaZamestnancu() {
    if (!TableZamest || !TableModul) return;
    // Deleting an employee deletes every right granted to the surname. The surname is bound as
    // a key range, never spliced into a filter text, so an apostrophe in it is a letter. Rights
    // are keyed by the surname alone, so while another employee still bears it (Jan and Petr
    // Novák) they are that employee's rights too and stay.
    predSmazanim(*TableZamest, [this](Table& z) {
        const QString prijmeni = czech::upper(OrizniVpravo(textOf(z, QStringLiteral("PRIJMENI"))));
        if (PocetZamestnancu(prijmeni) > 1) return; // the one being deleted is still there
        Table& moduly = *TableModul;
        struct Uklid {
            Table& t;
            QString index;
            ~Uklid() {
                try {
                    if (t.active()) {
                        t.cancel();
                        t.cancelRange();
                        t.setFiltered(false);
                        t.setIndexName(index);
                        t.close();
                    }
                } catch (...) {
                }
            }
        } uklid{moduly, moduly.indexName()};
        ensureOpen(moduly);
        moduly.setFiltered(false);
        moduly.setIndexName(QStringLiteral("Prijmeni"));
        moduly.setRange({prijmeni}, {prijmeni});
        moduly.first();
        while (!moduly.isEmpty())
            moduly.remove();
    });
}

int TDataCis::PocetZamestnancu(const QString& prijmeni) {
    if (!TableZamest) return 0;
    Table z(database(), TableZamest->def().address());
    z.open();
    const QString klic = czech::upper(OrizniVpravo(prijmeni));
    int n = 0;
    for (z.first(); !z.eof(); z.next())
        if (czech::upper(OrizniVpravo(textOf(z, QStringLiteral("PRIJMENI")))) == klic) ++n;
    return n;
}

// ---- stock levels and ledger -------------------------------------------------------------

void TDataCis::pravidlaSkladu() {
    for (Table* t : {TableSklZas, TableSklPol})
        if (t) pravidlaSkladovychCisel(*t);
}

void pravidlaSkladovychCisel(Table& t) {
    const QString& table = t.def().sqlName;
    if (table == QLatin1String("ciselnik_vyrobky")) {
        casZmenyPredUlozenim(t);
        predUlozenim(t, [](Table& v) {
            const Decimal dispon = decimalOf(v, QStringLiteral("SklZas_Ks")) -
                                   decimalOf(v, QStringLiteral("Rezervace"));
            setIfPresent(v, QStringLiteral("DisponMn"), dispon.toDouble());
        });
        zapisPoUlozeni(t);
    } else if (table == QLatin1String("sklady_sklzas")) {
        casZmenyPredUlozenim(t);
    } else if (table == QLatin1String("sklady_sklpol")) {
        zapisPoUlozeni(t);
    }
}

// ---- documents: the rules that belong to the storage layout of every family ----------------

void TDataCis::pravidlaDokladu() {
    for (Table* t : {TableHlaDL, TableHlaPoklO, TablePolPoklO})
        if (t) zapisPoUlozeni(*t);
    for (Table* t : {TablePolVarDL, TablePolVarDLP})
        if (t) rozsahAIndexDokladu(*t);

    // A posted delivery-note item is written to disk. Its excise-duty surcharges are the pricing
    // and closing code's (PrepocetSpotrebniDane, spotrebni_dan.h), which know the item's product.
    if (TablePolDL) zapisPoUlozeni(*TablePolDL);

    // Defaults of a new delivery note and its items.
    if (TableHlaDL)
        vychoziHodnoty(*TableHlaDL, {{QStringLiteral("Zaklad0"), 0},
                                     {QStringLiteral("DPH0"), 0},
                                     {QStringLiteral("Zaklad1"), 0},
                                     {QStringLiteral("DPH1"), 0},
                                     {QStringLiteral("Zaklad2"), 0},
                                     {QStringLiteral("DPH2"), 0},
                                     {QStringLiteral("PC_Skonto"), 1},
                                     {QStringLiteral("Zp_Rabat"), QStringLiteral("RS")}});
    if (TablePolDL) vychoziHodnoty(*TablePolDL, {{QStringLiteral("Cena_Cizi"), 0}});
    // A new invoice and new goods received are not paid.
    for (Table* t : {TableHlaFaV, TableHlaDLP})
        if (t)
            t->afterInsert.add([](Table& h) { setIfPresent(h, QStringLiteral("Platba"), false); });

    // The values each item table remembers for the entry forms' header totals.
    using H = HodnotaPolozky;
    const std::pair<Table*, std::vector<HodnotaPolozky>> remembered[] = {
        {TablePolDL, {H::PC_NettoC, H::Cena_CiziC, H::Hmotnost, H::DPH}},
        {TablePolFaV, {H::PC_NettoC, H::Cena_CiziC, H::Hmotnost, H::DPH}},
        {TablePolDLP, {H::PC_NettoC, H::Cena_CiziC, H::DPH}},
        {TablePolPoklO, {H::PC_NettoC, H::Mnozstvi, H::DPH}},
        {TablePolObjV, {H::PC_NettoC, H::Cena_CiziC, H::DPH}},
        {TPolObjP, {H::PC_NettoC, H::Cena_CiziC, H::DPH}},
        {TablePolPrij, {H::Cena_SklC, H::Cena_ZobrC}},
        {TablePolVyd, {H::Cena_SklC, H::Cena_ZobrC}},
    };
    for (const auto& [items, which] : remembered)
        if (items) pamatujHodnotyPolozky(*items, which);
}

void TDataCis::pamatujHodnotyPolozky(Table& items, std::vector<HodnotaPolozky> which) {
    // One set of values per table: a table that remembers already keeps its handlers.
    if (puvodni_.count(&items)) return;
    auto store = std::make_shared<PuvodniHodnoty>();
    puvodni_[&items] = store;
    zapamatujHodnotyPolozky(items, std::move(which), store);
}

const PuvodniHodnoty& TDataCis::PuvodniHodnotyPolozky(const Table& items) const {
    static const PuvodniHodnoty zero;
    auto it = puvodni_.find(&items);
    return it == puvodni_.end() ? zero : *it->second;
}

// ---- finding products and partners -------------------------------------------------------

bool TDataCis::NajdiVyrobek(const QString& key) {
    const QString k = OrizniVpravo(key);
    if (k.isEmpty() || !TableVyr) return false;
    Table& t = *TableVyr;
    ensureOpen(t);
    const QString field = klicVyrobku();
    if (t.hasRecord() && OrizniVpravo(textOf(t, field)) == k) return true;
    auto value = keyValue(t, field, k);
    if (!value) return false;
    const QStringList ix = t.indexFields();
    if (!ix.isEmpty() && ix.first().compare(field, Qt::CaseInsensitive) == 0)
        return t.findKey({*value});
    LocateOptions o;
    o.caseInsensitive = true;
    return t.locate(field, {*value}, o);
}

bool TDataCis::NajdiFirmu(const QString& name) {
    const QString n = czech::upper(OrizniVpravo(name));
    if (n.isEmpty() || !TableFir) return false;
    Table& t = *TableFir;
    ensureOpen(t);
    if (t.hasRecord() && czech::upper(textOf(t, QStringLiteral("Nazev"))) == n) return true;
    LocateOptions o;
    o.caseInsensitive = true;
    return t.locate(QStringLiteral("Nazev"), {n}, o);
}

ZasobaVyrobkuVysledek TDataCis::ZasobaVyrobku(qint64 cisVyr, const QString& sklad) {
    ZasobaVyrobkuVysledek v;
    v.cisVyr = cisVyr;
    if (!TableVyr) return v;
    Table& vyr = *TableVyr;
    ensureOpen(vyr);
    LocateOptions o;
    o.caseInsensitive = true;
    if (!vyr.locate(QStringLiteral("CIS_VYR"), {cisVyr}, o)) {
        v.vyrobekExistuje = false;
    } else if (textOf(vyr, QStringLiteral("DRUH_POL")) == QLatin1String("S")) {
        const Decimal nc = decimalOf(vyr, QStringLiteral("NC_NETTO"));
        const Decimal faktor = decimalOf(vyr, QStringLiteral("FAKTOR_Bal"));
        if (faktor == Decimal()) {
            v.jednotkovaNakupniCena = nc;
            v.nulovyFaktor = true;
            v.klicVyrobku = textOf(vyr, klicVyrobku());
        } else {
            v.jednotkovaNakupniCena = nc / faktor;
        }
    }
    if (!TableSklZas) return v;
    // The shared stock table is positioned when a form has it open on its key with every row in
    // sight; otherwise (closed, another index, a record being edited, a filter or a key range
    // that could hide the row) the row is read through a private cursor.
    Table* zas = TableSklZas;
    if (!zas->active() || !zas->indexName().isEmpty() || editing(*zas) || zas->filtered() ||
        zas->hasRange())
        zas = &lookupCursor(TableSklZas->def().address());
    if (!zas->findKey({cisVyr, OrizniVpravo(sklad)})) return v;
    v.nalezeno = true;
    v.zasobaKs = decimalOf(*zas, QStringLiteral("SKLZAS_ks"));
    v.zasobaKc = decimalOf(*zas, QStringLiteral("SKLZAS_KC"));
    v.rezervace = decimalOf(*zas, QStringLiteral("REZERVACE"));
    v.objednano = decimalOf(*zas, QStringLiteral("OBJEDNANO"));
    return v;
}

std::optional<QString> UpozorneniZasoby(const ZasobaVyrobkuVysledek& v) {
    if (!v.vyrobekExistuje)
        return QStringLiteral("Nenalezen výrobek číslo ") + QString::number(v.cisVyr);
    if (v.nulovyFaktor)
        return QStringLiteral("Faktor množství výrobku \"") + v.klicVyrobku +
               QStringLiteral("\" je nulový");
    return std::nullopt;
}

// ---- component names -----------------------------------------------------------------------

QString TDataCis::jmenoKomponenty(const Table& t) const {
    using Clen = Table* TDataCis::*;
#define K(m)                                                                                       \
    std::pair<Clen, const char*> {                                                                 \
        &TDataCis::m, #m                                                                           \
    }
    static const std::pair<Clen, const char*> jmena[] = {
        K(TableFir),        K(TableFir_Zapis),   K(TableZeme),          K(TableSkonto),
        K(TableObor),       K(TableKodOzn1),     K(TableKodOzn2),       K(TableRabSkup),
        K(TableVynSkup),    K(TableSklady),      K(TableStred),         K(TableClo),
        K(TableDruhUctu),   K(TableCisUctu),     K(TableCis_Rada),      K(TableVyr),
        K(TableVyrKomp),    K(TableVyrVar),      K(TCenik_ZAK),         K(TableZamest),
        K(TableNast_Prgm),  K(TableModul),       K(TableSklZas),        K(TableSklPol),
        K(TableHlaDL),      K(TablePolDL),       K(TablePolVarDL),      K(TPolVarVyrDL),
        K(TPrirDL),         K(TableHlaFaV),      K(TablePolFaV),        K(TPrirFaV),
        K(TableHlaDLP),     K(TablePolDLP),      K(TablePolVarDLP),     K(TableHlaFaP),
        K(TablePolFaP),     K(TableHlaPrij),     K(TablePolPrij),       K(TablePolVarPrij),
        K(TableHlaVyd),     K(TablePolVyd),      K(TablePolVarVyd),     K(TableHlaPoklO),
        K(TablePolPoklO),   K(TablePolVarPoklO), K(Tabla_VarVyr_PoklO), K(TableHlaPoklUz),
        K(TablePolPoklUz),  K(TableStavKasy),    K(TableHlaObjV),       K(TablePolObjV),
        K(TablePolVarObjV), K(THlaObjP),         K(TPolObjP),
    };
#undef K
    for (const auto& [clen, jmeno] : jmena)
        if (this->*clen == &t) return QString::fromLatin1(jmeno);
    return {};
}

// ---- the settings-table rows -------------------------------------------------------------

NastaveniTabulky nactiNastaveniTabulky(Table& t) {
    NastaveniTabulky n;
    const bool wasOpen = t.active();
    if (!wasOpen) t.open();
    const bool filtered = t.filtered();
    if (filtered) t.setFiltered(false);
    for (t.first(); !t.eof() && t.hasRecord(); t.next()) {
        const QString popis = czech::upper(OrizniVpravo(textOf(t, QStringLiteral("Popis"))));
        if (popis == QLatin1String("REZERVACE")) {
            n.REZERVACE = t.field(QStringLiteral("Boolean")).asBoolean();
        } else if (popis == QLatin1String("VERZETEXTIL")) {
            n.VERZETEXTIL = t.field(QStringLiteral("Boolean")).asBoolean();
        } else if (popis == QLatin1String("TITLE")) {
            n.TITLE = textOf(t, QStringLiteral("Hodnota"));
            n.maTitle = true;
        }
    }
    if (filtered) t.setFiltered(true);
    if (!wasOpen) t.close();
    return n;
}

NastaveniTabulky& nastaveniTabulky() {
    static NastaveniTabulky n;
    return n;
}

} // namespace brix
