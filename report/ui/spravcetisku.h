#pragma once
// The print manager (`TFormSpravceTisku`): the templates of one family, the files of a
// directory beginning with the family's prefix, with their descriptions; editing, previewing,
// printing one, creating a new one, adding one from elsewhere and printing to the text file
// "LPT.TXT". The form that opens it gives `Sestava1` its data (and `SestDetail1` when it prints
// items), the directory (relative to the report's base directory, matched ignoring case) and
// the prefix.
//
// Every command on the chosen template first checks that its file exists ("Soubor: ...
// neexistuje") and does nothing otherwise. A new template's name is kept inside the directory:
// path separators, ".." and characters no file name carries are refused.

#include "sestava.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace brix::report {

class TFormSpravceTisku : public QDialog {
    Q_OBJECT
public:
    explicit TFormSpravceTisku(QWidget* parent = nullptr);
    ~TFormSpravceTisku() override;

    TSestava Sestava1;
    TSestDetail SestDetail1;
    // The detail's data; attached to Sestava1 as its detail 0 only when given.
    void setDetailSource(TBridge* source);

    // The template directory as the form names it ("Ciselnik\") and the family's prefix.
    QString Adresar;
    QString Prefix;
    // The printer of "Tisk do souboru" (the program settings' printer).
    int Tiskarna = -1;

    // Opens the window through the platform; without a directory it says so and closes at once.
    // Closing clears the directory and the prefix. Gives the window's result.
    int spust();

    // The directory on the disk (empty when it cannot be found).
    QString directoryPath() const;
    // Fills the list from the directory; the entries added from elsewhere stay.
    void refresh();
    // The chosen entry's file, empty when none is chosen.
    QString chosenFile() const;
    bool choose(const QString& fileName);

    // The file a new template's name gives, or empty with the reason when it is refused.
    // An empty name (or only spaces) gives an empty file and no reason.
    QString newTemplateFile(const QString& typed, QString* reason) const;

    void OpravClick();
    void PreviewClick();
    void TiskniClick();
    void NovyClick();
    void DalsiClick();
    void TiskDoSouboruClick();

    QTreeWidget* ListSestavy = nullptr;
    QPushButton* ButtonOprav = nullptr;
    QPushButton* ButtonPreview = nullptr;
    QPushButton* ButtonTiskni = nullptr;
    QPushButton* ButtonNovy = nullptr;
    QPushButton* ButtonDalsi = nullptr;
    QPushButton* ButtonTiskDoSouboru = nullptr;

    // The text file of "Tisk do souboru", under the report's base directory.
    static QString textFileName() { return QStringLiteral("LPT.TXT"); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The chosen entries exist; else each missing one is reported and false given.
    bool checkSelection();
    // The chosen template as the component's ReportName: directory + file name for a file of
    // the directory, the full path for one added from elsewhere.
    bool takeChosen();
    QTreeWidgetItem* addEntry(const QString& path, const QString& description, bool extra);

    QStringList extra_; // files added through "Další sestavy", full paths
};

} // namespace brix::report
