#pragma once
// The number series: one per document type in "Cis_uctu" (the number the next new document is
// offered) and the product series of "Cis_rada.db" (the last product number given out). Each
// operation reads and writes its series in one transaction, so that copies of the program
// sharing a data root never take the same number.

#include "table.h"

namespace brix {

// Numbers are 64-bit, as the fields that keep them. A series that cannot give out another
// number (the next one would not fit) refuses with StorageError: "Číselná řada dokladů typu DL je
// vyčerpána, další číslo nelze přidělit" (and "Číselná řada výrobků ..." for a product series).

// `cisUctu` is the open cursor on "Ciselnik\Cis_uctu". With cislo <= 0 a query: PrvCis of the
// type's series, -1 without one. With cislo > 0 the number is recorded as used: the answer is
// PrvCis as it was, and PrvCis becomes cislo + 1 unless it is larger already. The kind (druh)
// selects nothing; the series is per type. Post errors go through the table's error handler.
qint64 DalsiCisloUctu(Table& cisUctu, const QString& typ, const QString& druh, qint64 cislo);

// The number a document created by a function takes: from the series' PrvCis upward, the first
// number that no record of `doklady` (the target header table, open, any index) has in
// CIS_UCTU; it is recorded at once. `obsazeno` is called for every number stepped over (the
// callers show "Zvyšuji číslo fa - obsazené"). -1 when the type has no series.
qint64 VolneCisloUctu(Table& cisUctu, const QString& typ, const QString& druh, Table* doklady,
                      const std::function<void(qint64)>& obsazeno = {});

// `cisRada` is the open cursor on "Ciselnik\Cis_rada.db", `vyrobky` on "Ciselnik\Vyrobky".
// The next free product number of the series: Prvni_Cis + 1, stepped past every existing
// product, stored back as Prvni_Cis. 0 (nothing changed) when the series does not exist.
qint64 CisloZRady(Table& cisRada, Table& vyrobky, const QString& rada);

} // namespace brix
