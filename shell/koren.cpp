#include "koren.h"

#include "cisla_uctu.h"
#include "codec.h"
#include "database.h"
#include "table.h"
#include "util/path_resolver.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

static void initResources() {
    Q_INIT_RESOURCE(dataroot);
}

namespace brix {

namespace {

const QString kZdroj = QStringLiteral(":/dataroot");

bool textovySoubor(const QString& cesta) {
    const QString s = QFileInfo(cesta).suffix().toLower();
    return s == QLatin1String("txt") || s == QLatin1String("ini") || s == QLatin1String("pts");
}

void nastav(Table& t, const QString& pole, const QVariant& hodnota) {
    if (t.hasField(pole)) t.field(pole).setValue(hodnota);
}

bool prazdna(Database& db, const QString& tabulka) {
    Table t(db, tabulka);
    t.open();
    return t.isEmpty();
}

struct DruhUctu {
    const char* typ;
    const char* druh;
    const char* popis;
    const char* druhCeny;
    double zaokrHla;
};

} // namespace

int ZapisVychoziSoubory(const QString& koren) {
    initResources();
    int zapsano = 0;
    QDirIterator it(kZdroj, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString zdroj = it.next();
        const QString relativni = zdroj.mid(kZdroj.size() + 1);
        if (relativni.compare(QLatin1String("README.md"), Qt::CaseInsensitive) == 0) continue;
        const ResolvedPath cil = resolvePath(koren, relativni);
        if (!cil.ok() || cil.exists) continue;
        QDir().mkpath(QFileInfo(cil.path).absolutePath());
        QFile in(zdroj);
        if (!in.open(QIODevice::ReadOnly)) continue;
        const QByteArray obsah = in.readAll();
        bool ok = false;
        if (textovySoubor(relativni)) {
            // Kept in UTF-8 in the sources, written in the system's code page.
            ok = writeTextFile(cil.path, QString::fromUtf8(obsah));
        } else {
            QFile out(cil.path);
            ok = out.open(QIODevice::WriteOnly) && out.write(obsah) == obsah.size();
        }
        if (ok) ++zapsano;
    }
    return zapsano;
}

void NaplnVychoziTabulky(Database& db) {
    Database::Transaction tr(db);
    if (prazdna(db, QStringLiteral("Ciselnik\\Druhy_uctu"))) {
        static const DruhUctu druhy[] = {
            {"DL", "DL", "Dodací list", "MO", 0.01},
            {"FV", "FV", "Faktura vydaná", "MO", 0.01},
            {"FZ", "FZ", "Zálohová faktura", "MO", 0.01},
            {"3", "DLP", "Příjem zboží od dodavatele", "NC", 0.01},
            {"4", "FAP", "Faktura přijatá", "NC", 0.01},
            {"A", "VYD", "Výdejka", "NC", 0.01},
            {"A", "PRE", "Převodka", "NC", 0.01},
            {"C", "PRI", "Příjemka", "NC", 0.01},
            {"J", "KAS", "Pokladní doklad otevřený", "MO", 1},
            {"K", "KAS", "Pokladní doklad uzavřený", "MO", 1},
            {"OV", "OV", "Objednávka vydaná", "NC", 0.01},
            {"OP", "OP", "Objednávka přijatá", "MO", 0.01},
        };
        Table t(db, QStringLiteral("Ciselnik\\Druhy_uctu"));
        t.open();
        for (const DruhUctu& d : druhy) {
            t.insert();
            t.field(QStringLiteral("Typ_Uctu")).setString(QString::fromUtf8(d.typ));
            t.field(QStringLiteral("Druh")).setString(QString::fromUtf8(d.druh));
            nastav(t, QStringLiteral("Popis"), QString::fromUtf8(d.popis));
            nastav(t, QStringLiteral("Druh_ceny"), QString::fromUtf8(d.druhCeny));
            nastav(t, QStringLiteral("ZaokrPol"), 0.01);
            nastav(t, QStringLiteral("ZaokrHla"), d.zaokrHla);
            t.post();
        }
    }
    if (prazdna(db, QStringLiteral("Ciselnik\\Cis_uctu"))) {
        Table t(db, QStringLiteral("Ciselnik\\Cis_uctu"));
        t.open();
        for (const RadaUctu& r : RadyPrvnichCisel()) {
            t.insert();
            t.field(QStringLiteral("Typ_Uctu")).setString(r.typ);
            nastav(t, QStringLiteral("Popis"), r.popisek);
            t.field(QStringLiteral("PrvCis")).setInteger(1);
            t.post();
        }
    }
    if (prazdna(db, QStringLiteral("Ciselnik\\Sklady"))) {
        Table t(db, QStringLiteral("Ciselnik\\Sklady"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Cis_Sklad")).setString(QStringLiteral("1"));
        nastav(t, QStringLiteral("Nazev"), QStringLiteral("Hlavní sklad"));
        nastav(t, QStringLiteral("Druh_Ceny"), QStringLiteral("MO"));
        t.post();
    }
    if (prazdna(db, QStringLiteral("Ciselnik\\Meny"))) {
        // The home currency: the prices and documents are in Czech crowns.
        Table t(db, QStringLiteral("Ciselnik\\Meny"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Platnost_Od")).setValue(QDate(1993, 1, 1));
        t.field(QStringLiteral("KOD_Meny")).setString(QStringLiteral("CZK"));
        nastav(t, QStringLiteral("KOD_Zeme"), QStringLiteral("CZ"));
        nastav(t, QStringLiteral("Nazev"), QStringLiteral("Česká republika, koruna"));
        nastav(t, QStringLiteral("Mena"), QStringLiteral("Kč"));
        nastav(t, QStringLiteral("Kurs"), 1.0);
        nastav(t, QStringLiteral("Zaokr"), 0.1);
        nastav(t, QStringLiteral("Koef"), 1.0);
        t.post();
    }
    if (prazdna(db, QStringLiteral("Nastaven\\Nast_Pr"))) {
        Table t(db, QStringLiteral("Nastaven\\Nast_Pr"));
        t.open();
        for (const auto& [popis, hodnota] :
             {std::pair{"REZERVACE", true}, std::pair{"VERZETEXTIL", false}}) {
            t.insert();
            t.field(QStringLiteral("Popis")).setString(QString::fromLatin1(popis));
            t.field(QStringLiteral("Boolean")).setBoolean(hodnota);
            t.post();
        }
    }
    tr.commit();
}

PripravaKorene PripravDatovyKoren(const QString& koren) {
    PripravaKorene p;
    const bool bylaDatabaze =
        QFileInfo::exists(QDir(koren).filePath(QStringLiteral("brix.sqlite")));
    QDir().mkpath(koren);
    p.db = Database::open(koren);
    bool prazdny = !bylaDatabaze;
    if (!prazdny) {
        prazdny = prazdna(*p.db, QStringLiteral("Ciselnik\\Cis_uctu")) &&
                  prazdna(*p.db, QStringLiteral("Ciselnik\\Druhy_uctu")) &&
                  prazdna(*p.db, QStringLiteral("Ciselnik\\Sklady"));
    }
    if (prazdny) {
        ZapisVychoziSoubory(koren);
        NaplnVychoziTabulky(*p.db);
        p.novy = true;
    }
    return p;
}

} // namespace brix
