#include "register.h"

#include "decimal.h"
#include "entry_conflict.h"
#include "platform.h"
#include "references.h"
#include "table_rules.h"
#include "util/nastaveni.h"
#include "util/path_resolver.h"
#include "util/text_utils.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace brix {

// --- the navigator over a table --------------------------------------------------------------

namespace {

class TableTarget : public NavigatorTarget {
public:
    explicit TableTarget(Table& t) : t_(t) {
        ids_[0] = t_.onStateChange.add([this](Table&) { notifyChanged(); });
        ids_[1] = t_.afterScroll.add([this](Table&) { notifyChanged(); });
    }
    ~TableTarget() override {
        t_.onStateChange.remove(ids_[0]);
        t_.afterScroll.remove(ids_[1]);
    }
    RecordState state() const override {
        switch (t_.state()) {
        case TableState::Browse:
            return RecordState::Browse;
        case TableState::Edit:
            return RecordState::Edit;
        case TableState::Insert:
            return RecordState::Insert;
        default:
            return RecordState::Inactive;
        }
    }
    bool isBof() const override { return t_.bof(); }
    bool isEof() const override { return t_.eof(); }
    bool isEmpty() const override { return !t_.active() || const_cast<Table&>(t_).isEmpty(); }
    void first() override { t_.first(); }
    void prior() override { t_.prior(); }
    void next() override { t_.next(); }
    void last() override { t_.last(); }
    void insert() override { t_.insert(); }
    void edit() override { t_.edit(); }
    void post() override { t_.post(); }
    void cancel() override { t_.cancel(); }
    void remove() override { t_.remove(); }
    void refresh() override { t_.refresh(); }

private:
    Table& t_;
    int ids_[2] = {};
};

bool isEnter(const QKeyEvent* k) {
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (k->modifiers() == Qt::NoModifier || k->modifiers() == Qt::KeypadModifier);
}

QString numberLiteral(const QString& text, bool* ok) {
    const std::optional<double> v = EditBox::parseNumber(text);
    *ok = v.has_value();
    return *ok ? QString::number(*v, 'g', 15) : QString();
}

} // namespace

std::unique_ptr<NavigatorTarget> makeTableNavigatorTarget(Table& table) {
    return std::make_unique<TableTarget>(table);
}

RegisterHooks& RegisterHooks::global() {
    static RegisterHooks hooks;
    return hooks;
}

// --- the form --------------------------------------------------------------------------------

