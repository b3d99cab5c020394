#pragma once

// The common register: one form that every list of the system is an instance of. A register
// page with the grid, the search box "Hledat ve sloupci", the label of the search column and a
// status bar; an entry page with one box per field, "&Ok" and "&Zruš"; the menus "&Nový",
// "&Oprava", "&Smazat", "&Hledej", "&Rozsah", "&Tisk" and "&Funkce" → "&Export"; a chooser mode.
//
// A register is a RegisterConfig (what differs between the lists: order, columns, search, sort,
// range and print items, keyboard and messages) plus the boxes of its entry page; what is
// really a list's own (a check on "&Ok", defaults of a new record, extra menus) goes into a
// subclass or the config's callbacks. Printing, the print manager, the export, the filter
// database and the messages of storage errors go through hooks that the program installs
// (RegisterHooks::global()) or a register sets for itself.

#include "datagrid.h"
#include "editbox.h"
#include "field_binding.h"
#include "navigator.h"
#include "statusbar.h"
#include "storage_error.h"

#include <QDialog>

#include <functional>

class QAction;
class QCheckBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace brix {

class RegisterForm;

// "&Hledej" → caption: makes the field's column the search column.
struct SearchItem {
    QString caption;
    QString field;
};

// "&Třídění" → caption: orders the table by these index fields ("Typ_Uctu;Druh").
struct SortItem {
    QString caption;
    QString indexFields;
};

// "&Rozsah" → caption: a filter on one field from values the user types. The values are
// literals of the filter expression, never its text.
struct RangeItem {
    enum class Kind {
        Equals,     // one value; the field equals it
        StartsWith, // one value; the field begins with it
        Between,    // two bounds "od" / "do"; an empty bound drops its condition
        Fixed       // the expression as given, nothing asked
    };
    QString caption;
    QString field;
    Kind kind = Kind::Equals;
    QString question;   // title of the input box; empty: "Zadejte položku " + caption
    QString expression; // Fixed only
};

// "&Tisk" → caption: the list print. The template is templateName + ZnTiskPripona + ".pts"
// (relative to the data root), or what chooseTemplate answers when it is set.
struct PrintItem {
    QString caption;
    QString templateName;
    std::function<QString(RegisterForm&)> chooseTemplate;
};

enum class NotFoundAction {
    KeepFocus, // the search box keeps the focus, nothing moves
    Beep,      // the same with a beep
    Message,   // the same after notFoundMessage (caption "Informace")
    Question   // the same after notFoundMessage asked (caption "Dotaz", Yes/No; answer unused)
};

enum class FilterDisplay {
    FixedText, // filterText ("Filtr zapnut") while filtering is on
    Expression // "Filtr :" followed by the table's filter text
};

struct RegisterConfig {
    QString caption;
    QString order;             // index fields; empty: the primary key
    QList<GridColumn> columns; // empty: every field of the table
    QString layoutFile;        // data-root path; when it exists it replaces the columns
    int lockedColumns = 0;
    bool markRows = false; // rows can be marked (Space, Ctrl+click)

    QList<SearchItem> searchItems;
    bool searchMenuIsItem = false; // "&Hledej" is itself the (first) search item
    QString sortMenuCaption = QStringLiteral("&Třídění");
    QList<SortItem> sortItems;
    bool noFilterItem = true; // "&Rozsah" → "&Bez filtru": the filter can always be switched off
    bool filterItem = true;   // "&Rozsah" → "&Filtr" (the filter database)
    QList<RangeItem> rangeItems;
    QList<PrintItem> printItems;
    QString printManagerDirectory = QStringLiteral("Ciselnik\\");
    QString printManagerPrefix; // empty: no "&Tiskový správce"
    bool exportItem = true;     // "&Funkce" → "&Export"

    bool newHasF5 = true;
    bool enterMovesBetweenBoxes = true;
    bool f6Saves = true;
    // Asked by Escape and "&Zruš" when a box shows another value than the record had.
    QString escapeQuestion = QStringLiteral("Chceš opravdu skončit bez záznamu?");
    QString deleteQuestion = QStringLiteral("Chceš opravdu smazat větu ?");
    NotFoundAction notFound = NotFoundAction::KeepFocus;
    QString notFoundMessage = QStringLiteral("Hledaný text nebyl nalezen");
    int filterPanel = 0;
    FilterDisplay filterDisplay = FilterDisplay::FixedText;
    QString filterText = QStringLiteral("Filtr zapnut");
    QString openErrorNotice;        // shown (caption "Chyba") before the engine's text on opening
    bool searchFirstColumn = false; // on opening the first grid column is searched, not item 1
    QString sourceName;             // component name of the data source; empty: "DS_" + file name
    bool entryNavigator = false;    // previous / next / insert on the entry page
    // "&Smazat" refuses a record that other records use (data/references.h) and says where.
    bool refuseUsedRecords = true;

