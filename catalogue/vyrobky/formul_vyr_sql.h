#pragma once
// The quick product search "TFormulVyrSQL": boxes for the key, the name and the code
// designations 1 and 2, "&Ok", and the grid over the query QVyr, whose rows are read a page at
// a time as the grid shows them. Enter or a double click in the grid chooses the row, Escape
// cancels; the caller reads the key of the chosen row.

#include "rejstrik_vyrobku.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;
class QTableView;

namespace brix {

// The rows of a product query, read in pages of 64 as they are asked for; the count is asked
// once per opening.
class QVyr : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QVyr(Database& db, QObject* parent = nullptr);
    void open(const DotazVyrSQL& dotaz);
    void close();
    bool active() const { return aktivni_; }
    const DotazVyrSQL& dotaz() const { return dotaz_; }
    int pagesRead() const { return precteno_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const QVector<QVariant>* radek(int row) const;

    Database& db_;
    DotazVyrSQL dotaz_;
    bool aktivni_ = false;
    int pocet_ = 0;
    QStringList sloupce_;
    mutable QHash<int, QVector<QVector<QVariant>>> stranky_;
    mutable int precteno_ = 0;
};

class TFormulVyrSQL : public QDialog {
    Q_OBJECT
public:
    explicit TFormulVyrSQL(Database& db, QWidget* parent = nullptr);

    // Clears the four boxes and closes the query; the key box gets the text when given.
    void priprav(const QString& klic = QString(), const QString& nazev = QString());
    // "&Ok": the query of the boxes opened, the grid focused.
    void OkClick();
    // The key of the grid's current row; nothing without a row.
    std::optional<QString> vybranyKlic() const;
    QVyr& query() { return *QVyr_; }

    QLineEdit* EditKlic = nullptr;
    QLineEdit* EditNazev = nullptr;
    QLineEdit* EditKO1 = nullptr;
    QLineEdit* EditKO2 = nullptr;
    QPushButton* ButtonOk = nullptr;
    QTableView* GridVyr = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Database& db_;
    QVyr* QVyr_ = nullptr;
};

// The quick search shown modally with the text in its key box (poKlici) or its name box and
// the query opened for it; the key of the chosen product, nothing on cancel.
std::optional<QString> RychleHledaniVyrobku(TFormulVyrSQL& form, const QString& text, bool poKlici);

} // namespace brix