RegisterForm::RegisterForm(Table& table, RegisterConfig config, QWidget* parent)
    : QDialog(parent), table_(table), config_(std::move(config)), binding_(table) {
    setObjectName(QStringLiteral("RegisterForm"));
    setWindowTitle(config_.caption);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    MainMenu = new QMenuBar(this);
    outer->setMenuBar(MainMenu);
    PageControl1 = new QStackedWidget(this);
    outer->addWidget(PageControl1);

    // Register page.
    TabSheetBrowse = new QWidget;
    auto* bl = new QVBoxLayout(TabSheetBrowse);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Hledat ve sloupci"), TabSheetBrowse));
    LabelTrideni = new QLabel(TabSheetBrowse);
    LabelTrideni->setObjectName(QStringLiteral("LabelTrideni"));
    searchRow->addWidget(LabelTrideni);
    EditHledej = new QLineEdit(TabSheetBrowse);
    EditHledej->setObjectName(QStringLiteral("EditHledej"));
    searchRow->addWidget(EditHledej, 1);
    bl->addLayout(searchRow);
    DbGrid1 = new DataGrid(TabSheetBrowse);
    DbGrid1->setObjectName(QStringLiteral("DbGrid1"));
    bl->addWidget(DbGrid1, 1);
    StatusBar1 = new StatusBar(2, TabSheetBrowse);
    StatusBar1->setSizeGripEnabled(false);
    bl->addWidget(StatusBar1);
    PageControl1->addWidget(TabSheetBrowse);

    // Entry page.
    TabSheetVstup = new QWidget;
    auto* el = new QVBoxLayout(TabSheetVstup);
    entryArea_ = new QWidget(TabSheetVstup);
    auto* areaLayout = new QVBoxLayout(entryArea_);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    entryForm_ = new QFormLayout;
    // Each box as wide as its longest value, not the width of the window.
    entryForm_->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    areaLayout->addLayout(entryForm_);
    el->addWidget(entryArea_, 1);
    auto* buttons = new QHBoxLayout;
    if (config_.entryNavigator) {
        Navigator1 = new Navigator(TabSheetVstup);
        Navigator1->setVisibleActions({Navigator::Prior, Navigator::Next, Navigator::Insert});
        navTarget_ = makeTableNavigatorTarget(table_);
        Navigator1->setTarget(navTarget_.get());
        Navigator1->setMovesWhileEditing(true);
        // Moving or inserting from the entry page saves what was typed first, as "&Ok" does
        // (a refusal keeps the record and the page); the record reached is edited there.
        Navigator1->setBeforeAction([this](Navigator::Action) {
            if (table_.state() == TableState::Browse) return true;
            return saveEntry();
        });
        connect(Navigator1, &Navigator::actionDone, this, [this](Navigator::Action a) {
            if (a != Navigator::Insert && table_.state() == TableState::Browse &&
                table_.hasRecord()) {
                try {
                    table_.edit();
                } catch (const StorageError& e) {
                    reportStorageError(e);
                } catch (const Abort&) {
                }
            }
            loadEntry();
        });
        buttons->addWidget(Navigator1);
    }
    buttons->addStretch(1);
    ButtonOk = new QPushButton(QStringLiteral("&Ok"), TabSheetVstup);
    ButtonZrus = new QPushButton(QStringLiteral("&Zruš"), TabSheetVstup);
    for (QPushButton* b : {ButtonOk, ButtonZrus}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    el->addLayout(buttons);
    StatusBar2 = new StatusBar(2, TabSheetVstup);
    StatusBar2->setSizeGripEnabled(false);
    StatusBar2->showHintsIn(0);
    el->addWidget(StatusBar2);
    PageControl1->addWidget(TabSheetVstup);

    connect(ButtonOk, &QPushButton::clicked, this, [this] { ButtonOkClick(); });
    connect(ButtonZrus, &QPushButton::clicked, this, [this] { ButtonZrusClick(); });
    connect(EditHledej, &QLineEdit::returnPressed, this, [this] { EditHledejExit(); });
    EditHledej->installEventFilter(this);
    DbGrid1->setTable(&table_);
    DbGrid1->setLockedColumns(config_.lockedColumns);
    DbGrid1->setMarkingEnabled(config_.markRows);
    if (!config_.columns.isEmpty()) DbGrid1->setColumns(config_.columns);
    connect(DbGrid1, &DataGrid::searchColumnChosen, this, [this](int column) {
        // Another column: the text typed for the old one would only mislead.
        EditHledej->clear();
        setSearchField(DbGrid1->gridModel()->columns()[column].field);
    });
    connect(DbGrid1, &DataGrid::recordActivated, this, [this] { gridActivated(); });
    connect(DbGrid1, &DataGrid::escapePressed, this, [this] { gridEscape(); });

    buildMenus();
    // The whole menu stays visible: no menu hides behind an overflow button.
    setMinimumWidth(MainMenu->sizeHint().width());
    resize(640, 480);
}

RegisterForm::~RegisterForm() {
    if (Navigator1) Navigator1->setTarget(nullptr);
}

// --- menus -----------------------------------------------------------------------------------

void RegisterForm::buildMenus() {
    MenuNovy = MainMenu->addAction(QStringLiteral("&Nový"));
    if (config_.newHasF5) {
        MenuNovy->setShortcut(QKeySequence(Qt::Key_F5));
        MenuNovy->setShortcutContext(Qt::WindowShortcut);
        addAction(MenuNovy);
    }
    connect(MenuNovy, &QAction::triggered, this, [this] { NovyClick(); });
    MenuOprava = MainMenu->addAction(QStringLiteral("&Oprava"));
    connect(MenuOprava, &QAction::triggered, this, [this] { OpravaClick(); });
    MenuSmazat = MainMenu->addAction(QStringLiteral("&Smazat"));
    connect(MenuSmazat, &QAction::triggered, this, [this] { SmazatClick(); });
    browseMenus_ << MenuNovy << MenuOprava << MenuSmazat;

    if (config_.searchMenuIsItem && !config_.searchItems.isEmpty()) {
        MenuHledejItem = MainMenu->addAction(QStringLiteral("&Hledej"));
        connect(MenuHledejItem, &QAction::triggered, this, [this] { hledejItem(0); });
        browseMenus_ << MenuHledejItem;
    } else if (!config_.searchItems.isEmpty()) {
        MenuHledej = MainMenu->addMenu(QStringLiteral("&Hledej"));
        for (int i = 0; i < config_.searchItems.size(); ++i) {
            QAction* a = MenuHledej->addAction(config_.searchItems[i].caption);
            connect(a, &QAction::triggered, this, [this, i] { hledejItem(i); });
            searchActions << a;
        }
        browseMenus_ << MenuHledej->menuAction();
    }
    if (!config_.sortItems.isEmpty()) {
        MenuTrideni = MainMenu->addMenu(config_.sortMenuCaption);
        for (int i = 0; i < config_.sortItems.size(); ++i) {
            QAction* a = MenuTrideni->addAction(config_.sortItems[i].caption);
            connect(a, &QAction::triggered, this, [this, i] { tridItem(i); });
            sortActions << a;
        }
        browseMenus_ << MenuTrideni->menuAction();
    }
    if (config_.noFilterItem || config_.filterItem || !config_.rangeItems.isEmpty()) {
        MenuRozsah = MainMenu->addMenu(QStringLiteral("&Rozsah"));
        if (config_.noFilterItem) {
            MenuBezFiltru = MenuRozsah->addAction(QStringLiteral("&Bez filtru"));
            connect(MenuBezFiltru, &QAction::triggered, this, [this] { bezFiltruClick(); });
        }
        if (config_.filterItem) {
            MenuFiltr = MenuRozsah->addAction(QStringLiteral("&Filtr"));
            connect(MenuFiltr, &QAction::triggered, this, [this] { filtrClick(); });
        }
        for (int i = 0; i < config_.rangeItems.size(); ++i) {
            QAction* a = MenuRozsah->addAction(config_.rangeItems[i].caption);
            connect(a, &QAction::triggered, this, [this, i] { rozsahItem(i); });
            rangeActions << a;
        }
        browseMenus_ << MenuRozsah->menuAction();
    }
    if (!config_.printItems.isEmpty() || !config_.printManagerPrefix.isEmpty()) {
        MenuTisk = MainMenu->addMenu(QStringLiteral("&Tisk"));
        for (int i = 0; i < config_.printItems.size(); ++i) {
            QAction* a = MenuTisk->addAction(config_.printItems[i].caption);
            connect(a, &QAction::triggered, this, [this, i] { tiskItem(i); });
            printActions << a;
        }
        if (!config_.printManagerPrefix.isEmpty()) {
            MenuTiskovySpravce = MenuTisk->addAction(QStringLiteral("&Tiskový správce"));
            connect(MenuTiskovySpravce, &QAction::triggered, this,
                    [this] { tiskovySpravceClick(); });
        }
        browseMenus_ << MenuTisk->menuAction();
    }
    MenuFunkce = MainMenu->addMenu(QStringLiteral("&Funkce"));
    if (config_.exportItem) {
        MenuExport = MenuFunkce->addAction(QStringLiteral("&Export"));
        connect(MenuExport, &QAction::triggered, this, [this] { exportClick(); });
    }
    MenuFunkce->menuAction()->setVisible(config_.exportItem);
    browseMenus_ << MenuFunkce->menuAction();
}

void RegisterForm::addBrowseMenu(QMenu* menu) {
    menu->menuAction()->setVisible(true);
    if (!browseMenus_.contains(menu->menuAction())) browseMenus_ << menu->menuAction();
}

void RegisterForm::addBrowseAction(QAction* action) {
    if (!browseMenus_.contains(action)) browseMenus_ << action;
}

void RegisterForm::setBrowseMenusEnabled(bool on) {
    for (QObject* o : browseMenus_)
        if (auto* a = qobject_cast<QAction*>(o)) a->setEnabled(on);
}

bool RegisterForm::browseMenusEnabled() const {
    for (QObject* o : browseMenus_)
        if (auto* a = qobject_cast<QAction*>(o); a && !a->isEnabled()) return false;
    return true;
}

// --- entry boxes -----------------------------------------------------------------------------

EditBox* RegisterForm::fieldBox(const QString& field, const QString& hint, QWidget* parent) {
    Field f = table_.field(field); // throws when the table has no such field
    EditBox* box = FieldBinding::makeEditBox(f.def(), parent ? parent : entryArea_);
    box->setHint(hint);
    bindWidget(field, box);
    return box;
}

void RegisterForm::bindWidget(const QString& field, QWidget* widget) {
    binding_.add(field, widget);
    if (auto* box = qobject_cast<EditBox*>(widget))
        watchEntryWidget(box->lineEdit());
    else
        watchEntryWidget(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        watchEntryWidget(combo->lineEdit());
}

EditBox* RegisterForm::addField(const QString& field, const QString& label, const QString& hint) {
    EditBox* box = fieldBox(field, hint);
    entryForm_->addRow(label, box);
    noteEntryWidget(field, label, box);
    return box;
}

QPlainTextEdit* RegisterForm::addMemo(const QString& field, const QString& label,
                                      const QString& hint) {
    Field f = table_.field(field);
    auto* memo = new QPlainTextEdit(entryArea_);
    memo->setObjectName(QStringLiteral("Memo") + f.name());
    memo->setStatusTip(hint);
    memo->setTabChangesFocus(true);
    entryForm_->addRow(label, memo);
    bindWidget(field, memo);
    noteEntryWidget(f.name(), label, memo);
    return memo;
}

QCheckBox* RegisterForm::addCheck(const QString& field, const QString& label, const QString& hint) {
    Field f = table_.field(field);
    auto* check = new QCheckBox(label, entryArea_);
    check->setObjectName(QStringLiteral("Check") + f.name());
    check->setStatusTip(hint);
    entryForm_->addRow(QString(), check);
    bindWidget(field, check);
    noteEntryWidget(f.name(), label, check);
    return check;
}

void RegisterForm::watchEntryWidget(QWidget* w) {
    w->installEventFilter(this);
}

void RegisterForm::noteEntryWidget(const QString& field, const QString& label, QWidget* widget) {
    const int fi = table_.fieldIndex(field);
    if (fi < 0 || !widget) return;
    QString plain = label;
    plain.remove(QLatin1Char('&'));
    entryWidgets_.push_back({fi, plain, widget});
    const FieldDef& f = table_.fieldDef(fi);
    if (!f.required || f.kind == FieldKind::AutoInc) return;
    // Required fields are marked on screen: their labels are bold.
    QWidget* mark = entryForm_->labelForField(widget);
    if (!mark) mark = qobject_cast<QCheckBox*>(widget);
    if (mark) {
        QFont font = mark->font();
        font.setBold(true);
        mark->setFont(font);
        mark->setToolTip(QStringLiteral("Povinná položka"));
    }
}

QWidget* RegisterForm::entryWidget(const QString& field) const {
    const int fi = table_.fieldIndex(field);
    for (const EntryWidget& e : entryWidgets_)
        if (e.field == fi) return e.widget;
    return nullptr;
}

void RegisterForm::focusEntryWidget(QWidget* widget) {
    if (!widget) return;
    if (auto* box = qobject_cast<EditBox*>(widget)) {
        box->lineEdit()->setFocus(Qt::OtherFocusReason);
        box->lineEdit()->selectAll();
        return;
    }
    widget->setFocus(Qt::OtherFocusReason);
}

bool RegisterForm::entryChanged() const {
    return binding_.modified();
}

void RegisterForm::loadEntry() {
    binding_.load();
    StatusBar2->showState(1, navTarget_
                                 ? navTarget_->state()
                                 : (table_.state() == TableState::Insert ? RecordState::Insert
                                    : table_.state() == TableState::Edit ? RecordState::Edit
                                                                         : RecordState::Browse));
}

bool RegisterForm::storeEntry() {
    try {
        return binding_.store();
    } catch (const StorageError& e) {
        reportStorageError(e);
        return false;
    } catch (const DivisionByZero&) {
        reportDivisionByZero(); // a field's change handler computed with a zero divisor
        return false;
    }
}

// --- pages -----------------------------------------------------------------------------------

bool RegisterForm::entryShown() const {
    return PageControl1->currentWidget() == TabSheetVstup;
}

void RegisterForm::showEntryPage() {
    PageControl1->setCurrentWidget(TabSheetVstup);
    setBrowseMenusEnabled(false);
    ButtonOk->setEnabled(true);
    ButtonZrus->setEnabled(true);
    if (QWidget* first = firstEntryWidget()) first->setFocus();
}

QSize RegisterForm::preferredSize() const {
    // The grid: every column shown, the scroll bar and the frame.
    int grid = 2 * DbGrid1->frameWidth() + DbGrid1->verticalScrollBar()->sizeHint().width() + 2;
    if (GridModel* m = DbGrid1->gridModel())
        for (int c = 0; c < m->columnCount(); ++c)
            if (!DbGrid1->isColumnHidden(c)) grid += DbGrid1->columnWidth(c);
    const QMargins page = TabSheetBrowse->layout()->contentsMargins();
    int width = grid + page.left() + page.right();
    width = std::max({width, MainMenu->sizeHint().width(), TabSheetVstup->sizeHint().width()});
    const int height =
        std::max(TabSheetVstup->sizeHint().height(), 440) + MainMenu->sizeHint().height();
    return {width, height};
}

void RegisterForm::showBrowsePage() {
    PageControl1->setCurrentWidget(TabSheetBrowse);
    setBrowseMenusEnabled(true);
    ButtonOk->setEnabled(false);
    ButtonZrus->setEnabled(false);
    if (!closing_) {
        DbGrid1->syncToTable();
        DbGrid1->setFocus();
    }
}

// --- opening and closing ---------------------------------------------------------------------

void RegisterForm::setChooserMode(bool on, const QString& searchText, const QString& searchField) {
    chooser_ = on;
    presetSearch_ = searchText;
    if (!searchField.isEmpty()) setSearchField(searchField);
}

void RegisterForm::openRegister() {
    closing_ = false;
    StatusBar1->setPanelText(config_.filterPanel, QString());
    if (!chooser_) {
        try {
            if (config_.order.isEmpty())
                table_.setIndexName(QString());
            else
                table_.setIndexFieldNames(config_.order);
            if (!table_.active()) table_.open();
            table_.cancelRange();
            table_.setFiltered(false);
        } catch (const StorageError& e) {
            if (!config_.openErrorNotice.isEmpty())
                Platform::current().error(config_.openErrorNotice);
            reportStorageError(e);
        }
    }
    if (!config_.layoutFile.isEmpty()) {
        QString path = resolvedFilePath(table_.database().root(), config_.layoutFile);
        if (!path.isEmpty()) DbGrid1->loadLayout(path);
    }
    DbGrid1->gridModel()->reload();
    if (searchField_.isEmpty() || !table_.hasField(searchField_)) {
        if (!config_.searchItems.isEmpty() && !config_.searchFirstColumn)
            setSearchField(searchFieldOfItem(0));
        else if (!DbGrid1->gridModel()->columns().isEmpty())
            setSearchField(DbGrid1->gridModel()->columns().front().field);
    } else {
        setSearchField(searchField_);
    }
    open_ = true;
    if (!placed_) {
        // Where the user left it on this machine, else large enough to show its columns.
        placed_ = true;
        if (!restoreFormGeometry(*this)) placeForm(*this, preferredSize(), parentWidget());
    }
    showBrowsePage();
    showFilterState();
    if (chooser_ && !presetSearch_.trimmed().isEmpty() && table_.active()) {
        EditHledej->setText(presetSearch_);
        if (searchFor(searchField_, presetSearch_)) DbGrid1->syncToTable();
    }
}

void RegisterForm::closeRegister() {
    if (!open_) return;
    closing_ = true;
    try {
        if (table_.state() == TableState::Edit || table_.state() == TableState::Insert)
            table_.cancel();
        showBrowsePage();
        if (!chooser_ && table_.active()) {
            table_.setFiltered(false);
            table_.cancelRange();
            table_.close();
        }
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    open_ = false;
}

int RegisterForm::showRegister() {
    openRegister();
    int r = Platform::current().execModal(*this);
    closeRegister();
    return r;
}

void RegisterForm::done(int result) {
    closing_ = true;
    rememberFormGeometry(*this);
    QDialog::done(result);
}

// --- commands --------------------------------------------------------------------------------

void RegisterForm::reportStorageError(const StorageError& e) {
    if (hooks_.storageError)
        hooks_.storageError(this, e);
    else if (RegisterHooks::global().storageError)
        RegisterHooks::global().storageError(this, e);
    else
        Platform::current().error(e.message());
}

void RegisterForm::reportDivisionByZero() {
    Platform::current().error(QString::fromUtf16(kDeleniNulou));
}

void RegisterForm::NovyClick() {
    if (entryShown() || !table_.active()) return;
    try {
        table_.insert();
        if (config_.afterNew) config_.afterNew(*this);
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    } catch (const Abort&) {
        return;
    } catch (const DivisionByZero&) {
        // The new record stays in insert with what its defaults gave it; the entry opens.
        reportDivisionByZero();
    }
    openEntry();
}

void RegisterForm::OpravaClick() {
    if (entryShown() || !table_.active()) return;
    if (!table_.hasRecord()) {
        Platform::current().beep();
        return;
    }
    try {
        table_.edit();
    } catch (const StorageError& e) {
        reportStorageError(e);
        return;
    } catch (const Abort&) {
        return;
    } catch (const DivisionByZero&) {
        reportDivisionByZero();
        if (table_.state() == TableState::Edit) table_.cancel();
        return;
    }
    openEntry();
}

void RegisterForm::openEntry() {
    loadEntry();
    showEntryPage();
}

bool RegisterForm::refusedAsUsed() {
    if (!config_.refuseUsedRecords) return false;
    try {
        const QString refusal = inUseMessage(usagesOf(table_));
        if (refusal.isEmpty()) return false;
        Platform::current().error(refusal);
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    return true;
}

void RegisterForm::SmazatClick() {
    if (entryShown() || !table_.active() || !table_.hasRecord()) return;
    if (refusedAsUsed()) return;
    if (!Platform::current().askYesNo(config_.deleteQuestion)) return;
    try {
        table_.remove();
    } catch (const StorageError& e) {
        reportStorageError(e);
    } catch (const Abort&) {
        // settled by the table's handler (a No to deleting the items, a message shown)
    } catch (const DivisionByZero&) {
        reportDivisionByZero(); // a delete handler's computation; its transaction rolled back
    }
    DbGrid1->syncToTable();
}

bool RegisterForm::saveEntry() {
    if (table_.state() != TableState::Edit && table_.state() != TableState::Insert) return true;
    // Each step that refuses has said why and given the box in error the focus.
    if (!storeEntry()) return false;
    if (!checkRequiredFields()) return false;
    try {
        if (config_.checkBeforeSave && !config_.checkBeforeSave(*this)) return false;
    } catch (const DivisionByZero&) {
        reportDivisionByZero(); // nothing written; the entry stays for correction
        return false;
    }
    return postEntry();
}

void RegisterForm::ButtonOkClick() {
    if (!saveEntry()) return;
    showBrowsePage();
}

bool RegisterForm::checkRequiredFields() {
    QStringList missing;
    QWidget* first = nullptr;
    for (const EntryWidget& e : entryWidgets_) {
        const FieldDef& f = table_.fieldDef(e.field);
        if (!f.required || f.kind == FieldKind::AutoInc || !table_.field(e.field).isNull())
            continue;
        if (missing.contains(e.label)) continue;
        missing << e.label;
        if (!first) first = e.widget;
    }
    if (missing.isEmpty()) return true;
    Platform::current().error(QStringLiteral("Prosím zadejte povinné položky: ") +
                              missing.join(QStringLiteral(", ")));
    focusEntryWidget(first);
    return false;
}

bool RegisterForm::postEntry() {
    QWidget* before = QApplication::focusWidget();
    if (before && !TabSheetVstup->isAncestorOf(before)) before = nullptr;
    // Another copy's change of the record is detected, not merged, and the user decides.
    ConflictPolicy policy = ConflictPolicy::Detect;
    for (;;) {
        // The kind of a refused post, also when the table's own handler has reported it.
        std::optional<std::pair<StorageErrorKind, QString>> refused;
        try {
            EntrySave save(table_, policy);
            const TableErrorHandler inner = table_.onPostError;
            table_.onPostError = [&refused, inner](Table& t, const StorageError& e) {
                refused.emplace(e.kind(), e.field());
                return inner(t, e);
            };
            table_.post();
            return true;
        } catch (const StorageError& e) {
            if (isEditConflict(e) && policy == ConflictPolicy::Detect) {
                switch (askAboutConflict(table_, e)) {
                case ConflictChoice::SaveAsItIs:
                    policy = ConflictPolicy::Overwrite;
                    continue;
                case ConflictChoice::Reload:
                    reloadEntry();
                    return false;
                case ConflictChoice::KeepEditing:
                    focusEntryWidget(before ? before : firstEntryWidget());
                    return false;
                }
            }
            refused.emplace(e.kind(), e.field());
            reportStorageError(e); // the record stays in edit for correction
        } catch (const Abort&) {
            // the table's own error handler has told the user; still in edit
        } catch (const DivisionByZero&) {
            reportDivisionByZero(); // a post hook computed with a zero divisor; nothing written
        }
        focusAfterPostError(refused ? refused->first : StorageErrorKind::Other,
                            refused ? refused->second : QString(), before);
        return false;
    }
}

void RegisterForm::reloadEntry() {
    bool again = false;
    try {
        again = reloadEditedRecord(table_);
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    if (!again) {
        // The record is gone and the user let it go.
        if (table_.state() != TableState::Browse) table_.cancel();
        showBrowsePage();
        return;
    }
    loadEntry();
    focusEntryWidget(firstEntryWidget());
}

QWidget* RegisterForm::firstEntryWidget() const {
    if (firstEntry_) return firstEntry_;
    return binding_.firstBox();
}

void RegisterForm::focusAfterPostError(StorageErrorKind kind, const QString& field,
                                       QWidget* before) {
    QWidget* target = field.isEmpty() ? nullptr : entryWidget(field);
    if (!target && kind == StorageErrorKind::KeyViolation)
        for (const QString& k : table_.def().primaryKey)
            if ((target = entryWidget(k))) break;
    if (!target && kind == StorageErrorKind::RequiredFieldMissing)
        for (const EntryWidget& e : entryWidgets_)
            if (table_.fieldDef(e.field).required && table_.field(e.field).isNull()) {
                target = e.widget;
                break;
            }
    if (!target) target = before;
    if (!target && !entryWidgets_.isEmpty()) target = entryWidgets_.front().widget;
    focusEntryWidget(target);
}

void RegisterForm::cancelEntry() {
    if (table_.state() == TableState::Edit || table_.state() == TableState::Insert) table_.cancel();
    showBrowsePage();
}

void RegisterForm::ButtonZrusClick() {
    EscapeEntry();
}

void RegisterForm::EscapeEntry() {
    // Nothing typed: nothing to lose, nothing to ask.
    if (entryChanged() && !Platform::current().askYesNo(config_.escapeQuestion)) return;
    cancelEntry();
}

void RegisterForm::gridActivated() {
    if (chooser_) {
        if (table_.hasRecord()) accept();
        return;
    }
    OpravaClick();
}

void RegisterForm::gridEscape() {
    Platform::current().beep();
    reject();
}

// --- search ----------------------------------------------------------------------------------

QString RegisterForm::searchFieldOfItem(int item) const {
    return config_.searchItems.value(item).field;
}

void RegisterForm::setSearchField(const QString& field) {
    int col = -1;
    if (GridModel* m = DbGrid1->gridModel()) {
        const QString upper = field.toUpper();
        for (int i = 0; i < m->columns().size(); ++i)
            if (m->columns()[i].field.toUpper() == upper) {
                col = i;
                break;
            }
    }
    DbGrid1->setSearchColumn(col);
    if (col >= 0) {
        searchField_ = DbGrid1->searchField();
        LabelTrideni->setText(DbGrid1->columnTitle(col));
    } else if (table_.hasField(field)) {
        searchField_ = table_.fieldDef(table_.fieldIndex(field)).name;
        LabelTrideni->setText(searchField_);
    } else {
        // A name that matches no field: searching does nothing.
        searchField_.clear();
        LabelTrideni->clear();
    }
    // The search box of a number or date column takes only what can be such a value.
    const QValidator* old = EditHledej->validator();
    EditHledej->setValidator(nullptr);
    delete old;
    const int fi = searchField_.isEmpty() ? -1 : table_.fieldIndex(searchField_);
    if (fi < 0) return;
    const FieldKind k = table_.fieldDef(fi).kind;
    if (isIntegerKind(k))
        EditHledej->setValidator(EditBox::typingValidator(EditBox::Kind::Integer, EditHledej));
    else if (isNumericKind(k))
        EditHledej->setValidator(EditBox::typingValidator(EditBox::Kind::Number, EditHledej));
    else if (k == FieldKind::Date)
        EditHledej->setValidator(EditBox::typingValidator(EditBox::Kind::Date, EditHledej));
    if (EditHledej->validator() && !EditHledej->hasAcceptableInput()) EditHledej->clear();
}

void RegisterForm::hledejItem(int item) {
    setSearchField(searchFieldOfItem(item));
    EditHledej->setFocus();
}

bool RegisterForm::searchFor(const QString& field, const QString& text) {
    if (text.trimmed().isEmpty() || field.isEmpty() || !table_.active()) return false;
    int fi = table_.fieldIndex(field);
    if (fi < 0) return false;
    const FieldDef& f = table_.fieldDef(fi);
    try {
        if (isTextKind(f.kind)) {
            LocateOptions o;
            o.caseInsensitive = true;
            o.partialKey = true;
            return table_.locate(f.name, {text}, o);
        }
        QVariant v;
        if (isNumericKind(f.kind)) {
            bool ok = false;
            QString n = numberLiteral(text, &ok);
            if (!ok) return false;
            v = isIntegerKind(f.kind) ? QVariant(n.toLongLong(&ok)) : QVariant(n.toDouble());
            if (!ok) return false;
        } else if (f.kind == FieldKind::Date) {
            QDate d = EditBox::parseDate(text.trimmed());
            if (!d.isValid()) return false;
            v = d;
        } else {
            v = text;
        }
        return table_.locate(f.name, {v});
    } catch (const StorageError& e) {
        reportStorageError(e);
        return false;
    }
}

void RegisterForm::EditHledejExit() {
    if (searching_ || closing_ || !open_ || result() != 0) return;
    if (table_.state() != TableState::Browse) return;
    const QString text = EditHledej->text();
    if (text.trimmed().isEmpty() || searchField_.isEmpty()) {
        DbGrid1->setFocus();
        return;
    }
    searching_ = true;
    if (searchFor(searchField_, text)) {
        DbGrid1->syncToTable();
        DbGrid1->setFocus();
    } else {
        if (config_.notFound == NotFoundAction::Beep) Platform::current().beep();
        if (config_.notFound == NotFoundAction::Message)
            Platform::current().information(config_.notFoundMessage);
        if (config_.notFound == NotFoundAction::Question)
            Platform::current().askYesNo(config_.notFoundMessage);
        EditHledej->setFocus();
    }
    searching_ = false;
}

void RegisterForm::tridItem(int item) {
    try {
        table_.setIndexFieldNames(config_.sortItems.value(item).indexFields);
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
    DbGrid1->syncToTable();
}

// --- filters ---------------------------------------------------------------------------------

QString RegisterForm::filterLiteral(const FieldDef& field, const QString& text, bool startsWith,
                                    bool* ok) {
    bool good = true;
    QString out;
    if (isNumericKind(field.kind)) {
        out = numberLiteral(text, &good);
    } else if (field.kind == FieldKind::Date) {
        QDate d = EditBox::parseDate(text.trimmed());
        good = d.isValid();
        if (good) out = QLatin1Char('\'') + d.toString(QStringLiteral("dd.MM.yyyy")) + '\'';
    } else {
        QString t = text;
        t.replace(QLatin1Char('\''), QLatin1String("''"));
        out = QLatin1Char('\'') + t + (startsWith ? QStringLiteral("*") : QString()) + '\'';
    }
    if (ok) *ok = good;
    return good ? out : QString();
}

bool RegisterForm::askValue(const QString& title, const QString& prompt, QString& value) {
    return Platform::current().inputQuery(title, prompt, value);
}

bool RegisterForm::applyFilter(const QString& expression) {
    bool ok = true;
    try {
        table_.setFiltered(false);
        table_.setFilter(expression.trimmed());
        if (!expression.trimmed().isEmpty()) table_.setFiltered(true);
    } catch (const StorageError& e) {
        reportStorageError(e); // the filter stays off
        ok = false;
    }
    showFilterState();
    DbGrid1->syncToTable();
    return ok;
}

void RegisterForm::showFilterState() {
    QString text;
    if (table_.active() && table_.filtered())
        text = config_.filterDisplay == FilterDisplay::FixedText
                   ? config_.filterText
                   : QStringLiteral("Filtr :") + table_.filter();
    StatusBar1->setPanelText(config_.filterPanel, text);
}

void RegisterForm::bezFiltruClick() {
    applyFilter(QString());
}

void RegisterForm::filterMarkedRecords(const QString& keyField) {
    if (!table_.active()) return;
    QSet<QString> keys;
    try {
        // The marks are bookmarks; a private cursor reads their keys without moving ours.
        Table t(table_.database(), table_.def().address());
        t.open();
        for (qint64 b : DbGrid1->markedBookmarks())
            if (t.gotoBookmark(b)) keys.insert(OrizniVpravo(t.field(keyField).asString()));
        table_.setFiltered(false);
        table_.setFilter(QString());
        filtrOznacenych(table_, keyField, keys);
    } catch (const StorageError& e) {
        reportStorageError(e);
    }
}

void RegisterForm::filtrClick() {
    if (hooks_.filterDialog) {
        hooks_.filterDialog(*this);
    } else if (RegisterHooks::global().filterDialog) {
        RegisterHooks::global().filterDialog(*this);
    } else {
        QString expr = table_.filter();
        if (askValue(QStringLiteral("Filtr"), QStringLiteral("Podmínka filtru"), expr))
            applyFilter(expr);
    }
    showFilterState();
    DbGrid1->syncToTable();
}

void RegisterForm::rozsahItem(int item) {
    const RangeItem r = config_.rangeItems.value(item);
    // The filter is off first: a cancelled question leaves the table unfiltered.
    applyFilter(QString());
    if (r.kind == RangeItem::Kind::Fixed) {
        applyFilter(r.expression);
        return;
    }
    int fi = table_.fieldIndex(r.field);
    if (fi < 0) return;
    const FieldDef f = table_.fieldDef(fi);
    const QString title =
        r.question.isEmpty() ? QStringLiteral("Zadejte položku ") + r.caption : r.question;
    QStringList conds;
    auto literal = [&](const QString& v, bool starts, QString* out) {
        bool ok = false;
        *out = filterLiteral(f, v, starts, &ok);
        if (!ok)
            Platform::current().error(
                QStringLiteral("Hodnota \"%1\" neodpovídá položce %2").arg(v, f.name));
        return ok;
    };
    const QString name = QLatin1Char('[') + f.name + QLatin1Char(']');
    if (r.kind == RangeItem::Kind::Between) {
        QString lo, hi;
        if (!askValue(title, QStringLiteral("Od"), lo)) return;
        if (!askValue(title, QStringLiteral("Do"), hi)) return;
        QString l;
        if (!lo.trimmed().isEmpty()) {
            if (!literal(lo, false, &l)) return;
            conds << name + QStringLiteral(" >= ") + l;
        }
        if (!hi.trimmed().isEmpty()) {
            if (!literal(hi, false, &l)) return;
            conds << name + QStringLiteral(" <= ") + l;
        }
    } else {
        QString v;
        if (!askValue(title, QStringLiteral("Dotaz"), v)) return;
        if (v.isEmpty()) return;
        QString l;
        if (!literal(v, r.kind == RangeItem::Kind::StartsWith && isTextKind(f.kind), &l)) return;
        conds << name + QStringLiteral(" = ") + l;
    }
    if (!conds.isEmpty()) applyFilter(conds.join(QStringLiteral(" and ")));
}

// --- print and export ------------------------------------------------------------------------

void RegisterForm::tiskItem(int item) {
    const PrintItem p = config_.printItems.value(item);
    const QString path = p.chooseTemplate
                             ? p.chooseTemplate(*this)
                             : p.templateName + ZnTiskPripona() + QStringLiteral(".pts");
    if (hooks_.print)
        hooks_.print(*this, path);
    else if (RegisterHooks::global().print)
        RegisterHooks::global().print(*this, path);
    else
        Platform::current().error(QStringLiteral("Sestavu %1 nelze vytisknout").arg(path));
}

void RegisterForm::tiskovySpravceClick() {
    openPrintManager(config_.printManagerDirectory, config_.printManagerPrefix);
}

void RegisterForm::openPrintManager(const QString& dir, const QString& prefix) {
    if (hooks_.printManager)
        hooks_.printManager(*this, dir, prefix);
    else if (RegisterHooks::global().printManager)
        RegisterHooks::global().printManager(*this, dir, prefix);
    else
        Platform::current().error(
            QStringLiteral("Tiskový správce sestav %1%2 není k dispozici").arg(dir, prefix));
}

void RegisterForm::exportClick() {
    if (hooks_.exportTable)
        hooks_.exportTable(*this);
    else if (RegisterHooks::global().exportTable)
        RegisterHooks::global().exportTable(*this);
    else
        Platform::current().error(QStringLiteral("Export dat není k dispozici"));
}

// --- keyboard --------------------------------------------------------------------------------

void RegisterForm::keyPressEvent(QKeyEvent* event) {
    // Escape never simply rejects the form, and Enter never presses a button by itself.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (entryShown())
            EscapeEntry();
        else
            gridEscape();
        return;
    }
    if (isEnter(event)) return;
    QDialog::keyPressEvent(event);
}

bool RegisterForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditHledej) {
        if (event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            if (k->key() == Qt::Key_Escape && k->modifiers() == Qt::NoModifier) {
                gridEscape();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                QTimer::singleShot(0, this, [this] {
                    if (!EditHledej->hasFocus()) EditHledejExit();
                });
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress && entryShown()) {
        auto* k = static_cast<QKeyEvent*>(event);
        const bool plain = k->modifiers() == Qt::NoModifier;
        if (k->key() == Qt::Key_Escape && plain) {
            EscapeEntry();
            return true;
        }
        if (k->key() == Qt::Key_F6 && plain && config_.f6Saves) {
            ButtonOkClick();
            return true;
        }
        if (isEnter(k) && !qobject_cast<QPlainTextEdit*>(watched)) {
            if (config_.enterMovesBetweenBoxes) focusNextChild();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn && entryShown()) {
        if (auto* w = qobject_cast<QWidget*>(watched)) {
            QString hint = w->statusTip();
            for (QWidget* p = w; hint.isEmpty() && p && p != this; p = p->parentWidget())
                hint = p->statusTip();
            StatusBar2->setPanelText(0, hint);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brix
