#include "export/html/PageStyle.h"

namespace vk::exporter::html {

// Every page section starts a printed page and is laid out to fit on one
// (see HtmlReport.h); sizes are in mm and pt so that screen and print agree.
const char* const kPageStyle = R"(
@page { size: A4; margin: 12mm 15mm; }
html { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { font-family: "Liberation Sans", Arial, Helvetica, sans-serif; font-size: 9pt; line-height: 1.3;
       color: #222; max-width: 180mm; margin: 0 auto; }
section.page { break-before: page; break-inside: avoid; }
@media screen { section.page { border-bottom: 1px solid #ccc; padding: 4mm 0; } }
h1 { font-size: 15pt; margin: 0 0 3mm; }
h2 { font-size: 12pt; margin: 4mm 0 2mm; padding-bottom: 0.5mm; border-bottom: 0.75pt solid #888; }
h3 { font-size: 9.5pt; margin: 3mm 0 1.5mm; }
p { margin: 1mm 0 2mm; }
.lead { margin-top: 0; }
table { border-collapse: collapse; width: 100%; font-size: 8pt; }
th, td { border: 0.5pt solid #bbb; padding: 0.5mm 1.2mm; text-align: right; vertical-align: top; }
th { background: #f0f0f0; font-weight: bold; }
th.name, td.name { text-align: left; }
table.facts th { text-align: left; width: 28mm; }
table.facts td { text-align: left; }
.sha, .mono { font-family: "Liberation Mono", "DejaVu Sans Mono", monospace; overflow-wrap: anywhere; }
.wrap { overflow-wrap: anywhere; }
.unit { color: #555; font-weight: normal; }
.ci { display: block; font-size: 7pt; color: #555; }
.na { color: #666; font-style: italic; }
.na .why { display: block; font-size: 6.5pt; font-style: normal; }
.note { font-size: 7.5pt; color: #444; }
.verdict { display: inline-block; padding: 0 1.2mm; border-radius: 1mm; font-weight: bold; }
.verdict-pass { background: #d8eed8; color: #1b5e20; }
.verdict-warn { background: #ffecb3; color: #6d4c00; }
.verdict-fail { background: #f6cdc8; color: #8e1b12; border: 0.75pt solid #8e1b12; }
.verdict-na { background: #ececec; color: #555; font-weight: normal; font-style: italic; }
table.checks td.name .title { display: block; }
table.checks td.name .limit { display: block; font-size: 6.5pt; color: #555; }
table.checks td.verdict-cell { text-align: center; }
table.checks td.verdict-cell .value { display: block; font-size: 7pt; }
ol.notes { font-size: 7pt; color: #444; margin: 1mm 0; padding-left: 5mm; }
figure { margin: 1mm 0 2mm; break-inside: avoid; }
figure svg { display: block; }
figcaption { font-size: 7.5pt; color: #555; }
.columns { display: flex; gap: 5mm; }
.columns > div { flex: 2 1 0; min-width: 0; }
.columns > div.wide { flex: 3 1 0; }
table.history { font-size: 7.5pt; }
table.diagnostics td.name, table.correlations td.name { width: 60%; }
table.history td, table.history th { padding: 0.3mm 1mm; }
.basis ul { margin: 1mm 0; padding-left: 5mm; }
.basis li { margin-bottom: 1mm; }
)";

}  // namespace vk::exporter::html
