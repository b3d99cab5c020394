// What the user is told when a post or a delete of a shared table breaks a storage rule: every
// table's fixed text and caption provoked through the real store, the record left in insert for
// correction, and the question before a header is deleted with its items.
#include "datacis_fixture.h"

#include "storage_messages.h"

#include <QDate>
#include <QDateTime>

using namespace brix;
using brix::test::DataModuleTest;

namespace {

struct Expected {
    const char* address;
    const char* keyText; // nullptr: the table has no message of its own for the rule
    const char* keyCaption;
    const char* requiredText;
    const char* requiredCaption;
};

// The messages as the users know them, table by table.
const Expected kMessages[] = {
    {"Ciselnik\\Firmy", "Firma s tímto číslem již existuje, položka nebude uložena", "Chyba",
     "Prosím zadejte povinné položky (číslo firmy)", "Chyba"},
    {"Ciselnik\\Skonto", "Položka s tímto pořadovým číslem již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (číslo skonta)", "Chyba"},
    {"Ciselnik\\Meny",
     "Položka s tímto kódem a datem platnosti již existuje, položka nebude uložena", "Chyba",
     "Prosím zadejte povinné položky ", "Chyba"},
    {"Ciselnik\\obor", "Položka s tímto číslem oboru již existuje, položka nebude uložena", "Chyba",
     "Prosím zadejte povinné položky (číslo oboru)", "Chyba"},
    {"Ciselnik\\Kod_Ozn1", "Tato položka již existuje, položka nebude uložena", "Chyba",
     "Prosím zadejte povinné položky (kódové označení)", "Chyba"},
    {"Ciselnik\\Kod_Ozn2", "Položka s tímto kódovým označením již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (kódové označení)", "Chyba"},
    {"Ciselnik\\RabSkup",
     "Položka s tímto číslem rabatní skupiny již existuje, položka nebude uložena", "Chyba",
     "Prosím zadejte povinné položky (číslo rab.skup.)", "Chyba"},
    {"Ciselnik\\Sklady", "Položka s tímto číslem skladu již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky ", "Chyba"},
    {"Ciselnik\\VynSkup",
     "Položka s tímto číslem výnosové skupiny již existuje, položka nebude uložena", "Chyba",
     "Prosím zadejte povinné položky (číslo výnosové skupiny)", "Chyba"},
    {"Ciselnik\\Vyrobky", "Položka s tímto číslem výrobku již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (číslo výrobku)", "Chyba"},
    {"Ciselnik\\Druhy_uctu", "Typ účtu s tímto druhem již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (zaokrouhlení)", "Chyba"},
    {"Ciselnik\\Fir_Zapis",
     "Chyba automatické položky na databázi, kontaktujte dodavatele nebo spusťte Tabfix", "Chyba",
     "Prosím zadejte povinné položky (číslo firmy)", "Chyba"},
    {"Pokladna\\Obchod\\Hla_PokU", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (Příjem/Výdej)", "Chyba"},
    {"Pokladna\\Obchod\\Hla_PokO", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (Příjem/Výdej)", "Chyba"},
    {"Int_Ucty\\Prijem\\Hla_Prij", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (číslo účtu)", "Chyba"},
    {"Int_Ucty\\Vydej\\Hla_Vyd", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", "Prosím zadejte povinné položky (číslo účtu)", "Chyba"},
    {"Ciselnik\\Vyr_Komp",
     "Položka s kombinací těchto čísel výrobků již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Ciselnik\\Cis_uctu", "Položka s tímto typem účtu již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Ciselnik\\Cis_rada", "Položka s tímto označením řady již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Ciselnik\\Clo",
     "Položka s tímto čílem celního sazebníku již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Ciselnik\\Zamest",
     "Zaměstnanec s tímto jménem a příjmením již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Ciselnik\\Stredisko", "Středisko s tímto označením již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Sklady\\SklPol",
     "Chyba automatické položky na databázi SklPol, kontaktujte dodavatele nebo spusťte Tabfix",
     "Chyba", nullptr, nullptr},
    {"Sklady\\SklZas", "Nelze uložit. Duplicitní položka Číslo výrobku/Sklad nebo Obj.číslo/Sklad",
     "Chyba", nullptr, nullptr},
    {"Ext_Ucty\\FaVydane\\Hla_FaV", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Ext_Ucty\\PrijZb\\Hla_DLP", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Ext_Ucty\\FaPrij\\Hla_FaP", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Objednav\\Vydane\\Hla_OvjV", "Účet s tímto číslem již existuje, položka nebude uložena",
     "Chyba", nullptr, nullptr},
    {"Pokladna\\Obchod\\Pol_pokU",
     "Položka s tímto číslem účtu a pořadovým číslem již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Ext_Ucty\\FaVydane\\Pol_Fav",
     "Položka s tímto číslem účtu a pořadovým číslem již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Int_Ucty\\Prijem\\Pol_Prij",
     "Položka s tímto číslem účtu a pořadovým číslem již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Int_Ucty\\Vydej\\Pol_Vyd",
     "Položka s tímto číslem účtu a pořadovým číslem již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Pokladna\\Obchod\\Pol_pokO",
     "Položka s tímto číslem účtu a pořadovým číslem již existuje, položka nebude uložena", "Chyba",
     nullptr, nullptr},
    {"Int_Ucty\\Prijem\\Var_Prij",
     "Chyba automatické položky na databázi PolVarPrij, kontaktujte dodavatele nebo spusťte Tabfix",
     "Chyba", nullptr, nullptr},
    {"Int_Ucty\\Vydej\\Var_Vyd",
     "Chyba automatické položky na databázi PolVarVyd, kontaktujte dodavatele nebo spusťte Tabfix",
     "Chyba", nullptr, nullptr},
    {"Objednav\\Vydane\\Var_ObjV",
     "Chyba automatické položky na databázi PolVarObjV, kontaktujte dodavatele nebo spusťte Tabfix",
     "Chyba", nullptr, nullptr},
    {"Pokladna\\Obchod\\Var_PoklO",
     "Chyba automatické položky na databázi PolVarPoklO, kontaktujte dodavatele nebo spusťte "
     "Tabfix",
     "Chyba", nullptr, nullptr},
    {"Ext_Ucty\\DodListy\\Komp_DL",
     "Nelze uložit. Duplicitní položka varianty DL-kontaktujte Velmarka nebo použijte Tabfix",
     "Chyba", nullptr, nullptr},
    {"Ext_Ucty\\PrijZb\\Var_DLP", "Nelze uložit. Duplicitní položka varianty DLP", "Chyba",
     "Není vyplněná povinná položka ve variantách položek DLP-číslo výrobku", "Chyba"},
    {"Ext_Ucty\\DodListy\\Hla_DL", "Nelze uložit. Duplicitní číslo účtu", "Chyba",
     "Prosím zadejte povinné položky (číslo účtu,stav,vystaveno,dat.plnění,firma -(+země,kurs)",
     "Upozornění"},
    // The product items: the duplicate names the item (document 1, item 1 in the test).
    {"Ext_Ucty\\DodListy\\Pol_DL", "Položku nelze uložit. Duplicitní položka(číslo účtu=1poř.č.=1",
     "Chyba", "Nelze uložit položku bez čísla účtu,poř.č. nebo čísla výrobku", "Chyba"},
    {"Ext_Ucty\\PrijZb\\Pol_DLP", "Položku nelze uložit. Duplicitní položka(číslo účtu=1poř.č.=1",
     "Chyba", "Nelze uložit položku bez čísla účtu,poř.č. a čísla výrobku", "Upozornění"},
    {"Ext_Ucty\\FaPrij\\Pol_FaP", "Položku nelze uložit. Duplicitní položka(číslo účtu=1poř.č.=1",
     "Upozornění", "Nelze uložit položku bez čísla účtu,poř.č. a čísla výrobku", "Upozornění"},
    {"Objednav\\Vydane\\Pol_ObjV", "Položku nelze uložit. Duplicitní položka(číslo účtu=1poř.č.=1",
     "Upozornění", "Nelze uložit položku bez čísla účtu,poř.č. a čísla výrobku", "Upozornění"},
};

// A value of the field's kind; 1 for numbers, so that a product number names product 1.
QVariant sample(const FieldDef& f) {
    switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
    case FieldKind::FormattedMemo:
        return QStringLiteral("1");
    case FieldKind::SmallInt:
    case FieldKind::LongInt:
    case FieldKind::AutoInc:
        return 1;
    case FieldKind::Float:
    case FieldKind::Money:
        return 1.0;
    case FieldKind::Logical:
        return true;
    case FieldKind::Date:
        return QDate(2024, 3, 1);
    case FieldKind::Time:
        return QTime(10, 0);
    case FieldKind::Timestamp:
        return QDateTime(QDate(2024, 3, 1), QTime(10, 0));
    case FieldKind::Blob:
        return QByteArray("1");
    }
    return {};
}

class StorageMessagesTest : public DataModuleTest {
protected:
    // Begins a record with every key and required field filled.
    static void beginFilled(Table& t) {
        t.insert();
        const TableDef& def = t.def();
        for (const FieldDef& f : def.fields) {
            const bool key = def.primaryKey.contains(f.name, Qt::CaseInsensitive);
            if (key || f.required) t.field(f.name).setValue(sample(f));
        }
    }
    void addProduct(qint64 cislo) {
        add(*dm->TableVyr,
            {{"Cis_vyr", cislo}, {"ObjCis", QString::number(cislo)}, {"Cis_Firmy", 1}});
        dm->TableVyr->close();
    }
    QString lastBox() const {
        const QStringList b = boxes();
        return b.isEmpty() ? QString() : b.last();
    }
};

TEST_F(StorageMessagesTest, EveryTablesPostMessagesThroughTheStore) {
    // Product 1, which the items below name, is the first record posted into "Vyrobky".
    for (const Expected& e : kMessages) {
        SCOPED_TRACE(e.address);
        const QString address = QString::fromUtf8(e.address);
        ASSERT_NE(dm->tabulka(address), nullptr) << "not shared by the data module";
        // A private cursor with the module's handlers: no master link narrows what it inserts.
        Table t(*db, address);
        installStorageErrorHandlers(t);
        t.open();
        const TableDef& def = t.def();
        if (!def.primaryKey.isEmpty()) {
            beginFilled(t);
            t.post();
            ui.clearShown();
            beginFilled(t);
            EXPECT_THROW(t.post(), Abort);
            EXPECT_EQ(lastBox(), QString::fromUtf8(e.keyCaption) + ": " + e.keyText);
            // The record stays in insert, as typed, for the user to correct.
            EXPECT_EQ(t.state(), TableState::Insert);
            EXPECT_EQ(t.field(def.primaryKey.first()).value(),
                      sample(*def.field(def.primaryKey.first())));
            t.cancel();
        } else {
            // A table without a key: the message is there for the rule when the store reports it.
            auto m = storageErrorMessage(
                StorageError(StorageErrorKind::KeyViolation, "duplicita", address), t);
            ASSERT_TRUE(m.has_value());
            EXPECT_EQ(m->caption + ": " + m->text,
                      QString::fromUtf8(e.keyCaption) + ": " + e.keyText);
        }
        ui.clearShown();
        const FieldDef* required = nullptr;
        for (const FieldDef& f : def.fields)
            if (f.required && !required) required = &f;
        if (e.requiredText && required) {
            beginFilled(t);
            t.field(def.primaryKey.isEmpty() ? required->name : def.primaryKey.last())
                .setValue(2); // not the key posted above
            t.field(required->name).setValue(QVariant());
            EXPECT_THROW(t.post(), Abort);
            EXPECT_EQ(lastBox(), QString::fromUtf8(e.requiredCaption) + ": " + e.requiredText);
            EXPECT_EQ(t.state(), TableState::Insert);
            t.cancel();
        } else {
            auto m = storageErrorMessage(
                StorageError(StorageErrorKind::RequiredFieldMissing, "povinné", address), t);
            if (e.requiredText) {
                ASSERT_TRUE(m.has_value());
                EXPECT_EQ(m->caption + ": " + m->text,
                          QString::fromUtf8(e.requiredCaption) + ": " + e.requiredText);
            } else {
                EXPECT_FALSE(m.has_value());
            }
        }
        ui.clearShown();
        t.close();
    }
}

TEST_F(StorageMessagesTest, ItemsNamingAMissingProduct) {
    const std::pair<const char*, const char*> items[] = {
        {"Ext_Ucty\\DodListy\\Pol_DL", "Chyba"},
        {"Ext_Ucty\\PrijZb\\Pol_DLP", "Upozornění"},
        {"Ext_Ucty\\FaPrij\\Pol_FaP", "Upozornění"},
        {"Objednav\\Vydane\\Pol_ObjV", "Upozornění"},
    };
    for (const auto& [address, caption] : items) {
        SCOPED_TRACE(address);
        Table t(*db, QString::fromUtf8(address));
        installStorageErrorHandlers(t);
        t.open();
        beginFilled(t);
        t.field("Cis_Vyr").setInteger(1); // product 1 does not exist yet
        EXPECT_THROW(t.post(), Abort);
        EXPECT_EQ(lastBox(), QString::fromUtf8(caption) +
                                 QStringLiteral(": Číslo výrobku není v seznamu výrobků"));
        EXPECT_EQ(t.state(), TableState::Insert);
        // Corrected, the same record posts.
        addProduct(1);
        t.post();
        EXPECT_EQ(t.state(), TableState::Browse);
        EXPECT_EQ(t.recordCount(), 1);
        dm->TableVyr->open();
        dm->TableVyr->first();
        dm->TableVyr->remove();
        dm->TableVyr->close();
        ui.clearShown();
    }
}

TEST_F(StorageMessagesTest, SecondPartnerWithTheSameNumberStaysInInsert) {
    Table& fir = *dm->TableFir;
    add(fir, {{"Cis_firmy", 5}, {"Zkr_nazev", "A"}, {"Cis_obor", 1}, {"Nazev", "První"}});
    fir.insert();
    fir.field("Cis_firmy").setInteger(5);
    fir.field("Zkr_nazev").setString("B");
    fir.field("Cis_obor").setInteger(1);
    fir.field("Nazev").setString("Druhá");
    EXPECT_THROW(fir.post(), Abort);
    EXPECT_EQ(boxes(),
              QStringList{"Chyba: Firma s tímto číslem již existuje, položka nebude uložena"});
    EXPECT_EQ(fir.state(), TableState::Insert);
    EXPECT_EQ(fir.field("Nazev").asString(), "Druhá");
    fir.field("Cis_firmy").setInteger(6);
    fir.post();
    EXPECT_EQ(fir.recordCount(), 2);
    // An edit that breaks the key stays in edit.
    ui.clearShown();
    fir.edit();
    fir.field("Cis_firmy").setInteger(5);
    EXPECT_THROW(fir.post(), Abort);
    EXPECT_EQ(fir.state(), TableState::Edit);
    EXPECT_EQ(boxes().size(), 1);
}

TEST_F(StorageMessagesTest, OtherErrorsShowTheStoresOwnText) {
    // A product variant has no message of its own for a duplicate.
    Table& var = *dm->TableVyrVar;
    var.open();
    var.insert();
    var.field("Cis_Vyr").setInteger(1);
    var.field("Varianta1").setString("A");
    var.post();
    var.insert();
    var.field("Cis_Vyr").setInteger(1);
    var.field("Varianta1").setString("A");
    EXPECT_THROW(var.post(), Abort);
    ASSERT_EQ(ui.shownMessages().size(), 1);
    EXPECT_EQ(ui.shownMessages().first().caption, "Chyba");
    EXPECT_FALSE(ui.shownMessages().first().text.isEmpty());
    EXPECT_EQ(var.state(), TableState::Insert);
}

TEST_F(StorageMessagesTest, EverySharedTableHasTheMessageHandlers) {
    for (Table* t : dm->tabulky()) {
        EXPECT_TRUE(bool(t->onPostError)) << t->def().address().toStdString();
        EXPECT_TRUE(bool(t->onDeleteError)) << t->def().address().toStdString();
    }
}

// ---- deleting a record that still has dependent records ----------------------------------------

class DetailDeleteTest : public StorageMessagesTest {
protected:
    void SetUp() override {
        StorageMessagesTest::SetUp();
        addProduct(1);
    }
    // A delivery note 10 with two items; item 1 has two component rows.
    void deliveryNote() {
        add(*dm->TableHlaDL, {{"CIS_UCTU", 10}, {"STAV", "0"}});
        add(*dm->TablePolDL, {{"PorCis", 1}, {"Cis_Vyr", 1}});
        add(*dm->TablePolVarDL, {{"Cis_Vyr", 1}, {"KCisVyr", 2}});
        add(*dm->TablePolVarDL, {{"Cis_Vyr", 1}, {"KCisVyr", 3}});
        add(*dm->TablePolDL, {{"PorCis", 2}, {"Cis_Vyr", 1}});
        for (Table* t : {dm->TablePolVarDL, dm->TablePolDL})
            t->close();
    }
    qint64 rows(const char* address) {
        Table t(*db, QString::fromUtf8(address));
        t.open();
        return t.recordCount();
    }
};

TEST_F(DetailDeleteTest, DeliveryNoteAsksOnceNoKeepsAllYesDeletesItemsAndComponents) {
    deliveryNote();
    Table& h = *dm->TableHlaDL;
    ASSERT_TRUE(h.locate("CIS_UCTU", {10}));
    ui.answer(Button::No, "včetně položek");
    EXPECT_THROW(h.remove(), Abort);
    EXPECT_EQ(boxes(), QStringList{"Dotaz: Smazat tento záznam včetně položek ? "});
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Hla_DL"), 1);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Pol_DL"), 2);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Komp_DL"), 2);

    ui.clearShown();
    ui.answer(Button::Yes, "včetně položek");
    h.remove();
    // Asked once: the items' components go without a question.
    EXPECT_EQ(boxes(), QStringList{"Dotaz: Smazat tento záznam včetně položek ? "});
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Hla_DL"), 0);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Pol_DL"), 0);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Komp_DL"), 0);
}

