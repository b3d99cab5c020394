#pragma once
// The browse-and-entry form: a register whose search and range items are answered by tag. A
// derived form supplies its table, its entry boxes and the two answers (the search column of a
// "&Hledej" item and the filter prefix of a "&Rozsah" item); the rest is the common register.

#include "dialogs/data_source.h"
#include "register.h"

namespace brix {

// A menu item and the tag the form's answers are keyed by.
struct PolozkaTagu {
    QString caption;
    int tag = 1;
};

class TFrmVstupDat : public RegisterForm {
    Q_OBJECT
public:
    // `hledej`: the "&Hledej" items; `rozsah`: the range items of "&Rozsah" after "&Bez filtru"
    // and "&Filtr".
    TFrmVstupDat(Table& table, const QString& caption, QList<PolozkaTagu> hledej,
                 QList<PolozkaTagu> rozsah, QWidget* parent = nullptr);

    // The prefix the print manager names this form's report files with.
    static QString prefixTisku() { return QStringLiteral("TiskDat_"); }

    // The search column name of a "&Hledej" item.
    virtual QString NazevHledanePolozky(int tag) const;
    // The filter prefix of a range item: the filter text the typed value is appended to.
    virtual QString PrefixFiltru(int tag) const;

    // The range filter of a range item: the prefix followed by the value (asked unless the tag
    // is 3). Tags 1 and 2 close a double-quoted text, 5 encloses the value in single quotes, 3
    // filters by " 0". The value stays a value: quotes typed in it are doubled, and a value that
    // is neither a number nor one quoted literal becomes a quoted text.
    void rozsahItem(int item) override;
    static QString hodnotaRozsahu(int tag, const QString& typed);

    // Selection mode: the caller picks a record; the table is the caller's and stays open.
    void setSelectionMode(bool on) { setChooserMode(on); }
    bool selectionMode() const { return chooserMode(); }

    // An external data source: attached and checked; false when the check fails.
    bool setDataSource(const DataSource* source);
    const DataSource* dataSource() const { return external_; }

    // The print manager and the export do nothing here; a derived form prints and exports.
    void tiskovySpravceClick() override {}
    void exportClick() override {}

    QMenu* MenuIndex = nullptr;
    DataSource DS_Hlavni;

protected:
    QString searchFieldOfItem(int item) const override;
    void changeEvent(QEvent* event) override;

private:
    static RegisterConfig makeConfig(const QString& caption, const QList<PolozkaTagu>& hledej,
                                     const QList<PolozkaTagu>& rozsah);
    QList<PolozkaTagu> hledej_;
    QList<PolozkaTagu> rozsah_;
    const DataSource* external_ = nullptr;
};

} // namespace brix
