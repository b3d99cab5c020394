#pragma once
// Saving an entry form when another copy of the program changed or deleted the record
// meanwhile. While an entry form saves, its cursor detects such a change instead of merging it
// (ConflictPolicy::Detect); the form then tells the user and lets him choose: save his values as
// they are on screen (Overwrite, a deleted record is inserted again), load the record again, or
// go on editing. Nothing he typed is lost by the message itself: the record stays in edit with
// his values.

#include "storage_error.h"
#include "table.h"

namespace brix {

// For the duration of one save: the cursor detects (or, when the user said so, overwrites)
// another copy's change, and such a refusal reaches the form as a StorageError instead of the
// table's own error handler. The policy and the handler are put back afterwards.
class EntrySave {
public:
    explicit EntrySave(Table& table, ConflictPolicy policy = ConflictPolicy::Detect);
    ~EntrySave();
    EntrySave(const EntrySave&) = delete;
    EntrySave& operator=(const EntrySave&) = delete;

private:
    Table& table_;
    ConflictPolicy policy_;
    TableErrorHandler handler_;
};

bool isEditConflict(const StorageError& e);

enum class ConflictChoice {
    SaveAsItIs, // write the values on screen (insert the record again when it was deleted)
    Reload,     // drop the edit; a changed record is shown as it is stored now
    KeepEditing // nothing happens; the values stay on screen
};

// The table's message ("Záznam mezitím změnil jiný uživatel" / "…smazal…") with the question
// what to do (caption "Dotaz": Yes saves as it is, No reloads, Cancel keeps editing).
ConflictChoice askAboutConflict(const Table& table, const StorageError& e);

// After Reload: the edit is cancelled and, when the record still exists, it is read again and
// put back into edit (true); false when it is gone.
bool reloadEditedRecord(Table& table);

} // namespace brix