TEST_F(DetailDeleteTest, EachHeaderAsksWithItsCaption) {
    const struct {
        Table* header;
        Table* items;
        const char* caption;
    } cases[] = {
        {dm->TableHlaDLP, dm->TablePolDLP, "Chyba"},
        {dm->TableHlaPrij, dm->TablePolPrij, "Dotaz"},
        {dm->TableHlaVyd, dm->TablePolVyd, "Dotaz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header->def().address().toStdString());
        add(*c.header, {{"CIS_UCTU", 7}, {"STAV", "0"}});
        add(*c.items, {{"PorCis", 1}, {"Cis_Vyr", 1}});
        add(*c.items, {{"PorCis", 2}, {"Cis_Vyr", 1}});
        ui.clearShown();
        ui.answer(Button::No);
        EXPECT_THROW(c.header->remove(), Abort);
        EXPECT_EQ(boxes(), QStringList{QString::fromUtf8(c.caption) +
                                       ": Smazat tento záznam včetně položek ? "});
        EXPECT_EQ(c.items->recordCount(), 2);
        ui.answer(Button::Yes);
        c.header->remove();
        EXPECT_TRUE(c.header->isEmpty());
        c.items->close();
        c.items->open();
        c.items->setMaster(nullptr, {}, {});
        EXPECT_EQ(c.items->recordCount(), 0);
    }
}

TEST_F(DetailDeleteTest, ItemsDropTheirVariantRowsWithoutAsking) {
    for (Table* items : {dm->TablePolPrij, dm->TablePolVyd}) {
        SCOPED_TRACE(items->def().address().toStdString());
        Table* header = items->master();
        Table* variants = items == dm->TablePolPrij ? dm->TablePolVarPrij : dm->TablePolVarVyd;
        add(*header, {{"CIS_UCTU", 3}, {"STAV", "0"}});
        add(*items, {{"PorCis", 1}, {"Cis_Vyr", 1}});
        add(*items, {{"PorCis", 2}, {"Cis_Vyr", 1}});
        for (int line = 1; line <= 3; ++line)
            add(*variants, {{"DbPorCis", line}, {"Cis_Vyr", 1}, {"Mnozstvi", 1.0}});
        items->first();
        add(*variants, {{"DbPorCis", 1}, {"Cis_Vyr", 1}}); // item 1's own variant
        // A form left the variants filtered to one line: the item still goes, with all of them.
        items->last();
        variants->setFilter("DbPorCis = 2");
        variants->setFiltered(true);
        ui.clearShown();
        items->remove();
        EXPECT_TRUE(boxes().isEmpty()) << boxes().join('\n').toStdString();
        Table all(*db, variants->def().address());
        all.open();
        EXPECT_EQ(all.recordCount(), 1); // item 1's variant stays
        EXPECT_EQ(items->recordCount(), 1);
        EXPECT_TRUE(variants->filtered()); // the form's filter is back
        variants->setFiltered(false);
    }
}

TEST_F(DetailDeleteTest, AHandlerThatCannotSettleTheErrorIsNotRetriedForEver) {
    deliveryNote();
    Table h(*db, "Ext_Ucty\\DodListy\\Hla_DL");
    int asked = 0;
    h.onDeleteError = [&asked](Table&, const StorageError&) {
        ++asked;
        return ErrorAction::Retry; // deletes nothing
    };
    h.open();
    EXPECT_THROW(h.remove(), StorageError);
    EXPECT_GE(asked, 1);
    EXPECT_LE(asked, 5);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Pol_DL"), 2);
}

} // namespace

namespace {

TEST_F(DetailDeleteTest, APrivateCursorDeletesItemsWithTheirComponents) {
    deliveryNote();
    Table h(*db, "Ext_Ucty\\DodListy\\Hla_DL");
    installStorageErrorHandlers(h); // no shared item cursors: the rows go directly
    h.open();
    ui.answer(Button::Yes, "včetně položek");
    h.remove();
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Hla_DL"), 0);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Pol_DL"), 0);
    EXPECT_EQ(rows("Ext_Ucty\\DodListy\\Komp_DL"), 0);
}

} // namespace
