#pragma once
// The command that prints a foreign table: `read FILE [--password P] [--schema]`.

#include <QStringList>
#include <QTextStream>

namespace brix::formats {

// Prints the Paradox (.db) or dBASE (.dbf) table FILE to `out` as CSV in UTF-8: a header of the
// field names, then one line per record; dates dd.mm.yyyy, timestamps dd.mm.yyyy hh:mm:ss,
// times hh:mm:ss, numbers with a decimal point, logicals true/false, binary values in Base64,
// a blank field as an empty cell. With --schema it prints the fields instead: name, type, size
// and places. `args` are the words after "read". Returns 0 on success, 1 when the table cannot
// be read (the reason on `err`), 2 on wrong arguments and when a table protected by a password
// is given none or a wrong one.
int runReadCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace brix::formats
