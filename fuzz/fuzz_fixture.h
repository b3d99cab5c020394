#pragma once
// A data root of its own for a fuzz target, made once: one table of every field kind,
// "Ciselnik\Vyrobky", with the key Cis_Vyr and an index on Nazev.

#include "catalogue.h"
#include "database.h"

#include <QTemporaryDir>

#include <memory>

namespace brix::fuzz {

struct Fixture {
    QTemporaryDir dir;
    Catalogue catalogue;
    std::unique_ptr<Database> db;

    Fixture() {
        catalogue.add(Catalogue::define(
            QStringLiteral("Ciselnik"), QStringLiteral("Vyrobky"),
            QStringLiteral("Cis_Vyr I!; ObjCis A15; Nazev A40; PorCis S; Kurs F; Cena $; "
                           "Platba L; Datum D; Cas T; Zmena @; Poznamka M; Popis FM; Obr B; "
                           "Por +"),
            QStringLiteral("Cis_Vyr"), QStringLiteral("NazevV=Nazev")));
        db = Database::open(dir.path(), {.catalogue = &catalogue});
    }
};

} // namespace brix::fuzz
