#include "entry_conflict.h"

#include "platform.h"
#include "storage_messages.h"

namespace brix {

EntrySave::EntrySave(Table& table, ConflictPolicy policy)
    : table_(table), policy_(table.conflictPolicy()), handler_(table.onPostError) {
    table_.setConflictPolicy(policy);
    const TableErrorHandler own = handler_;
    table_.onPostError = [own](Table& t, const StorageError& e) {
        if (isEditConflict(e)) return ErrorAction::Fail; // the form asks the user
        return own ? own(t, e) : ErrorAction::Fail;
    };
}

EntrySave::~EntrySave() {
    table_.setConflictPolicy(policy_);
    table_.onPostError = handler_;
}

bool isEditConflict(const StorageError& e) {
    return e.kind() == StorageErrorKind::RecordChangedByOther ||
           e.kind() == StorageErrorKind::RecordDeletedByOther;
}

ConflictChoice askAboutConflict(const Table& table, const StorageError& e) {
    const std::optional<StorageMessage> m = storageErrorMessage(e, table);
    const bool deleted = e.kind() == StorageErrorKind::RecordDeletedByOther;
    const QString text =
        (m ? m->text : e.message()) + QStringLiteral(".\n\n") +
        (deleted ? QStringLiteral("Ano: uložit záznam znovu s hodnotami na obrazovce.\n"
                                  "Ne: záznam zahodit.\n")
                 : QStringLiteral("Ano: uložit hodnoty na obrazovce, jak jsou (změna druhého "
                                  "uživatele se přepíše).\n"
                                  "Ne: načíst záznam znovu a své změny zahodit.\n")) +
        QStringLiteral("Storno: pokračovat v opravě.");
    switch (Platform::current().askYesNoCancel(text)) {
    case Button::Yes:
        return ConflictChoice::SaveAsItIs;
    case Button::No:
        return ConflictChoice::Reload;
    default:
        return ConflictChoice::KeepEditing;
    }
}

bool reloadEditedRecord(Table& table) {
    const Table::Bookmark b = table.bookmark();
    table.cancel();
    if (!b || !table.gotoBookmark(b)) return false;
    table.refresh();
    table.edit();
    return true;
}

} // namespace brix
