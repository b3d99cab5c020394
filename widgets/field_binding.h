#pragma once

// Boxes bound to the fields of a table cursor: the current record into the boxes, the boxes into
// the record. Every entry page of the system binds its boxes through one of these (the common
// register for its own table, a form for the detail tables of its other pages).
//
// What each kind of box holds:
//   EditBox        a value of the box's kind (the field's kind unless the form chose Text, in
//                  which case a number field takes the text read as a number)
//   QComboBox      a value of its list, by item data when the items carry data (the text shown
//                  may then be a longer description), else by text; an editable one may hold
//                  another value, a fixed one shows an older record's value as an extra item
//   QCheckBox      a logical field
//   QPlainTextEdit a memo
//   QLabel         the field's text, shown only (never stored)
// A number typed as text takes a decimal comma or point; a text that is not a number of the
// field's kind is said so ("Hodnota ... není číslo") and nothing is stored.

#include "editbox.h"
#include "table.h"

#include <QList>
#include <QString>

class QWidget;

namespace brix {

class FieldBinding {
public:
    explicit FieldBinding(Table& table) : table_(table) {}

    Table& table() const { return table_; }

    // Binds the box to the field. Throws StorageError when the table has no such field.
    void add(const QString& field, QWidget* box);
    // The box of a field; null when none is bound to it.
    QWidget* box(const QString& field) const;
    bool isEmpty() const { return bindings_.isEmpty(); }
    QWidget* firstBox() const { return bindings_.isEmpty() ? nullptr : bindings_.front().widget; }

    // The current record (or the one being inserted) into the boxes; blank boxes without one.
    void load();
    // The boxes into the record being edited or inserted. False after saying why a box holds
    // no value of its field (the box has the focus then); nothing is stored in that case.
    // A field that refuses a value throws StorageError (the caller reports it).
    bool store();
    // Whether a box shows something else than load() put into it (what the user typed, or what
    // a rule of the form computed).
    bool modified() const;
    // What the boxes show now counts as loaded (a form that formats some boxes itself after
    // load() calls it then).
    void keepAsLoaded();

    // An edit box of the field's kind, size and shown decimals (not bound).
    static EditBox* makeEditBox(const FieldDef& field, QWidget* parent);
    static EditBox::Kind boxKind(FieldKind kind);

private:
    struct Binding {
        int field;
        QWidget* widget;
    };
    // The value a text box or combo box stands for; false after saying why it is none.
    bool textValue(const Binding& b, const QString& text, QVariant* value) const;
    static QString shown(const QWidget* box);

    Table& table_;
    QList<Binding> bindings_;
    QStringList loaded_; // what each box showed after load()
};

} // namespace brix
