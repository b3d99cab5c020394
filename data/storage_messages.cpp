#include "storage_messages.h"

#include "platform.h"

#include <QHash>

namespace brix {

namespace {

const QString kChyba = QStringLiteral("Chyba");
const QString kUpozorneni = QStringLiteral("Upozornění");

// Post messages of one table; an empty text means the table has no message for that rule.
struct PostMessages {
    QString keyViolation;
    QString requiredMissing;
    QString keyCaption = kChyba;
    QString requiredCaption = kChyba;
};

QString duplicate(const QString& what) {
    return what + QStringLiteral(" již existuje, položka nebude uložena");
}

QString tabfix(const QString& table) {
    return QStringLiteral("Chyba automatické položky na databázi ") + table +
           QStringLiteral(", kontaktujte dodavatele nebo spusťte Tabfix");
}

QHash<QString, PostMessages> buildPostMessages() {
    QHash<QString, PostMessages> m;
    const QString required = QStringLiteral("Prosím zadejte povinné položky ");
    auto both = [&](std::initializer_list<const char*> files, const QString& key,
                    const QString& req) {
        for (const char* f : files)
            m.insert(QString::fromLatin1(f), PostMessages{key, req});
    };
    both({"firmy"}, QStringLiteral("Firma s tímto číslem již existuje, položka nebude uložena"),
         required + QStringLiteral("(číslo firmy)"));
    both({"skonto"}, duplicate(QStringLiteral("Položka s tímto pořadovým číslem")),
         required + QStringLiteral("(číslo skonta)"));
    both({"meny"}, duplicate(QStringLiteral("Položka s tímto kódem a datem platnosti")), required);
    both({"obor"}, duplicate(QStringLiteral("Položka s tímto číslem oboru")),
         required + QStringLiteral("(číslo oboru)"));
    both({"kod_ozn1"}, duplicate(QStringLiteral("Tato položka")),
         required + QStringLiteral("(kódové označení)"));
    both({"kod_ozn2"}, duplicate(QStringLiteral("Položka s tímto kódovým označením")),
         required + QStringLiteral("(kódové označení)"));
    both({"rabskup"}, duplicate(QStringLiteral("Položka s tímto číslem rabatní skupiny")),
         required + QStringLiteral("(číslo rab.skup.)"));
    both({"sklady"}, duplicate(QStringLiteral("Položka s tímto číslem skladu")), required);
    both({"vynskup"}, duplicate(QStringLiteral("Položka s tímto číslem výnosové skupiny")),
         required + QStringLiteral("(číslo výnosové skupiny)"));
    both({"vyrobky"}, duplicate(QStringLiteral("Položka s tímto číslem výrobku")),
         required + QStringLiteral("(číslo výrobku)"));
    both({"druhy_uctu"}, duplicate(QStringLiteral("Typ účtu s tímto druhem")),
         required + QStringLiteral("(zaokrouhlení)"));
    both({"fir_zapis"},
         QStringLiteral("Chyba automatické položky na databázi, kontaktujte dodavatele nebo "
                        "spusťte Tabfix"),
         required + QStringLiteral("(číslo firmy)"));
    const QString ucet = duplicate(QStringLiteral("Účet s tímto číslem"));
    both({"hla_poku", "hla_poko"}, ucet, required + QStringLiteral("(Příjem/Výdej)"));
    both({"hla_prij", "hla_vyd"}, ucet, required + QStringLiteral("(číslo účtu)"));
    both({"vyr_komp"}, duplicate(QStringLiteral("Položka s kombinací těchto čísel výrobků")), {});
    both({"cis_uctu"}, duplicate(QStringLiteral("Položka s tímto typem účtu")), {});
    both({"cis_rada"}, duplicate(QStringLiteral("Položka s tímto označením řady")), {});
    both({"clo"}, duplicate(QStringLiteral("Položka s tímto čílem celního sazebníku")), {});
    both({"zamest"}, duplicate(QStringLiteral("Zaměstnanec s tímto jménem a příjmením")), {});
    both({"stredisko"}, duplicate(QStringLiteral("Středisko s tímto označením")), {});
    both({"sklpol"},
         QStringLiteral("Chyba automatické položky na databázi SklPol, kontaktujte dodavatele "
                        "nebo spusťte Tabfix"),
         {});
    both({"sklzas"},
         QStringLiteral("Nelze uložit. Duplicitní položka Číslo výrobku/Sklad nebo "
                        "Obj.číslo/Sklad"),
         {});
    both({"hla_fav", "hla_dlp", "hla_fap", "hla_ovjv"}, ucet, {});
    both({"pol_poku", "pol_fav", "pol_prij", "pol_vyd", "pol_poko"},
         duplicate(QStringLiteral("Položka s tímto číslem účtu a pořadovým číslem")), {});
    both({"var_prij"}, tabfix(QStringLiteral("PolVarPrij")), {});
    both({"var_vyd"}, tabfix(QStringLiteral("PolVarVyd")), {});
    both({"var_objv"}, tabfix(QStringLiteral("PolVarObjV")), {});
    both({"var_poklo"}, tabfix(QStringLiteral("PolVarPoklO")), {});
    both({"komp_dl"},
         QStringLiteral("Nelze uložit. Duplicitní položka varianty DL-kontaktujte Velmarka nebo "
                        "použijte Tabfix"),
         {});
    both({"var_dlp"}, QStringLiteral("Nelze uložit. Duplicitní položka varianty DLP"),
         QStringLiteral("Není vyplněná povinná položka ve variantách položek DLP-číslo výrobku"));
    PostMessages hlaDL{QStringLiteral("Nelze uložit. Duplicitní číslo účtu"),
                       required + QStringLiteral("(číslo účtu,stav,vystaveno,dat.plnění,firma "
                                                 "-(+země,kurs)")};
    hlaDL.requiredCaption = kUpozorneni;
    m.insert(QStringLiteral("hla_dl"), hlaDL);
    return m;
}

const QHash<QString, PostMessages>& postMessages() {
    static const QHash<QString, PostMessages> m = buildPostMessages();
    return m;
}

// "Pol_DL.DB" -> "pol_dl": the file name identifies the table across the catalogue.
QString fileKey(const Table& table) {
    QString f = table.def().file.toLower();
    if (f.endsWith(QLatin1String(".db"))) f.chop(3);
    return f;
}

bool isProductItemTable(const QString& key) {
    return key == QLatin1String("pol_dl") || key == QLatin1String("pol_dlp") ||
           key == QLatin1String("pol_fap") || key == QLatin1String("pol_objv");
}

QString fieldText(const Table& table, const char* name) {
    int i = table.fieldIndex(QString::fromLatin1(name));
    if (i < 0) return QString();
    return displayText(table.fieldValue(i), table.fieldDef(i).kind);
}

// The items of the delivery notes, goods received, received invoices and purchase orders.
std::optional<StorageMessage> productItemMessage(const StorageError& e, const Table& t,
                                                 const QString& key) {
    const bool dl = key == QLatin1String("pol_dl");
    const QString caption = dl ? kChyba : kUpozorneni;
    switch (e.kind()) {
    case StorageErrorKind::ForeignKeyViolation:
        return StorageMessage{QStringLiteral("Číslo výrobku není v seznamu výrobků"), caption};
    case StorageErrorKind::KeyViolation:
        return StorageMessage{
            QStringLiteral("Položku nelze uložit. Duplicitní položka(číslo účtu=") +
                fieldText(t, "CIS_UCTU") + QStringLiteral("poř.č.=") + fieldText(t, "PorCis"),
            dl || key == QLatin1String("pol_dlp") ? kChyba : kUpozorneni};
    case StorageErrorKind::RequiredFieldMissing:
        return StorageMessage{
            dl ? QStringLiteral("Nelze uložit položku bez čísla účtu,poř.č. nebo čísla výrobku")
               : QStringLiteral("Nelze uložit položku bez čísla účtu,poř.č. a čísla výrobku"),
            caption};
    default:
        return std::nullopt;
    }
}

void showStorageText(const StorageError& e) {
    Platform::current().error(e.message());
}

} // namespace

std::optional<StorageMessage> storageErrorMessage(const StorageError& error, const Table& table) {
    // Two copies of the program met on one record: the same words for every table.
    if (error.kind() == StorageErrorKind::RecordChangedByOther)
        return StorageMessage{QStringLiteral("Záznam mezitím změnil jiný uživatel"), kUpozorneni};
    if (error.kind() == StorageErrorKind::RecordDeletedByOther)
        return StorageMessage{QStringLiteral("Záznam mezitím smazal jiný uživatel"), kUpozorneni};
    const QString key = fileKey(table);
    if (isProductItemTable(key)) return productItemMessage(error, table, key);
    auto it = postMessages().constFind(key);
    if (it == postMessages().constEnd()) return std::nullopt;
    if (error.kind() == StorageErrorKind::KeyViolation && !it->keyViolation.isEmpty())
        return StorageMessage{it->keyViolation, it->keyCaption};
    if (error.kind() == StorageErrorKind::RequiredFieldMissing && !it->requiredMissing.isEmpty())
        return StorageMessage{it->requiredMissing, it->requiredCaption};
    return std::nullopt;
}

DetailDeletePolicy detailDeletePolicy(const Table& table) {
    const QString key = fileKey(table);
    if (key == QLatin1String("hla_dl") || key == QLatin1String("hla_prij") ||
        key == QLatin1String("hla_vyd"))
        return DetailDeletePolicy::AskDotaz;
    if (key == QLatin1String("hla_dlp")) return DetailDeletePolicy::AskChyba;
    if (key == QLatin1String("pol_dl") || key == QLatin1String("pol_prij") ||
        key == QLatin1String("pol_vyd"))
        return DetailDeletePolicy::DeleteSilent;
    return DetailDeletePolicy::None;
}

ErrorAction reportPostError(Table& table, const StorageError& error) {
    if (auto m = storageErrorMessage(error, table)) {
        Platform::current().messageBox(
            {m->caption, m->text, m->caption == kChyba ? MessageIcon::Error : MessageIcon::Warning,
             Button::Ok});
    } else {
        showStorageText(error);
    }
    return ErrorAction::Abort;
}

ErrorAction reportDeleteError(Table& table, const StorageError& error,
                              const DeleteDetails& deleteDetails) {
    if (error.kind() == StorageErrorKind::DetailRecordsExist) {
        DetailDeletePolicy policy = detailDeletePolicy(table);
        if (policy != DetailDeletePolicy::None) {
            if (policy != DetailDeletePolicy::DeleteSilent) {
                const QString text = QString::fromUtf16(kSmazatVcetnePolozek);
                bool yes = policy == DetailDeletePolicy::AskDotaz
                               ? Platform::current().askYesNo(text)
                               : Platform::current().askYesNo(text, kChyba);
                if (!yes) return ErrorAction::Abort;
            }
            if (deleteDetails)
                deleteDetails(table);
            else
                deleteDependentRows(table);
            return ErrorAction::Retry;
        }
    }
    showStorageText(error);
    return ErrorAction::Abort;
}

void deleteDependentRows(Table& master) {
    for (const DetailRule& rule : master.def().detailRules) {
        QVariantList values;
        bool blank = false;
        for (const QString& f : rule.masterFields) {
            QVariant v = master.fieldValue(master.fieldIndex(f));
            blank = blank || v.isNull();
            values << v;
        }
        if (blank) continue;
        Table detail(master.database(), rule.detailTable);
        detail.open();
        QStringList fields = rule.detailFields;
        while (detail.locate(fields.join(QLatin1Char(';')), values)) {
            deleteDependentRows(detail); // an item's own components and variant lines first
            detail.remove();
        }
        detail.close();
    }
}

void installStorageErrorHandlers(Table& table, DeleteDetails deleteDetails) {
    table.onPostError = [](Table& t, const StorageError& e) { return reportPostError(t, e); };
    table.onDeleteError = [deleteDetails = std::move(deleteDetails)](Table& t,
                                                                     const StorageError& e) {
        return reportDeleteError(t, e, deleteDetails);
    };
}

} // namespace brix
