#pragma once
// The report's plots, drawn by plot/: a probe's DO against time and its
// residuals, and KLa20 or C-infinity20 against the start threshold.

#include <iosfwd>
#include <string_view>

#include "assess/Assessment.h"
#include "assess/RunRecord.h"
#include "plot/Figure.h"

namespace vk::exporter::html {

// Every reading as read, the kept ones filled, and the program's curve over
// the kept readings' span.
plot::Figure doFigure(const assess::SetRecord& set);
// Each kept reading minus the program's curve, at its time as read.
plot::Figure residualFigure(const assess::SetRecord& set);

enum class Standardised { KLa20, Cinf20 };
// One series per probe; a threshold that could not be fitted is left out.
plot::Figure sensitivityFigure(const assess::RunRecord& record, const assess::Assessment& assessment,
                               Standardised which);

// <figure data-plot="KIND">, the SVG, and under it the thinning note of any
// series drawn thinned: "Showing 2,000 of 32,723 NOUN, thinned evenly; ...".
void writeFigure(std::ostream& out, const plot::Figure& figure, std::string_view kind, std::string_view noun);

}  // namespace vk::exporter::html