    // The list's own rules: refuse "&Ok" (after telling the user why), fill a new record.
    std::function<bool(RegisterForm&)> checkBeforeSave;
    std::function<void(RegisterForm&)> afterNew;
};

struct RegisterHooks {
    // "&Tisk" → a list print with the template's name.
    std::function<void(RegisterForm&, const QString& templatePath)> print;
    // "&Tiskový správce" with the directory and the report prefix.
    std::function<void(RegisterForm&, const QString& directory, const QString& prefix)>
        printManager;
    // "&Funkce" → "&Export" on the register's table.
    std::function<void(RegisterForm&)> exportTable;
    // "&Rozsah" → "&Filtr": the filter database on the table; the register shows the filter
    // state afterwards.
    std::function<void(RegisterForm&)> filterDialog;
    // A storage error of opening, saving or deleting.
    std::function<void(RegisterForm*, const StorageError&)> storageError;

    // What the program installs at start; a register's own hooks win over these.
    static RegisterHooks& global();
};

class RegisterForm : public QDialog {
    Q_OBJECT
public:
    RegisterForm(Table& table, RegisterConfig config, QWidget* parent = nullptr);
    ~RegisterForm() override;

    Table& table() const { return table_; }
    const RegisterConfig& config() const { return config_; }
    RegisterHooks& hooks() { return hooks_; }

    // --- entry page ------------------------------------------------------------------------
    // One box per field in the entry page's form: kind and size limit from the field.
    EditBox* addField(const QString& field, const QString& label, const QString& hint = {});
    QPlainTextEdit* addMemo(const QString& field, const QString& label, const QString& hint = {});
    QCheckBox* addCheck(const QString& field, const QString& label, const QString& hint = {});
    // A box of the field (kind, size and decimals from it) for a layout of the list's own,
    // bound like addField's; the list places it.
    EditBox* fieldBox(const QString& field, const QString& hint = {}, QWidget* parent = nullptr);
    // Binds a box the list has made and placed itself (the kinds of FieldBinding); the entry
    // page's keys and hints work in it as in the bound boxes.
    void bindWidget(const QString& field, QWidget* widget);
    FieldBinding& binding() { return binding_; }
    // Boxes of the list's own go here (the bound ones are in a form layout at its top).
    QWidget* entryArea() const { return entryArea_; }
    // A box of the list's own that shows a field: the register marks it when the field is
    // required, names it in the required-fields message and gives it the focus after an error.
    void noteEntryWidget(const QString& field, const QString& label, QWidget* widget);
    // The box that shows the field (null when none does).
    QWidget* entryWidget(const QString& field) const;
    // Gives a box of the entry page the focus (its line when it is an edit box).
    void focusEntryWidget(QWidget* widget);
    // Something was typed or chosen since the record was loaded into the bound boxes (a list
    // that formats boxes itself after loading says so with binding().keepAsLoaded()).
    bool entryChanged() const;
    // The first box of the entry page gets the focus when it is shown (else the first bound).
    void setFirstEntryWidget(QWidget* w) { firstEntry_ = w; }
    // Record → boxes, boxes → record (false after showing why a box is not a value). A list
    // with boxes of its own extends both.
    virtual void loadEntry();
    virtual bool storeEntry();
    // After "&Nový" or "&Oprava" has put the record in insert or edit: the record into the
    // boxes and the entry page shown. A list with an entry form of its own opens that instead.
    virtual void openEntry();

    // --- opening, closing, chooser ---------------------------------------------------------
    // Chooser mode: the table's order, range, filter and activity are the caller's; Enter or a
    // double click closes with OK on the current record. The search text and field are
    // applied when the register opens.
    void setChooserMode(bool on, const QString& searchText = {}, const QString& searchField = {});
    bool chooserMode() const { return chooser_; }
    // Puts the table into its order, opens it, removes range and filter (not as a chooser).
    // A list that opens more extends both.
    virtual void openRegister();
    // Cancels an edit; outside chooser mode switches the filter off, removes the range and
    // closes the table.
    virtual void closeRegister();
    bool isOpen() const { return open_; }
    // Opens, runs modally through the platform, closes; returns the dialog result.
    int showRegister();

    // --- commands --------------------------------------------------------------------------
    virtual void NovyClick();
    virtual void OpravaClick();
    virtual void SmazatClick();
    virtual void ButtonOkClick();
    // What "&Ok" does before it shows the register page: the boxes into the record, the list's
    // check, the post. False (the record stays in edit, the reason shown) when refused. The
    // entry navigator saves through it before it moves.
    virtual bool saveEntry();
    // "&Zruš" behaves as Escape.
    virtual void ButtonZrusClick();
    // Escape on the entry page: an unchanged record is left at once; a changed one after the
    // question, Yes cancels and shows the register page.
    void EscapeEntry();
    void hledejItem(int item);
    void tridItem(int item);
    virtual void rozsahItem(int item);
    void bezFiltruClick();
    void filtrClick();
    void tiskItem(int item);
    virtual void tiskovySpravceClick();
    // The print manager of the templates dir + prefix over the register's table.
    void openPrintManager(const QString& dir, const QString& prefix);
    virtual void exportClick();
    // Leaving the search box: searches when the text is not blank.
    void EditHledejExit();
    void gridActivated();
    void gridEscape();

