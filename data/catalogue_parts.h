#pragma once
// The catalogue's table definitions, one function per group of directories; only the catalogue
// itself includes this.

#include "catalogue.h"

namespace brix::catalogue_parts {

// Code lists, products, partners, employees, number series ("Ciselnik"), settings and access
// rights ("Nastaven"), stock levels and the stock ledger ("Sklady").
void addShared(Catalogue& c);
// Stock receipts and stock issues ("Int_Ucty").
void addStockDocuments(Catalogue& c);
// Delivery notes, issued invoices, cash sales, customer orders.
void addSalesDocuments(Catalogue& c);
// Goods received, received invoices, purchase orders, bank statements.
void addPurchasingDocuments(Catalogue& c);

// Item tables whose products must exist in "Vyrobky".
void productMustExist(TableDef& t);
// A record of `t` may not be deleted while `detail` has rows linked to it.
void hasDetails(TableDef& t, const QString& detail, const QString& masterFields,
                const QString& detailFields);
// Catalogue::define, shorter.
inline TableDef table(const QString& directory, const QString& file, const QString& fields,
                      const QString& primaryKey = QString(), const QString& indexes = QString()) {
    return Catalogue::define(directory, file, fields, primaryKey, indexes);
}

} // namespace brix::catalogue_parts
