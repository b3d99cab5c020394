#pragma once
// The code-list registers: payment terms, fields of business, rebate groups, revenue groups,
// currencies, code designations 1 and 2, the customs tariff, document kinds, warehouses and
// cost centres. Each is the common code-list register with its own configuration; a form that
// has a rule of its own carries it here. The tables are the data module's shared cursors, so
// that a form opened as a chooser leaves the chosen record current for its caller.

#include "ciselnik.h"

namespace brix {

class TFormulSkonto : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulSkonto(Table& skonto, QWidget* parent = nullptr);
};

class TFormulObor : public TFormulCiselnik {
    Q_OBJECT
public:
    // The number (1 to 20) selects a rebate column of the rebate groups.
    explicit TFormulObor(Table& obor, QWidget* parent = nullptr);
};

class TFormulRabSkup : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulRabSkup(Table& rabSkup, QWidget* parent = nullptr);
};

class TFormulVynSkup : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulVynSkup(Table& vynSkup, QWidget* parent = nullptr);
};

// Currencies and their rates, one record per currency and validity date.
class TFormulZeme : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulZeme(Table& meny, QWidget* parent = nullptr);
};

class TFormulKodOzn1 : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulKodOzn1(Table& kodOzn1, QWidget* parent = nullptr);
};

class TFormulKodOzn2 : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulKodOzn2(Table& kodOzn2, QWidget* parent = nullptr);
};

class TFormulCelSaz : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulCelSaz(Table& clo, QWidget* parent = nullptr);
};

// Document kinds; the form also gives out the numbers of the document types' series.
class TFormulDruhUctu : public TFormulCiselnik {
    Q_OBJECT
public:
    TFormulDruhUctu(Table& druhyUctu, Table* cisUctu, QWidget* parent = nullptr);

    // The number series of the document type (see DalsiCisloUctu of the number series): with
    // cislo <= 0 the number offered next, else records cislo as used. -1 without a series.
    qint64 DalsiCisloUctu(const QString& typ, const QString& druh, qint64 cislo);

private:
    Table* cisUctu_;
};

class TFormulSklad : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulSklad(Table& sklady, QWidget* parent = nullptr);

    // "...." or F3 in the cost-centre box: the chooser gives the chosen cost centre's key.
    void setVyberStrediska(std::function<bool(QString&)> vyber) { vyberStrediska_ = vyber; }

protected:
    bool kontrolaVstupu() override;

private:
    std::function<bool(QString&)> vyberStrediska_;
};

class TFormulStredGrid : public TFormulCiselnik {
    Q_OBJECT
public:
    explicit TFormulStredGrid(Table& stredisko, QWidget* parent = nullptr);

    // "&Filtr" in the menu bar itself.
    QAction* MenuFiltrHlavni = nullptr;
};

} // namespace brix
