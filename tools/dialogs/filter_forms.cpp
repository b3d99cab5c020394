#include "filter_forms.h"

#include "grid_model.h"
#include "platform.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace brix {

// ---------------------------------------------------------------- the filter database

TfmFilterFrmObec::TfmFilterFrmObec(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmFilterFrmObec"));
    setWindowTitle(QStringLiteral("Databáze filtrů"));

    auto* lay = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    GridFiltry = new QTableView(this);
    GridFiltry->setObjectName(QStringLiteral("GridFiltry"));
    GridFiltry->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridFiltry->setSelectionMode(QAbstractItemView::SingleSelection);
    GridFiltry->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridFiltry->horizontalHeader()->setStretchLastSection(true);
    GridFiltry->setToolTip(QStringLiteral("Insert - nový filtr"));
    GridFiltry->installEventFilter(this);
    left->addWidget(GridFiltry, 1);
    MemoPopis = new QPlainTextEdit(this);
    MemoPopis->setObjectName(QStringLiteral("MemoPopis"));
    left->addWidget(MemoPopis, 1);
    CheckMalaVelka = new QCheckBox(QStringLiteral("Rozeznávat velká-malá"), this);
    CheckHledatCele = new QCheckBox(QStringLiteral("Neporovnávat částečné"), this);
    left->addWidget(CheckMalaVelka);
    left->addWidget(CheckHledatCele);
    auto* buttons = new QHBoxLayout;
    ButtonProvest = new QPushButton(QStringLiteral("&Provést"), this);
    ButtonUlozit = new QPushButton(QStringLiteral("&Uložit"), this);
    ButtonSmazat = new QPushButton(QStringLiteral("&Smazat"), this);
    ButtonZrusit = new QPushButton(QStringLiteral("&Zrušit"), this);
    for (QPushButton* b : {ButtonProvest, ButtonUlozit, ButtonSmazat, ButtonZrusit}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    left->addLayout(buttons);
    lay->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    auto* labelPolozky = new QLabel(QStringLiteral("Polož&ky"), this);
    ListPolozky = new QListWidget(this);
    labelPolozky->setBuddy(ListPolozky);
    right->addWidget(labelPolozky);
    right->addWidget(ListPolozky, 3);
    auto* labelOperatory = new QLabel(QStringLiteral("&Operátory"), this);
    ListOperatory = new QListWidget(this);
    ListOperatory->addItems(filtr::operators());
    labelOperatory->setBuddy(ListOperatory);
    right->addWidget(labelOperatory);
    right->addWidget(ListOperatory, 2);
    lay->addLayout(right, 1);

    connect(ListPolozky, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { PolozkyDblClick(fieldOfItem(item)); });
    connect(ListOperatory, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OperatoryDblClick(item->text()); });
    connect(MemoPopis, &QPlainTextEdit::textChanged, this, [this] { memoEdited(); });
    connect(CheckMalaVelka, &QCheckBox::clicked, this, [this] { CheckMalaVelkaClick(); });
    connect(CheckHledatCele, &QCheckBox::clicked, this, [this] { CheckHledatCeleClick(); });
    connect(ButtonProvest, &QPushButton::clicked, this, [this] { ButtonProvestClick(); });
    connect(ButtonUlozit, &QPushButton::clicked, this, [this] { ButtonUlozitClick(); });
    connect(ButtonSmazat, &QPushButton::clicked, this, [this] { ButtonSmazatClick(); });
    connect(ButtonZrusit, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 420);
}

TfmFilterFrmObec::~TfmFilterFrmObec() {
    closeFilters();
}

bool TfmFilterFrmObec::setDataSource(const DataSource& source) {
    source_ = DataSource();
    ListPolozky->clear();
    if (!checkDataSource(&source)) return false;
    source_ = source;
    if (source_.name.isEmpty()) source_.name = defaultSourceName(*source.table);
    for (const QString& name : filtr::fieldNames(*source_.table)) {
        const QString caption = source_.captions.value(name.toUpper());
        auto* item = new QListWidgetItem(
            caption.isEmpty() || caption == name ? name : name + QStringLiteral(" – ") + caption,
            ListPolozky);
        item->setData(Qt::UserRole, name);
    }
    // The list is as wide as its longest entry, name and caption.
    ListPolozky->setMinimumWidth(ListPolozky->sizeHintForColumn(0) + 2 * ListPolozky->frameWidth() +
                                 ListPolozky->verticalScrollBar()->sizeHint().width() + 4);
    return true;
}

QString TfmFilterFrmObec::fieldOfItem(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

bool TfmFilterFrmObec::guarded(const std::function<void()>& op) {
    try {
        op();
        return true;
    } catch (const StorageError& e) {
        Platform::current().error(e.message());
    }
    return false;
}

void TfmFilterFrmObec::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!filters_) openFilters();
}

