#include "previewfiles.h"

#include "codec.h"
#include "html.h"
#include "rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace brix::report {

namespace {

// The files of a directory that begin with a name, to find what a multi-file save made.
QSet<QString> filesStartingWith(const QDir& dir, const QString& prefix) {
    const QStringList names = dir.entryList({prefix + QLatin1Char('*')}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

// Removes what a failed multi-file save left: every file of its name that was not there before.
class MultiFileSave {
public:
    explicit MultiFileSave(const QString& fileName) {
        const QFileInfo fi(fileName);
        dir_ = fi.absoluteDir();
        prefix_ = fi.completeBaseName();
        before_ = filesStartingWith(dir_, prefix_);
    }
    bool fail() {
        for (const QString& name : filesStartingWith(dir_, prefix_))
            if (!before_.contains(name)) QFile::remove(dir_.filePath(name));
        return false;
    }

private:
    QDir dir_;
    QString prefix_;
    QSet<QString> before_;
};

// The component's error event stays quiet while the preview saves: the window reports.
class QuietErrors {
public:
    explicit QuietErrors(TSestava& report) : report_(report), saved_(std::move(report.OnError)) {
        report.OnError = nullptr;
    }
    ~QuietErrors() { report_.OnError = std::move(saved_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

private:
    TSestava& report_;
    std::function<bool(TSestava&, int)> saved_;
};

struct PageRange {
    int first, last; // 1-based
};

PageRange rangeOf(const TSestVystup& out) {
    return {std::max(1, out.firstPage), std::min(out.lastPage, out.pageCount())};
}

bool savePages(TSestava& report, PreviewSave kind, const QString& fileName) {
    const PageRange range = rangeOf(report.output);
    if (range.first > range.last) return false;
    MultiFileSave save(fileName);
    const QFileInfo fi(fileName);
    for (int page = range.first; page <= range.last; ++page) {
        const QString name = numberedFileName(fileName, page);
        int result = seOutput;
        if (kind == PreviewSave::MetafilePages) {
            result = isClassicMetafileName(fileName) ? report.ExportWmfPageFile(name, page - 1)
                                                     : report.ExportEmfPageFile(name, page - 1);
        } else {
            // The page's bitmaps are named after it: "report1_3.bmp" for element 3 of page 1.
            const QString pictures =
                replaceExtension(fi.fileName(), QStringLiteral("%1_.bmp").arg(page));
            result = report.ExportHtmlPageFile(fi.absolutePath(), QFileInfo(name).fileName(),
                                               page - 1, pictures);
        }
        if (result != seOk) return save.fail();
    }
    return true;
}

} // namespace

PreviewSaveFormat previewSaveFormat(PreviewSave kind) {
    switch (kind) {
    case PreviewSave::Text:
        return {QStringLiteral("Textový soubor (*.txt);;Všechny soubory (*.*)"),
                QStringLiteral(".txt")};
    case PreviewSave::Rtf:
        return {QStringLiteral("Soubor RTF (*.rtf);;Všechny soubory (*.*)"),
                QStringLiteral(".rtf")};
    case PreviewSave::Pdf:
        return {QStringLiteral("Soubor PDF (*.pdf)"), QStringLiteral(".pdf")};
    case PreviewSave::MetafilePage:
    case PreviewSave::MetafilePages:
        return {QStringLiteral("Enhanced meta file (*.emf);;Windows meta file (*.wmf)"),
                QStringLiteral(".wmf")};
    case PreviewSave::HtmlPage:
    case PreviewSave::HtmlPages:
        return {QStringLiteral("Soubor HTML (*.html);;Všechny soubory (*.*)"),
                QStringLiteral(".html")};
    }
    return {};
}

QString withDefaultExtension(const QString& fileName, const QString& extension) {
    const QFileInfo fi(fileName);
    return fi.suffix().isEmpty() && !fi.fileName().endsWith(QLatin1Char('.')) ? fileName + extension
                                                                              : fileName;
}

QString numberedFileName(const QString& fileName, int page) {
    const QString suffix = QFileInfo(fileName).suffix();
    return replaceExtension(fileName,
                            QString::number(page) +
                                (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix));
}

bool isClassicMetafileName(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive);
}

bool savePreview(TSestava& report, PreviewSave kind, const QString& fileName, int currentPage) {
    if (fileName.isEmpty() || report.output.pageCount() == 0) return false;
    QuietErrors quiet(report);
    const TSestVystup& out = report.output;
    switch (kind) {
    case PreviewSave::Text:
        return writeFileWhole(fileName, report.textOutput());
    case PreviewSave::Rtf: {
        const PageRange range = rangeOf(out);
        return writeFileWhole(fileName, rtfDocument(out, report.definition.page, range.first,
                                                    range.last, report.rtfOptions));
    }
    case PreviewSave::Pdf: {
        const QFileInfo fi(fileName);
        return report.ExportPdfFile(fi.absolutePath(), fi.fileName()) == seOk;
    }
    case PreviewSave::MetafilePage:
        return (isClassicMetafileName(fileName)
                    ? report.ExportWmfPageFile(fileName, currentPage)
                    : report.ExportEmfPageFile(fileName, currentPage)) == seOk;
    case PreviewSave::HtmlPage: {
        const QFileInfo fi(fileName);
        MultiFileSave save(fileName);
        return report.ExportHtmlPageFile(fi.absolutePath(), fi.fileName(), currentPage,
                                         fi.fileName()) == seOk ||
               save.fail();
    }
    case PreviewSave::MetafilePages:
    case PreviewSave::HtmlPages:
        return savePages(report, kind, fileName);
    }
    return false;
}

} // namespace brix::report
