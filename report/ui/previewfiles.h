#pragma once
// Saving the pages a preview shows ("Uložit do souboru"): the character grid as text, RTF, PDF,
// the current or every page as a metafile or as HTML. The file dialog's filter and default
// extension of each kind, and the names of the files of every page. Nothing here knows widgets.
//
// Every save is whole or nothing: a failure leaves no file of it behind (a multi-file save
// removes the files it had written). The pages are the last run's; nothing is prepared again.

#include "sestava.h"

#include <QString>

namespace brix::report {

enum class PreviewSave {
    Text,          // the character grid of the pages in the report's code page
    Rtf,           // one RTF document
    Pdf,           // one PDF document
    MetafilePage,  // the current page; a name ending ".wmf" is a classic metafile
    MetafilePages, // every page, named as numberedFileName gives
    HtmlPage,      // the current page, its bitmaps beside it named after it
    HtmlPages,     // every page
};

struct PreviewSaveFormat {
    QString filter;    // for the platform's file dialog
    QString extension; // with the dot; added to a name without one
};
PreviewSaveFormat previewSaveFormat(PreviewSave kind);

// The name with the extension appended when it has none ("zprava" → "zprava.txt").
QString withDefaultExtension(const QString& fileName, const QString& extension);
// The file of page n (from 1) of a multi-file save: the extension replaced by n and the
// extension ("report.wmf", 2 → "report2.wmf").
QString numberedFileName(const QString& fileName, int page);
// Whether a metafile name asks for the classic form.
bool isClassicMetafileName(const QString& fileName);

// Writes the report's prepared pages; currentPage (from 0) for the single-page kinds. False
// when anything could not be written (nothing of it is left). The component's error event is
// not raised: the caller reports the failure.
bool savePreview(TSestava& report, PreviewSave kind, const QString& fileName, int currentPage);

} // namespace brix::report
