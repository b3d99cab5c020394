#pragma once
// The data module: the one owner of every table more than one form uses. Each shared table is
// a cursor created with the module and named as the forms know it (TableFir, TableVyr,
// TableSklZas, ...), with its master-detail link, its rules (defaults, cascades, remembered item
// values, writing to disk after posts) and the fixed Czech messages of the storage rules. No
// table is open after creation; forms open and close the tables they show.

#include "database.h"
#include "decimal.h"
#include "table.h"
#include "table_rules.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace brix {

// The stock figures of a product in a warehouse (ZasobaVyrobku).
struct ZasobaVyrobkuVysledek {
    bool nalezeno = false; // the stock row of the product and warehouse exists
    bool vyrobekExistuje = true;
    bool nulovyFaktor = false; // a stocked product whose FAKTOR_Bal is 0
    qint64 cisVyr = 0;
    QString klicVyrobku;           // the product's key value (_HlKlicVyr) when nulovyFaktor
    Decimal jednotkovaNakupniCena; // NC_NETTO / FAKTOR_Bal of a stocked product (NC_NETTO at 0)
    Decimal objednano;             // OBJEDNANO
    Decimal rezervace;             // REZERVACE
    Decimal zasobaKs;              // SKLZAS_ks
    Decimal zasobaKc;              // SKLZAS_KC
};

// The warning a caller that allows messages shows after ZasobaVyrobku (caption "Upozornění"):
// "Nenalezen výrobek číslo 77" or "Faktor množství výrobku "B-2" je nulový"; none otherwise.
std::optional<QString> UpozorneniZasoby(const ZasobaVyrobkuVysledek& v);

class TDataCis {
public:
    // Creates the cursors of every shared table the catalogue of `db` has and attaches their
    // rules; opens and closes "Pol_DL" and "Pol_Fav" once. `db` outlives the module.
    explicit TDataCis(Database& db);
    ~TDataCis();
    TDataCis(const TDataCis&) = delete;
    TDataCis& operator=(const TDataCis&) = delete;

    // The one instance of the run (null before it is created).
    static TDataCis* instance();

    Database& database() const { return db_; }
    // The shared cursor of a table by its catalogue address (any spelling); null when the
    // module does not share that table.
    Table* tabulka(const QString& address) const;
    // `t`, one of the shared cursors; when the data root lacks the table (a null cursor) the
    // storage error "Tabulka <address> neexistuje".
    static Table& sdilena(Table* t, const QString& address);
    const std::vector<Table*>& tabulky() const { return all_; }
    // The name the forms know a shared cursor by ("TableObor" for "Ciselnik\obor"); empty for
    // a cursor the module does not share. Exports name their files after it.
    QString jmenoKomponenty(const Table& t) const;

    // ---- code lists and catalogue ("Ciselnik")
    Table* TableFir = nullptr;
    Table* TableFir_Zapis = nullptr;
    Table* TableZeme = nullptr;
    Table* TableSkonto = nullptr;
    Table* TableObor = nullptr;
    Table* TableKodOzn1 = nullptr;
    Table* TableKodOzn2 = nullptr;
    Table* TableRabSkup = nullptr;
    Table* TableVynSkup = nullptr;
    Table* TableSklady = nullptr;
    Table* TableStred = nullptr;
    Table* TableClo = nullptr;
    Table* TableDruhUctu = nullptr;
    Table* TableCisUctu = nullptr;
    Table* TableCis_Rada = nullptr;
    Table* TableVyr = nullptr;
    Table* TableVyrKomp = nullptr;
    Table* TableVyrVar = nullptr;
    Table* TCenik_ZAK = nullptr;
    Table* TableZamest = nullptr;
    // ---- settings and rights ("Nastaven")
    Table* TableNast_Prgm = nullptr;
    Table* TableModul = nullptr;
    // ---- stock ("Sklady")
    Table* TableSklZas = nullptr;
    Table* TableSklPol = nullptr;
    // ---- document families
    Table* TableHlaDL = nullptr;
    Table* TablePolDL = nullptr;
    Table* TablePolVarDL = nullptr; // "Komp_DL", the components
    Table* TPolVarVyrDL = nullptr;  // "Var_DL.DB", the variants
    Table* TPrirDL = nullptr;       // "Prir_DL.DB", the surcharges
    Table* TableHlaFaV = nullptr;
    Table* TablePolFaV = nullptr;
    Table* TPrirFaV = nullptr;
    Table* TableHlaDLP = nullptr;
    Table* TablePolDLP = nullptr;
    Table* TablePolVarDLP = nullptr;
    Table* TableHlaFaP = nullptr;
    Table* TablePolFaP = nullptr;
    Table* TableHlaPrij = nullptr;
    Table* TablePolPrij = nullptr;
    Table* TablePolVarPrij = nullptr;
    Table* TableHlaVyd = nullptr;
    Table* TablePolVyd = nullptr;
    Table* TablePolVarVyd = nullptr;
    Table* TableHlaPoklO = nullptr;
    Table* TablePolPoklO = nullptr;
    Table* TablePolVarPoklO = nullptr;   // "Var_PoklO.DB", the components
    Table* Tabla_VarVyr_PoklO = nullptr; // "VarVyr_PoklO.DB", the variants
    Table* TableHlaPoklUz = nullptr;
    Table* TablePolPoklUz = nullptr;
    Table* TableStavKasy = nullptr;
    Table* TableHlaObjV = nullptr;
    Table* TablePolObjV = nullptr;
    Table* TablePolVarObjV = nullptr;
    Table* THlaObjP = nullptr;
    Table* TPolObjP = nullptr;

