#pragma once
// The fixed Czech messages of the storage rules: what the user is told when a post or a delete
// of a shared table breaks a key, leaves a required field blank, names a product that does not
// exist or would leave items behind. Every register and entry form uses the same texts.

#include "storage_error.h"
#include "table.h"

#include <functional>
#include <optional>

namespace brix {

struct StorageMessage {
    QString text;
    QString caption; // "Chyba" or "Upozornění"
};

// The table's own message for a post error of one of the four storage rules, or the message of
// a record another copy changed or deleted meanwhile ("Záznam mezitím změnil jiný uživatel",
// "Záznam mezitím smazal jiný uživatel", caption "Upozornění", every table); nullopt when the
// table has none for this kind (the storage's own text is then shown, see reportPostError).
std::optional<StorageMessage> storageErrorMessage(const StorageError& error, const Table& table);

// The question asked before a header is deleted together with its items.
inline constexpr char16_t kSmazatVcetnePolozek[] = u"Smazat tento záznam včetně položek ? ";

// How a DetailRecordsExist on deleting a record of this table is settled.
enum class DetailDeletePolicy {
    None,        // not settled: the storage's message is shown
    AskDotaz,    // ask kSmazatVcetnePolozek, caption "Dotaz"; Yes deletes the details, retry
    AskChyba,    // the same question captioned "Chyba"
    DeleteSilent // delete the dependent rows and retry, nothing asked
};
DetailDeletePolicy detailDeletePolicy(const Table& table);

// Shows the message of a post error through the platform layer and abandons the post: the
// record stays in edit or insert. An error without a message of its table shows the storage's
// own text captioned "Chyba". Always answers Abort.
ErrorAction reportPostError(Table& table, const StorageError& error);

// Deletes the rows that keep a record from being deleted. The data module passes one that goes
// through its shared item cursors (so that each item's own delete rules run).
using DeleteDetails = std::function<void(Table& master)>;

// Settles a delete error: DetailRecordsExist by the table's policy (asking where it asks, then
// deleting the details with `deleteDetails` and retrying); a No abandons silently; any other
// error shows the storage's text ("Chyba") and abandons.
ErrorAction reportDeleteError(Table& table, const StorageError& error,
                              const DeleteDetails& deleteDetails);

// Deletes, through private cursors, every row of the tables named in the storage rules of the
// table's definition that depends on its current record, and their own dependents. Those rows
// run no handlers.
void deleteDependentRows(Table& master);

// Installs reportPostError and reportDeleteError as the table's error handlers; without
// `deleteDetails` dependents are deleted by deleteDependentRows.
void installStorageErrorHandlers(Table& table, DeleteDetails deleteDetails = {});

} // namespace brix
