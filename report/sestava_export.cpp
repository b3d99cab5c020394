// The document exports of the report component: RTF, HTML, PDF and page metafiles of the
// pages a run prepared (the writers are in report/export, the drawing in report/render).

#include "sestava.h"

#include "codec.h"
#include "html.h"
#include "metafile.h"
#include "render.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace brix::report {

namespace {

QString inDirectory(const QString& directory, const QString& fileName) {
    return directory.isEmpty() ? fileName : QDir(directory).filePath(fileName);
}

bool writeAll(QIODevice& stream, const QByteArray& bytes) {
    return stream.write(bytes) == bytes.size();
}

// An element as a bitmap of its size, one pixel a report unit (pictures, barcodes, paint boxes
// of the HTML pages).
QImage elementBitmap(const TVystPrvek& el) {
    const QRect r = deviceRect(el, 1.0);
    if (r.isEmpty()) return {};
    QImage image(r.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.translate(-r.topLeft());
    renderElement(p, el, 1.0);
    return image;
}

} // namespace

// Files written one by one, all removed again when one of them fails.
class FileSeries {
public:
    bool write(const QString& path, const QByteArray& bytes) {
        if (!writeFileWhole(path, bytes)) {
            for (const QString& f : written_)
                QFile::remove(f);
            written_.clear();
            return false;
        }
        written_ << path;
        return true;
    }

private:
    QStringList written_;
};

namespace {

bool writeHtml(const TSestVystup& out, int pageIndex, const QString& directory,
               const QString& pictureFile, QIODevice* stream, const QString& htmlPath,
               FileSeries& files) {
    const HtmlPage page = htmlPage(out, pageIndex, pictureFile, elementBitmap);
    if (page.html.isEmpty()) return false;
    for (const auto& [name, image] : page.bitmaps) {
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "BMP") || !files.write(inDirectory(directory, name), bmp))
            return false;
    }
    if (stream) return writeAll(*stream, page.html);
    return files.write(htmlPath, page.html);
}

} // namespace

int TSestava::ExportRtf(QIODevice& stream) {
    return whileBusy([&]() -> int {
        int result = Prepare();
        if (result != seOk) return result;
        const QByteArray rtf =
            rtfDocument(output, definition.page, output.firstPage, output.lastPage, rtfOptions);
        return writeAll(stream, rtf) ? seOk : fail(seOutput);
    });
}

int TSestava::ExportRtfFile(const QString& directory, const QString& fileName) {
    return whileBusy([&]() -> int {
        int result = Prepare();
        if (result != seOk) return result;
        const QByteArray rtf =
            rtfDocument(output, definition.page, output.firstPage, output.lastPage, rtfOptions);
        return writeFileWhole(inDirectory(directory, fileName), rtf) ? seOk : fail(seOutput);
    });
}

int TSestava::ExportHtmlPage(QIODevice& stream, const QString& directory, int pageIndex,
                             const QString& pictureFile) {
    FileSeries files;
    return writeHtml(output, pageIndex, directory, pictureFile, &stream, QString(), files)
               ? seOk
               : fail(seOutput);
}

int TSestava::ExportHtmlPageFile(const QString& directory, const QString& fileName, int pageIndex,
                                 const QString& pictureFile) {
    FileSeries files;
    return writeHtml(output, pageIndex, directory, pictureFile, nullptr,
                     inDirectory(directory, fileName), files)
               ? seOk
               : fail(seOutput);
}

int TSestava::ExportHtmlFiles(const QString& directory, const QString& htmlFile,
                              const QString& pictureFile) {
    return exportPageFiles([&](int page, FileSeries& files) {
        const QString html = replaceExtension(htmlFile, QStringLiteral("%1.html").arg(page));
        const QString pictures = replaceExtension(pictureFile, QStringLiteral("%1_.bmp").arg(page));
        return writeHtml(output, page - 1, directory, pictures, nullptr,
                         inDirectory(directory, html), files);
    });
}

int TSestava::exportPageFiles(const std::function<bool(int, FileSeries&)>& writePage) {
    return whileBusy([&]() -> int {
        const int result = Prepare();
        if (result != seOk) return result;
        FileSeries files;
        const int first = std::max(1, output.firstPage);
        const int last = std::min(output.lastPage, output.pageCount());
        for (int page = first; page <= last; ++page)
            if (!writePage(page, files)) return fail(seOutput);
        return seOk;
    });
}

int TSestava::ExportPdf(QIODevice& stream) {
    if (output.pageCount() == 0) return fail(seOutput);
    const QByteArray pdf =
        pdfDocument(output, definition.page, output.firstPage, output.lastPage, pdfOptions);
    return writeAll(stream, pdf) ? seOk : fail(seOutput);
}

int TSestava::ExportPdfFile(const QString& directory, const QString& fileName) {
    if (output.pageCount() == 0) return fail(seOutput);
    const QByteArray pdf =
        pdfDocument(output, definition.page, output.firstPage, output.lastPage, pdfOptions);
    return writeFileWhole(inDirectory(directory, fileName), pdf) ? seOk : fail(seOutput);
}

int TSestava::exportMetafile(QIODevice& stream, int pageIndex, bool emf) {
    const QByteArray bytes =
        pageMetafile(output, pageIndex, emf ? MetafileKind::Emf : MetafileKind::Wmf);
    return !bytes.isEmpty() && writeAll(stream, bytes) ? seOk : fail(seOutput);
}

int TSestava::ExportEmfPage(QIODevice& stream, int pageIndex) {
    return exportMetafile(stream, pageIndex, true);
}

int TSestava::ExportWmfPage(QIODevice& stream, int pageIndex) {
    return exportMetafile(stream, pageIndex, false);
}

int TSestava::ExportEmfPageFile(const QString& fileName, int pageIndex) {
    const QByteArray bytes = pageMetafile(output, pageIndex, MetafileKind::Emf);
    return !bytes.isEmpty() && writeFileWhole(fileName, bytes) ? seOk : fail(seOutput);
}

int TSestava::ExportWmfPageFile(const QString& fileName, int pageIndex) {
    const QByteArray bytes = pageMetafile(output, pageIndex, MetafileKind::Wmf);
    return !bytes.isEmpty() && writeFileWhole(fileName, bytes) ? seOk : fail(seOutput);
}

int TSestava::exportMetafileFiles(const QString& fileName, bool emf) {
    return exportPageFiles([&](int page, FileSeries& files) {
        const QByteArray bytes =
            pageMetafile(output, page - 1, emf ? MetafileKind::Emf : MetafileKind::Wmf);
        const QString path =
            replaceExtension(fileName, QStringLiteral("%1%2").arg(page).arg(emf ? ".emf" : ".wmf"));
        return !bytes.isEmpty() && files.write(path, bytes);
    });
}

int TSestava::ExportEmfFiles(const QString& fileName) {
    return exportMetafileFiles(fileName, true);
}

int TSestava::ExportWmfFiles(const QString& fileName) {
    return exportMetafileFiles(fileName, false);
}

} // namespace brix::report
