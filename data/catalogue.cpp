#include "catalogue.h"

#include <QRegularExpression>

namespace brix {

QString fieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Text:
        return QStringLiteral("text");
    case FieldKind::SmallInt:
        return QStringLiteral("smallint");
    case FieldKind::LongInt:
        return QStringLiteral("longint");
    case FieldKind::AutoInc:
        return QStringLiteral("autoinc");
    case FieldKind::Float:
        return QStringLiteral("float");
    case FieldKind::Money:
        return QStringLiteral("money");
    case FieldKind::Logical:
        return QStringLiteral("logical");
    case FieldKind::Date:
        return QStringLiteral("date");
    case FieldKind::Time:
        return QStringLiteral("time");
    case FieldKind::Timestamp:
        return QStringLiteral("timestamp");
    case FieldKind::Memo:
        return QStringLiteral("memo");
    case FieldKind::FormattedMemo:
        return QStringLiteral("fmtmemo");
    case FieldKind::Blob:
        return QStringLiteral("blob");
    }
    return QString();
}

bool isTextKind(FieldKind k) {
    return k == FieldKind::Text || k == FieldKind::Memo || k == FieldKind::FormattedMemo;
}
bool isIntegerKind(FieldKind k) {
    return k == FieldKind::SmallInt || k == FieldKind::LongInt || k == FieldKind::AutoInc;
}
bool isNumericKind(FieldKind k) {
    return isIntegerKind(k) || k == FieldKind::Float || k == FieldKind::Money;
}

int TableDef::fieldIndex(const QString& name) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const FieldDef* TableDef::field(const QString& name) const {
    int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields[i];
}

const IndexDef* TableDef::index(const QString& name) const {
    for (const IndexDef& ix : indexes)
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0) return &ix;
    return nullptr;
}

QString Catalogue::normalizeAddress(const QString& address) {
    QString a = address.trimmed().toLower();
    a.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (a.startsWith(QLatin1String(".\\")))
        a.remove(0, 2);
    while (a.startsWith(QLatin1Char('\\')))
        a.remove(0, 1);
    a.replace(QLatin1String("\\.\\"), QLatin1String("\\"));
    while (a.contains(QLatin1String("\\\\")))
        a.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    if (a.endsWith(QLatin1String(".db"))) a.chop(3);
    return a;
}

QStringList Catalogue::dataDirectories() {
    return {QStringLiteral("Banka"),
            QStringLiteral("Ciselnik"),
            QStringLiteral("Ext_Ucty\\DodListy"),
            QStringLiteral("Ext_Ucty\\FaPrij"),
            QStringLiteral("Ext_Ucty\\FaVydane"),
            QStringLiteral("Ext_Ucty\\PrijZb"),
            QStringLiteral("Filtr"),
            QStringLiteral("Int_Ucty\\Prijem"),
            QStringLiteral("Int_Ucty\\Vydej"),
            QStringLiteral("Nastaven"),
            QStringLiteral("Pokladna\\Obchod"),
            QStringLiteral("Objednav\\Prijate"),
            QStringLiteral("Objednav\\Vydane"),
            QStringLiteral("Sklady")};
}

QStringList Catalogue::otherDirectories() {
    return {QStringLiteral("ExportDbf"), QStringLiteral("Prac_Db"), QStringLiteral("Reporty")};
}

const TableDef* Catalogue::find(const QString& address, const QString& baseDirectory) const {
    QString a = normalizeAddress(address);
    auto it = byAddress_.constFind(a);
    if (it != byAddress_.constEnd()) return &tables_[it.value()];
    if (!baseDirectory.isEmpty()) {
        it = byAddress_.constFind(normalizeAddress(baseDirectory + QLatin1Char('\\') + address));
        if (it != byAddress_.constEnd()) return &tables_[it.value()];
    }
    return nullptr;
}

void Catalogue::add(TableDef def) {
    QString key = normalizeAddress(def.address());
    def.sqlName = key;
    def.sqlName.replace(QLatin1Char('\\'), QLatin1Char('_'));
    byAddress_.insert(key, int(tables_.size()));
    tables_.push_back(std::move(def));
}

static QStringList splitList(const QString& s, QChar sep) {
    QStringList out;
    for (const QString& part : s.split(sep, Qt::SkipEmptyParts)) {
        QString t = part.trimmed();
        if (!t.isEmpty()) out << t;
    }
    return out;
}

