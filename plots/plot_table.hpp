#pragma once
// The plotted data of each view as a table, and its CSV form: one header line
// naming the columns with their units, then the values at full precision, so
// that the curves can be taken into other tools.

#include <ostream>
#include <string>
#include <vector>

#include "plots/ccdf.hpp"
#include "plots/chip_views.hpp"
#include "plots/eye_diagram.hpp"
#include "plots/iq_time.hpp"
#include "plots/scatter_plot.hpp"
#include "plots/spectrum.hpp"
#include "plots/waterfall.hpp"

namespace dot11b::plots {

struct PlotTable {
    std::vector<std::string> headers;          // no commas or quotes
    std::vector<std::vector<double>> columns;  // all of one length
};

PlotTable spectrum_table(const Spectrum& spectrum);
PlotTable ccdf_table(const Ccdf& ccdf);
PlotTable iq_time_table(const IqTime& view);
// NaN rows are the breaks between traces; time_header names the time axis.
PlotTable eye_table(const EyeDiagram& eye, const std::string& time_header);
PlotTable scatter_table(const ScatterPoints& points);
// One row per snapshot and frequency.
PlotTable waterfall_table(const Waterfall& view);

// One row per chip: the received point; the ideal points, each once, follow
// in their own columns, padded with NaN.
PlotTable constellation_table(const Constellation& view);
PlotTable chip_evm_table(const ChipEvm& view);

// Numbers in their shortest form that reads back to the same double; NaN as "nan".
void write_csv(std::ostream& out, const PlotTable& table);

}  // namespace dot11b::plots
