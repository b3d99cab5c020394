#pragma once
// A data root ready for work: a new or empty directory gets the schema, the directories, the
// default files of a new data root (templates, settings, code lists), the document kinds, the
// number series of the first-numbers form, one warehouse and the home currency CZK. A data root in
// use is only brought up to the schema.

#include <QString>

#include <memory>

namespace brix {

class Database;

struct PripravaKorene {
    std::unique_ptr<Database> db;
    bool novy = false; // it was initialised now
};

// Opens the data root, initialising it when it is new or empty. Throws StorageError.
PripravaKorene PripravDatovyKoren(const QString& koren);

// The default files of a new data root (paths relative to it, as the system writes them):
// each one missing is written; existing files are left alone. Text files are written in the
// system's code page. Answers the number of files written.
int ZapisVychoziSoubory(const QString& koren);

// Fills the tables a new data root starts with, each only when it is empty.
void NaplnVychoziTabulky(Database& db);

} // namespace brix
