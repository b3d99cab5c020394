#include "formul_vyr_sql.h"

#include "platform.h"
#include "query.h"
#include "storage_error.h"
#include "vyrobky.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace brix {

namespace {
constexpr int kStrana = 64;
} // namespace

QVyr::QVyr(Database& db, QObject* parent) : QAbstractTableModel(parent), db_(db) {}

void QVyr::open(const DotazVyrSQL& dotaz) {
    beginResetModel();
    dotaz_ = dotaz;
    stranky_.clear();
    precteno_ = 0;
    aktivni_ = false;
    pocet_ = 0;
    const qsizetype od = dotaz.sql.indexOf(QLatin1String("\nFROM "));
    const qsizetype poradi = dotaz.sql.lastIndexOf(QLatin1String("\n ORDER BY "));
    sloupce_ = dotaz.sql.mid(7, od - 7).split(QLatin1String(", "));
    try {
        Query q(db_, QLatin1String("SELECT count(*)") + dotaz.sql.mid(od, poradi - od),
                QStringLiteral("Ciselnik"));
        for (const auto& [jmeno, hodnota] : dotaz.parametry)
            q.setParam(jmeno, hodnota);
        q.open();
        q.first();
        pocet_ = int(q.field(0).asInteger());
        aktivni_ = true;
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    endResetModel();
}

void QVyr::close() {
    beginResetModel();
    aktivni_ = false;
    pocet_ = 0;
    stranky_.clear();
    endResetModel();
}

int QVyr::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : pocet_;
}

int QVyr::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(sloupce_.size());
}

const QVector<QVariant>* QVyr::radek(int row) const {
    if (!aktivni_ || row < 0 || row >= pocet_) return nullptr;
    const int s = row / kStrana;
    auto it = stranky_.find(s);
    if (it == stranky_.end()) {
        QVector<QVector<QVariant>> radky;
        try {
            Query q(db_,
                    dotaz_.sql +
                        QStringLiteral(" LIMIT %1 OFFSET %2").arg(kStrana).arg(s * kStrana),
                    QStringLiteral("Ciselnik"));
            for (const auto& [jmeno, hodnota] : dotaz_.parametry)
                q.setParam(jmeno, hodnota);
            q.open();
            for (q.first(); !q.eof(); q.next()) {
                QVector<QVariant> r;
                for (int i = 0; i < q.fieldCount(); ++i)
                    r << q.fieldValue(i);
                radky << r;
            }
        } catch (const StorageError&) {
        }
        ++precteno_;
        if (stranky_.size() > 16) stranky_.clear();
        it = stranky_.insert(s, radky);
    }
    const int i = row % kStrana;
    return i < it->size() ? &(*it)[i] : nullptr;
}

QVariant QVyr::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole) return {};
    const QVector<QVariant>* r = radek(index.row());
    if (!r || index.column() >= r->size()) return {};
    return (*r)[index.column()];
}

QVariant QVyr::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= sloupce_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return sloupce_[section];
}

TFormulVyrSQL::TFormulVyrSQL(Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TFormulVyrSQL"));
    setWindowTitle(QStringLiteral("Výběr výrobku"));
    auto* l = new QGridLayout(this);
    const auto box = [&](int sloupec, const QString& popis) {
        l->addWidget(new QLabel(popis, this), 0, sloupec);
        auto* e = new QLineEdit(this);
        l->addWidget(e, 1, sloupec);
        e->installEventFilter(this);
        return e;
    };
    EditKlic = box(0, KlicVyrobku());
    EditNazev = box(1, QStringLiteral("Název"));
    EditKO1 = box(2, QStringLiteral("Kódové označ.1"));
    EditKO2 = box(3, QStringLiteral("Kódové označ.2"));
    ButtonOk = new QPushButton(QStringLiteral("&Ok"), this);
    ButtonOk->setAutoDefault(false);
    l->addWidget(ButtonOk, 1, 4);
    connect(ButtonOk, &QPushButton::clicked, this, [this] { OkClick(); });
    QVyr_ = new QVyr(db_, this);
    GridVyr = new QTableView(this);
    GridVyr->setModel(QVyr_);
    GridVyr->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridVyr->setSelectionMode(QAbstractItemView::SingleSelection);
    GridVyr->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridVyr->verticalHeader()->setDefaultSectionSize(18);
    GridVyr->installEventFilter(this);
    connect(GridVyr, &QTableView::doubleClicked, this, [this] { accept(); });
    l->addWidget(GridVyr, 2, 0, 1, 5);
    resize(760, 420);
}

void TFormulVyrSQL::priprav(const QString& klic, const QString& nazev) {
    for (QLineEdit* e : {EditKlic, EditNazev, EditKO1, EditKO2})
        e->clear();
    EditKlic->setText(klic);
    EditNazev->setText(nazev);
    QVyr_->close();
}

void TFormulVyrSQL::OkClick() {
    QVyr_->open(SestavDotazVyrSQL(KlicVyrobku(), EditKlic->text().trimmed(),
                                  EditNazev->text().trimmed(), EditKO1->text().trimmed(),
                                  EditKO2->text().trimmed()));
    if (QVyr_->rowCount() > 0) GridVyr->setCurrentIndex(QVyr_->index(0, 0));
    GridVyr->setFocus();
}

std::optional<QString> TFormulVyrSQL::vybranyKlic() const {
    const QModelIndex i = GridVyr->currentIndex();
    if (!QVyr_->active() || !i.isValid()) return std::nullopt;
    const QString k = QVyr_->data(QVyr_->index(i.row(), 0)).toString().trimmed();
    if (k.isEmpty()) return std::nullopt;
    return k;
}

bool TFormulVyrSQL::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            if (watched == GridVyr) {
                if (vybranyKlic()) accept();
            } else {
                OkClick();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormulVyrSQL::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!QVyr_->active()) EditKlic->setFocus();
}

std::optional<QString> RychleHledaniVyrobku(TFormulVyrSQL& form, const QString& text,
                                            bool poKlici) {
    form.priprav(poKlici ? text.trimmed() : QString(), poKlici ? QString() : text.trimmed());
    if (!text.trimmed().isEmpty()) form.OkClick();
    const int r = Platform::current().execModal(form);
    std::optional<QString> klic = r == QDialog::Accepted ? form.vybranyKlic() : std::nullopt;
    form.query().close();
    return klic;
}

} // namespace brix