void TfmFilterFrmObec::hideEvent(QHideEvent* e) {
    closeFilters();
    QDialog::hideEvent(e);
}

void TfmFilterFrmObec::openFilters() {
    if (!source_.table) return;
    guarded([this] { filters_ = filtr::openFilterTable(source_.table->database(), source_.name); });
    if (!filters_) return;
    model_ = std::make_unique<GridModel>(*filters_);
    model_->setColumns({{QStringLiteral("Popis"), QStringLiteral("Filtr"), 0}});
    GridFiltry->setModel(model_.get());
    connect(GridFiltry->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (loading_ || !model_ || !current.isValid()) return;
                if (current.row() == model_->rowOfCurrent()) return;
                if (!settlePending()) {
                    showRecord(); // back on the edited one
                    return;
                }
                guarded([&] { model_->moveTableTo(current.row()); });
            });
    auto show = [this](Table&) { showRecord(); };
    for (TableEvent* ev : {&filters_->afterScroll, &filters_->afterPost, &filters_->afterCancel,
                           &filters_->afterDelete, &filters_->afterInsert})
        handlers_ << std::make_pair(ev, ev->add(show));
    guarded([this] { filters_->first(); });
    showRecord();
}

void TfmFilterFrmObec::closeFilters() {
    if (!filters_) return;
    // Closing saves nothing: what is kept was kept by "&Uložit" (or by moving to another one).
    if (filters_->state() != TableState::Browse) guarded([this] { filters_->cancel(); });
    for (auto [ev, id] : handlers_)
        ev->remove(id);
    handlers_.clear();
    GridFiltry->setModel(nullptr);
    model_.reset();
    filters_->close();
    filters_.reset();
}

void TfmFilterFrmObec::showRecord() {
    // While the form itself puts the record into edit, the memo already shows what it holds.
    if (!filters_ || loading_) return;
    loading_ = true;
    bool rec = filters_->hasRecord() || filters_->state() == TableState::Insert;
    MemoPopis->setPlainText(rec ? filters_->field(QStringLiteral("Popis")).asString() : QString());
    CheckMalaVelka->setChecked(
        rec && filtr::logicalValue(filters_->field(QStringLiteral("Mala_Velka")).asString()));
    CheckHledatCele->setChecked(
        rec && filtr::logicalValue(filters_->field(QStringLiteral("Hledat_Cele")).asString()));
    if (model_) {
        int row = model_->rowOfCurrent();
        if (row >= 0) GridFiltry->selectRow(row);
    }
    loading_ = false;
}

bool TfmFilterFrmObec::beginEdit() {
    if (!filters_) return false;
    if (filters_->state() == TableState::Edit || filters_->state() == TableState::Insert)
        return true;
    loading_ = true;
    bool ok = guarded([this] {
        if (filters_->hasRecord())
            filters_->edit();
        else
            filters_->insert();
    });
    loading_ = false;
    return ok;
}

void TfmFilterFrmObec::memoEdited() {
    if (loading_ || !beginEdit()) return;
    guarded(
        [this] { filters_->field(QStringLiteral("Popis")).setString(MemoPopis->toPlainText()); });
}

void TfmFilterFrmObec::setOption(const QString& field, bool on) {
    if (!beginEdit()) return;
    guarded([&] { filters_->field(field).setString(filtr::logicalText(on)); });
}

void TfmFilterFrmObec::PolozkyDblClick(const QString& field) {
    MemoPopis->setPlainText(filtr::appendField(MemoPopis->toPlainText(), field));
    MemoPopis->moveCursor(QTextCursor::End);
}

void TfmFilterFrmObec::OperatoryDblClick(const QString& op) {
    const QString text = MemoPopis->toPlainText();
    if (text.isEmpty()) return;
    MemoPopis->setPlainText(filtr::appendOperator(text, op));
    MemoPopis->moveCursor(QTextCursor::End);
}

void TfmFilterFrmObec::ButtonProvestClick() {
    if (!source_.table) return;
    filtr::applyExpression(*source_.table, MemoPopis->toPlainText(), CheckMalaVelka->isChecked(),
                           CheckHledatCele->isChecked());
}

void TfmFilterFrmObec::CheckMalaVelkaClick() {
    setOption(QStringLiteral("Mala_Velka"), CheckMalaVelka->isChecked());
    if (source_.table) filtr::applyCaseOption(*source_.table, CheckMalaVelka->isChecked());
}

void TfmFilterFrmObec::CheckHledatCeleClick() {
    setOption(QStringLiteral("Hledat_Cele"), CheckHledatCele->isChecked());
    if (source_.table) filtr::applyPartialOption(*source_.table, CheckHledatCele->isChecked());
}

void TfmFilterFrmObec::ButtonUlozitClick() {
    if (!filters_) return;
    if (filters_->state() == TableState::Edit || filters_->state() == TableState::Insert)
        guarded([this] { filters_->post(); });
}