    // While on, the products' calculated supplier fields are filled (the product register's
    // export switches it on for its duration). Off at creation.
    bool ExportDodavatele = false;
    // Kod_Ozn1 of the product posted last ("&Kopie posl.Kod Ozn" of the product form).
    QString PoslKodOzn1;

    // Positions TableVyr on the product whose key field (the setting _HlKlicVyr) equals `key`
    // (trailing blanks removed). An empty key finds nothing and leaves the table where it is;
    // the current product with this key is found without moving.
    bool NajdiVyrobek(const QString& key);
    // Positions TableFir on the partner of this name (trailing blanks removed, case ignored).
    bool NajdiFirmu(const QString& name);
    // How many employees bear the surname (trailing blanks and case ignored), counted through a
    // private cursor so that the shared employee table stays where the user left it. Access
    // rights are keyed by the surname alone: they belong to all of them.
    int PocetZamestnancu(const QString& prijmeni);
    // The stock figures of product `cisVyr` in warehouse `sklad` (TableVyr is positioned on
    // the product). Shows nothing: a caller that allows messages shows UpozorneniZasoby.
    ZasobaVyrobkuVysledek ZasobaVyrobku(qint64 cisVyr, const QString& sklad);

    // The remembered values of an item table (zero for a table that keeps none).
    const PuvodniHodnoty& PuvodniHodnotyPolozky(const Table& items) const;
    // Makes `items` remember these values. The module does so for the eight item tables that
    // keep values (Pol_DL, Pol_Fav, Pol_DLP, Pol_pokO, Pol_ObjV, Pol_ObjP, Pol_Prij, Pol_Vyd);
    // a second call for a table changes nothing.
    void pamatujHodnotyPolozky(Table& items, std::vector<HodnotaPolozky> which);

    // The marked-records filter of the product and partner registers.
    void filtrOznacenych(Table& table, const QString& keyField, const QSet<QString>& marked) {
        brix::filtrOznacenych(table, keyField, marked);
    }

private:
    Table* share(const QString& address);
    void link(Table* detail, Table* master, const QString& masterFields,
              const QString& detailFields);
    void deleteDetails(Table& master);
    void pravidlaCiselniku();
    void pravidlaVyrobku();
    void pravidlaZamestnancu();
    void pravidlaSkladu();
    void pravidlaDokladu();
    void otevriAZavriPolozky(Table* t);
    Table& lookupCursor(const QString& address);

    Database& db_;
    std::vector<std::unique_ptr<Table>> owned_;
    std::vector<Table*> all_;
    std::map<const Table*, std::shared_ptr<PuvodniHodnoty>> puvodni_;
    std::map<QString, std::unique_ptr<Table>> lookups_; // private read cursors
};

// The rules the module hangs on its product, stock-level and ledger cursors, for another cursor
// of one of those tables: a product gets Posl_Zmena and DisponMn (SklZas_Ks - Rezervace) before
// every post and is written to disk after it; a stock level gets Posl_Zmena; a ledger record is
// written to disk after its post. Other tables get nothing. The posting engine writes through
// cursors of its own, so that the forms' shared cursors stay where the user left them, and
// keeps the rules all the same.
void pravidlaSkladovychCisel(Table& t);

// The settings-table rows of "Nastaven\Nast_Pr.DB", read once when the main window is first
// shown; a missing row keeps its default.
struct NastaveniTabulky {
    bool REZERVACE = true;    // reservations are booked in the stock levels
    bool VERZETEXTIL = false; // product variants are kept
    QString TITLE;            // title of the application; empty when the row is missing
    bool maTitle = false;
};
// Reads the rows through `nastPr` (opened for the reading and closed again when it was closed).
NastaveniTabulky nactiNastaveniTabulky(Table& nastPr);
// The values of this run.
NastaveniTabulky& nastaveniTabulky();

} // namespace brix
