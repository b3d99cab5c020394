#pragma once
// A fresh data root per test, with a small catalogue of partner-, stock- and document-shaped
// tables beside the system's own when a test needs the real one.
#include "catalogue.h"
#include "database.h"
#include "table.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << '{' << l.join(", ").toStdString() << '}';
}

namespace brix::test {

// Runs `work` in a child process (another copy of the program, with a connection of its own)
// and answers its exit code: what `work` returned, 98 when it threw, -1 when it crashed.
inline int inChild(const std::function<int()>& work) {
    pid_t pid = fork();
    if (pid == 0) {
        int rc = 99;
        try {
            rc = work();
        } catch (...) {
            rc = 98;
        }
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline const Catalogue& testCatalogue() {
    static const Catalogue c = [] {
        Catalogue c;
        c.add(Catalogue::define(
            "T", "Osoby",
            "Prijmeni A20!; Jmeno A15; Mesto A30; Cis_firmy I; Cena_Celk $; Dat_Vystaveni D; "
            "Platba L; SklZas_Ks F; Stav A1; Nazev A30; Poznamka M; Id +",
            "Prijmeni;Jmeno", "Mesto=Mesto; CisFirmy=Cis_firmy,Prijmeni; Nazev=Nazev"));
        c.add(Catalogue::define("T", "Zasoby", "Cis_Vyr I!; Cis_Sklad A4; Mnozstvi F",
                                "Cis_Vyr;Cis_Sklad", "Sklad=Cis_Sklad,Cis_Vyr"));
        TableDef h =
            Catalogue::define("T", "Hlavicky", "Cis_Uctu I; Popis A20; Celkem F.2", "Cis_Uctu");
        h.detailRules.push_back({"T\\Polozky", {"Cis_Uctu"}, {"Cis_Uctu"}});
        c.add(h);
        TableDef p = Catalogue::define(
            "T", "Polozky", "Cis_Uctu I; PorCis S; Cis_Vyr I; Mnozstvi F", "Cis_Uctu;PorCis");
        p.foreignKeys.push_back({"Cis_Vyr", "T\\Zasoby", "Cis_Vyr"});
        c.add(p);
        return c;
    }();
    return c;
}

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = Database::open(dir.path(), options());
    }
    virtual OpenOptions options() {
        OpenOptions o;
        o.catalogue = &testCatalogue();
        return o;
    }
    // Appends one record: field names and values in pairs.
    void add(Table& t, std::initializer_list<std::pair<const char*, QVariant>> values) {
        t.insert();
        for (const auto& [name, value] : values)
            t.field(QString::fromUtf8(name)).setValue(value);
        t.post();
    }
    QStringList column(Table& t, const QString& field) {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.field(field).asString();
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
};

} // namespace brix::test