void TfmFilterFrmObec::ButtonSmazatClick() {
    if (!filters_) return;
    guarded([this] {
        if (filters_->state() == TableState::Insert) {
            filters_->cancel();
            return;
        }
        if (filters_->state() == TableState::Edit) filters_->cancel();
        if (filters_->hasRecord()) filters_->remove();
    });
    showRecord();
}

bool TfmFilterFrmObec::settlePending() {
    if (!filters_ || filters_->state() == TableState::Browse) return true;
    if (filters_->state() == TableState::Insert &&
        filters_->field(QStringLiteral("Popis")).isNull()) {
        guarded([this] { filters_->cancel(); });
        return true;
    }
    const Button b = Platform::current().askYesNoCancel(QStringLiteral("Uložit změny filtru?"));
    if (b == Button::Cancel) return false;
    if (b == Button::Yes) return guarded([this] { filters_->post(); });
    guarded([this] { filters_->cancel(); });
    return true;
}

void TfmFilterFrmObec::NovyFiltr() {
    if (!filters_ || !settlePending()) return;
    loading_ = true;
    guarded([this] { filters_->insert(); });
    loading_ = false;
    showRecord();
    MemoPopis->setFocus();
}

bool TfmFilterFrmObec::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GridFiltry && event->type() == QEvent::KeyPress && filters_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            NovyFiltr();
            return true;
        }
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier && model_ &&
            filters_->state() == TableState::Browse &&
            model_->rowOfCurrent() >= model_->rowCount() - 1) {
            NovyFiltr();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the join dialog

TfrmPripojFiltr::TfrmPripojFiltr(const QString& tableName, const QString& currentFilter,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmPripojFiltr"));
    setWindowTitle(QStringLiteral("Dialog"));
    auto* lay = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    LabelTabulka = new QLabel(tableName, this);
    LabelFiltr = new QLabel(currentFilter, this);
    LabelFiltr->setWordWrap(true);
    LabelFiltr->setTextFormat(Qt::PlainText);
    LabelTabulka->setTextFormat(Qt::PlainText);
    form->addRow(QStringLiteral("Tabulka :"), LabelTabulka);
    form->addRow(QStringLiteral("Filtr :"), LabelFiltr);
    lay->addLayout(form);
    auto* group = new QGroupBox(QStringLiteral("Typ spojení"), this);
    auto* gl = new QVBoxLayout(group);
    RadioA = new QRadioButton(QStringLiteral("&A zároveň"), group);
    RadioNovy = new QRadioButton(QStringLiteral("&Nový filtr samostatně"), group);
    RadioNebo = new QRadioButton(QStringLiteral("N&ebo"), group);
    RadioA->setChecked(true);
    gl->addWidget(RadioA);
    gl->addWidget(RadioNovy);
    gl->addWidget(RadioNebo);
    lay->addWidget(group);
    auto* box = new QDialogButtonBox(this);
    ButtonOk = box->addButton(buttonText(Button::Ok), QDialogButtonBox::AcceptRole);
    ButtonCancel = box->addButton(buttonText(Button::Cancel), QDialogButtonBox::RejectRole);
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    lay->addWidget(box);
}

filtr::JoinKind TfrmPripojFiltr::joinKind() const {
    if (RadioNovy->isChecked()) return filtr::JoinKind::Alone;
    if (RadioNebo->isChecked()) return filtr::JoinKind::Or;
    return filtr::JoinKind::And;
}

QString pripojFiltr(Table& table, const QString& added, QWidget* parent, bool* cancelled) {
    if (cancelled) *cancelled = false;
    const QString current = table.filter();
    if (!table.filtered() || current.trimmed().isEmpty()) return added;
    TfrmPripojFiltr dialog(table.def().file, current, parent);
    if (Platform::current().execModal(dialog) != QDialog::Accepted) {
        if (cancelled) *cancelled = true;
        return current;
    }
    return filtr::joinTexts(current, added, dialog.joinKind());
}

bool zapniRozsah(QWidget* parent, Table& table, const QString& added) {
    // A range without bounds narrows nothing: the filter stays as it is.
    if (added.trimmed().isEmpty()) return table.filtered();
    bool cancelled = false;
    const QString text = pripojFiltr(table, added, parent, &cancelled);
    if (cancelled) return table.filtered(); // the old filter stays, options and all
    filtr::applyExpression(table, text, false, false);
    return table.filtered();
}

bool spustFiltr(QWidget* parent, Table& table, const QString& sourceName,
                const QHash<QString, QString>& captions) {
    TfmFilterFrmObec form(parent);
    if (parent) placeBeside(form, *parent->window());
    if (form.setDataSource({sourceName, &table, captions})) Platform::current().execModal(form);
    return table.filtered();
}

} // namespace brix
