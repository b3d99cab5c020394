#pragma once
// The windows of the report engine that the program installs at start, so that every report
// component made afterwards previews in TFormSestP, shows the progress of its preparations and
// prints through the printer layer, asking "Taliv - možnosti tisku" about oversized pages.

namespace brix::report {

void installReportWindows();
// Back to none (tests).
void uninstallReportWindows();

} // namespace brix::report