    // --- search ----------------------------------------------------------------------------
    // The first record in the current order whose field starts with text, ignoring case
    // (Czech letters too); a number or date column compares the whole value.
    bool searchFor(const QString& field, const QString& text);
    QString searchField() const { return searchField_; }
    void setSearchField(const QString& field);
    // What a search that finds nothing does (a list's own command set may change it).
    void setNotFound(NotFoundAction action, const QString& message) {
        config_.notFound = action;
        config_.notFoundMessage = message;
    }

    // --- filter state ----------------------------------------------------------------------
    // Filters by an expression, shows the state; empty switches the filter off.
    bool applyFilter(const QString& expression);
    void showFilterState();
    // "&Označené věty": the table shows only the records marked in the grid, by the values of
    // their key field (a text kept without its trailing blanks); the filter text is dropped. A
    // storage error is reported; the caller shows the state and re-reads the grid.
    void filterMarkedRecords(const QString& keyField);
    // A literal of the filter language for a value of the field (quotes doubled); empty when
    // the text is not a value of the field's kind.
    static QString filterLiteral(const FieldDef& field, const QString& text, bool startsWith,
                                 bool* ok = nullptr);

    bool entryShown() const;
    // The size at which the register shows its columns and its entry page.
    QSize preferredSize() const;
    void showEntryPage();
    void showBrowsePage();
    void reportStorageError(const StorageError& e);
    // A computation of a hook or handler met a zero divisor: kDeleniNulou, caption "Chyba".
    void reportDivisionByZero();

    // The parts, named as the forms name them.
    QMenuBar* MainMenu = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    QWidget* TabSheetBrowse = nullptr;
    QWidget* TabSheetVstup = nullptr;
    DataGrid* DbGrid1 = nullptr;
    QLineEdit* EditHledej = nullptr;
    QLabel* LabelTrideni = nullptr;
    StatusBar* StatusBar1 = nullptr;
    StatusBar* StatusBar2 = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonZrus = nullptr;
    Navigator* Navigator1 = nullptr;
    QAction* MenuNovy = nullptr;
    QAction* MenuOprava = nullptr;
    QAction* MenuSmazat = nullptr;
    QMenu* MenuHledej = nullptr;
    QAction* MenuHledejItem = nullptr; // when "&Hledej" is itself the item
    QMenu* MenuTrideni = nullptr;
    QMenu* MenuRozsah = nullptr;
    QMenu* MenuTisk = nullptr;
    QMenu* MenuFunkce = nullptr;
    QAction* MenuExport = nullptr;
    QList<QAction*> searchActions, sortActions, rangeActions, printActions;
    QAction* MenuBezFiltru = nullptr;
    QAction* MenuFiltr = nullptr;
    QAction* MenuTiskovySpravce = nullptr;

    // Menus of the register page that the entry page disables (lists add their own).
    void addBrowseMenu(QMenu* menu);
    void addBrowseAction(QAction* action);
    bool browseMenusEnabled() const;

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The search field of a "&Hledej" item; a form that answers by tag overrides it.
    virtual QString searchFieldOfItem(int item) const;
    void buildMenus();
    void setBrowseMenusEnabled(bool on);
    // Asks the input box; false when cancelled.
    bool askValue(const QString& title, const QString& prompt, QString& value);
    // After the boxes are stored: every required field shown on the page has a value, or the
    // message names the missing ones and the first gets the focus.
    bool checkRequiredFields();
    // Posts the record; a refused post has been reported and the box in error has the focus.
    // A record another copy changed or deleted meanwhile is not overwritten silently: the user
    // saves his values as they are, reloads the record (it is shown as stored now and stays in
    // edit), or goes on editing.
    virtual bool postEntry();
    void reloadEntry();
    QWidget* firstEntryWidget() const;
    // The current record is used by other records (data/references.h): the message says where
    // and how often, and a list's own delete stops. False when it may be deleted.
    bool refusedAsUsed();
    // Leaves the record unsaved and shows the register page; a list that edits tables of its
    // own beside the register's cancels them here too.
    virtual void cancelEntry();

private:
    struct EntryWidget {
        int field;
        QString label;
        QWidget* widget;
    };
    void watchEntryWidget(QWidget* w);
    void focusAfterPostError(StorageErrorKind kind, const QString& field, QWidget* before);

    Table& table_;
    RegisterConfig config_;
    RegisterHooks hooks_;
    QWidget* entryArea_ = nullptr;
    QFormLayout* entryForm_ = nullptr;
    QWidget* firstEntry_ = nullptr;
    FieldBinding binding_;
    QList<EntryWidget> entryWidgets_;
    bool placed_ = false;
    QList<QObject*> browseMenus_;
    QString searchField_;
    QString presetSearch_;
    bool chooser_ = false;
    bool open_ = false;
    bool closing_ = false;
    bool searching_ = false;
    std::unique_ptr<NavigatorTarget> navTarget_;
};

// The navigator's view of a table cursor.
std::unique_ptr<NavigatorTarget> makeTableNavigatorTarget(Table& table);

} // namespace brix
