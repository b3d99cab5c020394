#pragma once
// The code-list register: the common register with the boxes of one code list. A list names
// its fields once (caption, hint, kind of box); the grid's columns and the entry page's boxes
// follow from that list. Boxes with a list of values are combo boxes (editable where other
// values may be typed); a "Text" box holds a number field as typed, for lists that check the
// text themselves on "&Ok".

#include "register.h"

#include <QStringList>

class QComboBox;

namespace brix {

struct PoleCiselniku {
    enum class Box {
        Pole,        // an edit box of the field's kind
        Memo,        // a note box (not in the grid)
        Zaskrtnuti,  // a check box
        Seznam,      // a combo box with the values only
        SeznamAJine, // a combo box whose list may be left for another value
        Text,        // the field's text as typed; the list checks it on "&Ok"
        JenMrizka    // shown in the grid only
    };
    PoleCiselniku(QString pole_, QString popisek_, QString napoveda_ = {}, Box box_ = Box::Pole,
                  QStringList seznam_ = {})
        : pole(std::move(pole_)), popisek(std::move(popisek_)), napoveda(std::move(napoveda_)),
          box(box_), seznam(std::move(seznam_)) {}

    QString pole;
    QString popisek;
    QString napoveda;
    Box box = Box::Pole;
    QStringList seznam;
    bool vMrizce = true; // a column of the grid (a note box never is)
};

class TFormulCiselnik : public RegisterForm {
    Q_OBJECT
public:
    TFormulCiselnik(const QString& jmeno, Table& table, RegisterConfig config,
                    QList<PoleCiselniku> pole, QWidget* parent = nullptr);

    // The box of a field (an EditBox, QPlainTextEdit, QCheckBox or QComboBox); null when none.
    QWidget* box(const QString& pole) const;
    EditBox* editBox(const QString& pole) const;
    QComboBox* seznam(const QString& pole) const;

    // The list's own check, then the bound boxes.
    bool storeEntry() override;

protected:
    // The list's own check of the boxes before anything is stored; false after saying why.
    virtual bool kontrolaVstupu() { return true; }

private:
    QList<PoleCiselniku> pole_;
    QHash<QString, QWidget*> boxy_;
};

} // namespace brix