TableDef Catalogue::define(const QString& directory, const QString& file, const QString& fields,
                           const QString& primaryKey, const QString& indexes) {
    TableDef t;
    t.directory = directory;
    t.file = file;
    static const QRegularExpression re(
        QStringLiteral("^(\\S+)\\s+(A|S|I|\\+|F|\\$|L|D|T|@|M|FM|B)(\\d*)(?:\\.(\\d+))?([!?]*)$"));
    for (const QString& spec : splitList(fields, QLatin1Char(';'))) {
        auto m = re.match(spec);
        Q_ASSERT_X(m.hasMatch(), "Catalogue::define", qPrintable(spec));
        if (!m.hasMatch()) continue;
        FieldDef f;
        f.name = m.captured(1);
        const QString k = m.captured(2);
        static const QHash<QString, FieldKind> kinds = {
            {"A", FieldKind::Text},    {"S", FieldKind::SmallInt},
            {"I", FieldKind::LongInt}, {"+", FieldKind::AutoInc},
            {"F", FieldKind::Float},   {"$", FieldKind::Money},
            {"L", FieldKind::Logical}, {"D", FieldKind::Date},
            {"T", FieldKind::Time},    {"@", FieldKind::Timestamp},
            {"M", FieldKind::Memo},    {"FM", FieldKind::FormattedMemo},
            {"B", FieldKind::Blob}};
        f.kind = kinds.value(k);
        f.size = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
        if (!m.captured(4).isEmpty()) f.decimals = m.captured(4).toInt();
        f.required = m.captured(5).contains(QLatin1Char('!'));
        f.optional = m.captured(5).contains(QLatin1Char('?'));
        t.fields.push_back(f);
    }
    t.primaryKey = splitList(primaryKey, QLatin1Char(';'));
    // "Name=FieldA,FieldB; Other=FieldC"
    for (const QString& ix : splitList(indexes, QLatin1Char(';'))) {
        int eq = ix.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        t.indexes.push_back({ix.left(eq).trimmed(), splitList(ix.mid(eq + 1), QLatin1Char(','))});
    }
    return t;
}

