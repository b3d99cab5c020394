#pragma once
// The shape of a catalogue table: fields with their kinds, keys, indexes and storage rules.

#include <QString>
#include <QStringList>
#include <QVector>

namespace brix {

// Kinds of fields and how each is kept in SQLite:
// clang-format off
//   Text (n characters)    TEXT, Czech collation; blank is NULL; cut to n on assignment,
//                          trailing blanks dropped
//   SmallInt, LongInt      INTEGER
//   AutoInc                INTEGER, the highest value + 1 when inserted blank
//   Float                  REAL
//   Money                  REAL holding a value of four places (read back rounded half to even)
//   Logical                INTEGER 0 / 1
//   Date                   TEXT 'yyyy-MM-dd'
//   Time                   TEXT 'hh:mm:ss.zzz'
//   Timestamp              TEXT 'yyyy-MM-dd hh:mm:ss.zzz'
//   Memo, FormattedMemo    TEXT, Czech collation
//   Blob                   BLOB
// clang-format on
enum class FieldKind {
    Text,
    SmallInt,
    LongInt,
    AutoInc,
    Float,
    Money,
    Logical,
    Date,
    Time,
    Timestamp,
    Memo,
    FormattedMemo,
    Blob
};

QString fieldKindName(FieldKind kind);
bool isTextKind(FieldKind kind);    // Text, Memo, FormattedMemo
bool isNumericKind(FieldKind kind); // integers, float, money
bool isIntegerKind(FieldKind kind);

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0; // characters of a Text field; 0 otherwise
    bool required = false;
    bool optional = false; // older data roots may lack the column; the table works without it
    int decimals = -1;     // places shown, where the catalogue fixes them
};

struct IndexDef {
    QString name; // "" for the primary index
    QStringList fields;
};

// A record of this table may not be deleted while `detail` has records whose `detailFields`
// equal its `masterFields`.
struct DetailRule {
    QString detailTable; // catalogue address of the detail
    QStringList masterFields;
    QStringList detailFields;
};

// `field` of a posted record must exist as `refField` in `refTable`.
struct ForeignKeyRule {
    QString field;
    QString refTable;
    QString refField;
};

struct TableDef {
    QString directory; // as the catalogue spells it, backslashes: "Ext_Ucty\\DodListy"
    QString file;      // without extension: "Hla_DL"
    QString sqlName;   // the SQL table: "ext_ucty_dodlisty_hla_dl"
    QVector<FieldDef> fields;
    QStringList primaryKey; // empty: no key (records in the order they were written)
    QVector<IndexDef> indexes;
    QString defaultIndex; // index a newly opened cursor uses ("" = primary)
    QVector<DetailRule> detailRules;
    QVector<ForeignKeyRule> foreignKeys;

    QString address() const { return directory + QLatin1Char('\\') + file; }
    int fieldIndex(const QString& name) const; // case-insensitive; -1 when absent
    const FieldDef* field(const QString& name) const;
    const IndexDef* index(const QString& name) const; // case-insensitive; "" gives the primary
};

} // namespace brix
