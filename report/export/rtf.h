#pragma once
// The pages of a run as one RTF document: a font table and a colour table of the text runs,
// the paper and margins in twips, each page a group ending with "\par\page}" ("\par}" for the
// last), texts as positioned paragraph frames, lines, frames and ellipses as drawing shapes.
// Pictures, barcodes and paint boxes have no place in it. Text is Windows-1250; a character
// outside it is written as "\uN?".

#include "definition.h"
#include "output.h"

#include <QByteArray>
#include <QString>

namespace brix::report {

struct RtfOptions {
    // The web address in the document comment "Produced by: TALIV Report Generator (...)".
    QString producerAddress = QStringLiteral("brix");
};

// Pages firstPage..lastPage (1-based, limited to the page list).
QByteArray rtfDocument(const TSestVystup& out, const PageSetup& page, int firstPage, int lastPage,
                       const RtfOptions& options = {});

// Report units to twips (units × 1440 / 100, rounded toward zero as integer arithmetic does).
int toTwips(double units);

// A text escaped for RTF: 32 to 127 as they are with "\", "{" and "}" escaped, the rest of
// Windows-1250 as "\'hh", TAB as "\tab ", other control characters dropped, characters
// outside Windows-1250 as "\uN?".
QByteArray rtfEscape(QStringView text);

} // namespace brix::report