namespace {

// Item tables whose products must exist in "Vyrobky".
void productMustExist(TableDef& t) {
    t.foreignKeys.push_back({QStringLiteral("Cis_Vyr"), QStringLiteral("Ciselnik\\Vyrobky"),
                             QStringLiteral("Cis_vyr")});
}

void hasDetails(TableDef& t, const QString& detail, const QString& masterFields,
                const QString& detailFields) {
    t.detailRules.push_back(
        {detail, masterFields.split(QLatin1Char(';')), detailFields.split(QLatin1Char(';'))});
}

Catalogue build() {
    Catalogue c;
    auto D = &Catalogue::define;
    const QString cis = QStringLiteral("Ciselnik");

    // ---- Code lists ----
    c.add(D(cis, "Skonto",
            "PC_skonto S!; Popis A40; Splatnost S!; Skonto_dni S; Skonto_pr F; Penale F.3; "
            "Odkl_pen S; Zpus_pl A15",
            "PC_skonto", ""));
    c.add(D(cis, "obor", "Cis_obor S!; Popis A40; Int_popis A40; Poznámka M", "Cis_obor", ""));
    {
        QString f = "Cis_RabSkup S!; Nazev A40; PoslCisVyr I";
        for (int i = 1; i <= 20; ++i)
            f += QStringLiteral("; Rabat%1 F").arg(i);
        c.add(D(cis, "RabSkup", f, "Cis_RabSkup", "Nazev=Nazev"));
    }
    c.add(D(cis, "VynSkup", "PC_VynSkup S; Popis A40", "PC_VynSkup", ""));
    c.add(D(cis, "Meny",
            "Platnost_Od D; KOD_Meny A3; KOD_Zeme A6; Nazev A30; Mena A8; Kurs F.3; Zaokr F; "
            "Kurs_EUR F.5; Koef F!",
            "Platnost_Od;KOD_Meny", "Nazev=Nazev; KodMeny=KOD_Meny,Platnost_Od"));
    c.add(D(cis, "Kod_Ozn1", "Kod_Ozn1 A20!; Popis A40; Poznamka M", "Kod_Ozn1", ""));
    c.add(D(cis, "Kod_Ozn2", "Kod_Ozn2 A15!; Popis A40; Poznamka M", "Kod_Ozn2", ""));
    c.add(D(cis, "Clo",
            "Cis_celsaz A8!; D_kod A2; Nazev A50; Jednotka A3; Clo $.2; DPH $; Sleva_Eur L; "
            "Sazba_EUR $.2; Poznamka M; Spotr_Dan F",
            "Cis_celsaz", ""));
    c.add(D(cis, "Druhy_uctu",
            "Typ_Uctu A2; Druh A3!; Popis A30; Druh_ceny A2; ZaokrPol F; ZaokrHla F",
            "Typ_Uctu;Druh", ""));
    c.add(D(cis, "Sklady",
            "Cis_Sklad A4; Nazev A40; Ulice A40; Mesto A40; PSC A6; Cis_Stred A4; Banka A20; "
            "Ucet A20; Sm_kod A4; Tlf A20; Fax A20; Kontakt A30; Cis_Obor S; Druh_Ceny A2",
            "Cis_Sklad", "Nazev=Nazev"));
    c.add(D(cis, "Stredisko",
            "Stredisko A4; Nazev A40; Ulice A40; Mesto A40; PSC A40; Telefon A40; Path_Export A40",
            "Stredisko", ""));

    // ---- Number series ----
    c.add(D(cis, "Cis_uctu", "Typ_Uctu A2; Popis A30; PrvCis I", "Typ_Uctu", ""));
    c.add(D(cis, "Cis_rada", "Cis_Rada A2; Prvni_Cis I; Popis A40", "Cis_Rada", ""));

    // ---- Employees, rights, settings, check results ----
    c.add(D(cis, "Zamest",
            "PRIJMENI A20; JMENO A25; Narozen D; PROVIZE F.2; DMEZ_PROV F; HMEZ_PROV F; "
            "Poznamka FM; Heslo A20; HesloHash A120",
            "PRIJMENI;JMENO", ""));
    c.add(D("Nastaven", "Moduly", "Prijmeni A20; Modul A20", "", "Prijmeni=Prijmeni"));
    c.add(D("Nastaven", "Nast_Pr", "Popis A20; Hodnota A20; Boolean L", "", "Popis=Popis"));
    c.add(
        D(cis, "Kontrola", "HlKlicVyr A15; Popis_Chyby A80; Spat_Hodn A20; Spr_Hodn A20", "", ""));

    // ---- Partners and products (their own fields join with their registers) ----
    c.add(D(cis, "Firmy",
            "Cis_firmy I; Nazev A50; Zkr_nazev A20; ICO A10; DIC A15; Ulice A40; Mesto A40; "
            "PSC A6; Uc_jednotka L",
            "Cis_firmy", "NazevF=Nazev; Zkr_NazevF=Zkr_nazev; ICOF=ICO; MestF=Mesto"));
    {
        TableDef t = D(cis, "Vyrobky",
                       "Cis_vyr I; ObjCis A15; Nazev A50; Druh_Pol A1; DPH F; DruhMn A5; "
                       "CenaZa F; Faktor_Bal F; NC_Netto $; SklZas_Ks F; SklZas_Kc F; "
                       "Rezervace F; Objednano F; DisponMn F; Kod_Ozn1 A20; Cis_Firmy I; "
                       "Posl_Zmena @",
                       "Cis_vyr", "ObjCis=ObjCis; Nazev=Nazev");
        t.defaultIndex = QStringLiteral("ObjCis");
        c.add(t);
    }
    c.add(D(cis, "Vyr_Komp", "Cis_Vyr I; KCisVyr I; Mnozstvi F", "Cis_Vyr;KCisVyr", ""));
    c.add(D(cis, "Vyr_Var", "Cis_Vyr I; Varianta1 A10; Varianta2 A10; SklZas_ks F",
            "Cis_Vyr;Varianta1;Varianta2", ""));
    c.add(
        D(cis, "Cenik_Zak", "Cis_Vyr I; Cis_Firmy I; PC_ZAKL $; PC_ZAKLC $", "", "CisVyr=Cis_Vyr"));
    c.add(D(cis, "Fir_Zapis", "Por_Cis +; Cis_Firmy I; Datum D; Zapis M", "Por_Cis",
            "CisFirmy=Cis_Firmy"));

    // ---- Stock ----
    c.add(D("Sklady", "SklZas",
            "Cis_Vyr I!; ObjCis A15; Cis_Sklad A4; Rezervace F; Objednano F; SklZas_ks F; "
            "SklZas_kc F; Dat_Invent D; Poc_Mnoz F; Poc_Cena F; Posl_Zmena @",
            "Cis_Vyr;Cis_Sklad", "ObjCis=ObjCis,Cis_Sklad"));
    {
        TableDef t = D("Sklady", "SklPol",
                       "Cis_Uctu I; PorCis I; Druh_Uctu A1; Dat_Plneni D; P_V A1; Cis_Vyr I; "
                       "Cis_Sklad A4; Mnozstvi F; SklCena F.2; PCena F.2",
                       "", "CisUctu=Druh_Uctu,Cis_Uctu,PorCis; CisVyr=Cis_Vyr,Cis_Sklad");
        t.defaultIndex = QStringLiteral("CisUctu");
        c.add(t);
    }

    // ---- Document families: keys and the storage rules between headers and items. ----
    const QString dl = QStringLiteral("Ext_Ucty\\DodListy");
    {
        TableDef h = D(dl, "Hla_DL", "CIS_UCTU I; STAV A1; DRUH A3; Cis_Firmy I", "CIS_UCTU", "");
        hasDetails(h, dl + "\\Pol_DL", "CIS_UCTU", "CIS_UCTU");
        c.add(h);
        TableDef p = D(dl, "Pol_DL", "CIS_UCTU I; PorCis S; Cis_Vyr I; Mnozstvi F; cis_celsaz A8?",
                       "CIS_UCTU;PorCis", "");
        productMustExist(p);
        hasDetails(p, dl + "\\Komp_DL", "CIS_UCTU;PorCis", "Cis_Uctu;PorCis");
        c.add(p);
        c.add(D(dl, "Komp_DL", "Cis_Uctu I; PorCis I; Cis_Vyr I; KCisVyr I; Mnozstvi F",
                "Cis_Uctu;PorCis;Cis_Vyr;KCisVyr", ""));
    }
    const QString prijzb = QStringLiteral("Ext_Ucty\\PrijZb");
    {
        TableDef h = D(prijzb, "Hla_DLP", "CIS_UCTU I; STAV A1; DRUH A3", "CIS_UCTU", "");
        hasDetails(h, prijzb + "\\Pol_DLP", "CIS_UCTU", "CIS_UCTU");
        c.add(h);
        TableDef p = D(prijzb, "Pol_DLP", "CIS_UCTU I; PorCis S; Cis_Vyr I; Mnozstvi F",
                       "CIS_UCTU;PorCis", "");
        productMustExist(p);
        c.add(p);
    }
    const QString faprij = QStringLiteral("Ext_Ucty\\FaPrij");
    {
        c.add(D(faprij, "Hla_FaP", "CIS_UCTU I; STAV A1", "CIS_UCTU", ""));
        TableDef p = D(faprij, "Pol_FaP", "CIS_UCTU I; PorCis S; Cis_Vyr I; Mnozstvi F",
                       "CIS_UCTU;PorCis", "");
        productMustExist(p);
        c.add(p);
    }
    const QString prijem = QStringLiteral("Int_Ucty\\Prijem");
    const QString vydej = QStringLiteral("Int_Ucty\\Vydej");
    for (const auto& [dir, h, p, v] : {std::tuple{prijem, "Hla_Prij", "Pol_Prij", "Var_Prij"},
                                       std::tuple{vydej, "Hla_Vyd", "Pol_Vyd", "Var_Vyd"}}) {
        TableDef head = D(dir, h, "CIS_UCTU I; STAV A1; DRUH A3", "CIS_UCTU", "");
        hasDetails(head, dir + "\\" + p, "CIS_UCTU", "CIS_UCTU");
        c.add(head);
        TableDef item =
            D(dir, p, "CIS_UCTU I; PorCis S; Cis_Vyr I; Mnozstvi F", "CIS_UCTU;PorCis", "");
        hasDetails(item, dir + "\\" + v, "CIS_UCTU;PorCis", "Cis_Uctu;PorCis");
        c.add(item);
        c.add(D(dir, v, "Cis_Uctu I; PorCis S; DbPorCis S; Mnozstvi F", "Cis_Uctu;PorCis;DbPorCis",
                ""));
    }
    const QString objv = QStringLiteral("Objednav\\Vydane");
    {
        c.add(D(objv, "Hla_OvjV", "CIS_UCTU I; STAV A1", "CIS_UCTU", ""));
        TableDef p = D(objv, "Pol_ObjV", "CIS_UCTU I; PorCis S; Cis_Vyr I; Mnozstvi F",
                       "CIS_UCTU;PorCis", "");
        productMustExist(p);
        c.add(p);
    }
    return c;
}

} // namespace

const Catalogue& Catalogue::standard() {
    static const Catalogue c = build();
    return c;
}

} // namespace brix
