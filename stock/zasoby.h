#pragma once
// The stock figures a posting changes, and the reservations of open documents.
//
// A product's stock in a warehouse is its stock level (SklZas, one row per product and
// warehouse); the product's totals in Vyrobky are the sums over its rows. Every change here
// moves a row and its product's totals together, so that the totals stay the sums of the rows;
// a row a movement needs is created. Rows and totals are read after the write lock is taken:
// the caller runs inside a Database::Transaction, and each record is read again as it is put
// into edit, so that another copy's commit is never overwritten by what this copy read before.
//
// The context writes through cursors of its own (the forms' shared cursors stay where the user
// left them) that keep the data module's rules of these tables (pravidlaSkladovychCisel).

#include "rodiny.h"
#include "table.h"

#include <map>
#include <memory>

namespace brix::sklad {

class KontextPohybu {
public:
    KontextPohybu(Database& db, NastaveniPohybu nastaveni);
    ~KontextPohybu();
    KontextPohybu(const KontextPohybu&) = delete;
    KontextPohybu& operator=(const KontextPohybu&) = delete;

    Database& databaze() const { return db_; }
    const NastaveniPohybu& nastaveni() const { return nastaveni_; }
    void setNastaveni(const NastaveniPohybu& n) { nastaveni_ = n; }

    // Private cursors, open, in the order of their primary key (the ledger in "CisUctu").
    Table& vyrobky();
    Table& zasoby();
    Table& denik();
    // A private cursor of any catalogue table, open, primary order, no range or filter.
    Table& tabulka(const QString& adresa);

    // Drops what any of the context's cursors has in edit or insert: after a failed write a
    // cursor keeps its record in edit, and the next move would post it.
    void zrusUpravy();

    // Positions the product cursor on the product; false when there is none.
    bool najdiVyrobek(qint64 cisVyr);

    // The item's reservations while it is open: the movements of an unposted stock item whose
    // product exists, with a non-zero share. Nothing while reservations are off.
    std::vector<Pohyb> rezervacePolozky(const RodinaDokladu& rodina, const RecordSource* hlavicka,
                                        const RecordSource& polozka);

    // Moves each (product, warehouse) from what `stare` reserved to what `nove` reserves: the
    // stock level (created when missing) and the product's total by the difference.
    void ZmenaRezervace(const std::vector<Pohyb>& stare, const std::vector<Pohyb>& nove);

    // The reservation of an item of `polozky` that is being saved (in edit or insert) or
    // deleted: moved from what its stored record reserves (nothing for a new item) to what the
    // record reserves now (nothing once it is deleted). The data module's rules of the item
    // tables call it before every post and delete; the caller's transaction holds both. A
    // storage error is raised again as "Chyba na dbf Sklady:" (or "Chyba na dbf Vyrobky:")
    // followed by the engine's text.
    void ZmenaRezervacePolozky(const RodinaDokladu& rodina, Table& polozky, bool smazat);

    // Adds to the stock level of (product, warehouse), created when missing, and to the
    // product's totals. The product must exist. False when the stock level had to be created.
    bool pridejNaSklad(qint64 cisVyr, const QString& objCis, const QString& sklad, Decimal ks,
                       Decimal kc, Decimal rezervace);
    // The stock level of (product, warehouse) in edit, created with zero figures when missing;
    // `vytvorena` tells which.
    Table& radekZasoby(qint64 cisVyr, const QString& objCis, const QString& sklad,
                       bool* vytvorena = nullptr);
    // Reads the stock level of (product, warehouse): false without one.
    bool stavZasoby(qint64 cisVyr, const QString& sklad, Decimal* ks, Decimal* kc,
                    Decimal* rezervace = nullptr);

private:
    Database& db_;
    NastaveniPohybu nastaveni_;
    std::map<QString, std::unique_ptr<Table>> tabulky_;
    Table* vyrobky_ = nullptr;
    Table* zasoby_ = nullptr;
    Table* denik_ = nullptr;
    std::map<QString, std::unique_ptr<Table>> ulozene_; // stored items, read only
};

} // namespace brix::sklad
