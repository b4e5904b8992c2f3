#include "plots/plot_table.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <charconv>

namespace dot11b::plots {

PlotTable spectrum_table(const Spectrum& spectrum) {
    return {{"Frequency (" + spectrum.frequency_units + ")", "LogMag (dB)"},
            {spectrum.frequency, spectrum.magnitude_db}};
}

PlotTable ccdf_table(const Ccdf& ccdf) {
    return {{"dB above Average (dB)", "Frequency of occurence (%)", "Gaussian noise (%)"},
            {ccdf.level_db, ccdf.percent, ccdf.reference}};
}

PlotTable iq_time_table(const IqTime& view) {
    return {{"Time (" + view.time_units + ")", "I (V)", "Q (V)"}, {view.time, view.in_phase, view.quadrature}};
}

PlotTable eye_table(const EyeDiagram& eye, const std::string& time_header) {
    PlotTable table{{time_header}, {eye.time}};
    const bool complex = eye.traces.size() == 2;
    for (std::size_t c = 0; c < eye.traces.size(); ++c) {
        table.headers.push_back(!complex ? "Amplitude (V)" : c == 0 ? "In-Phase (V)" : "Quadrature (V)");
        table.columns.push_back(eye.traces[c]);
    }
    return table;
}

PlotTable scatter_table(const ScatterPoints& points) {
    return {{"In-Phase (V)", "Quadrature (V)"}, {points.in_phase, points.quadrature}};
}

PlotTable waterfall_table(const Waterfall& view) {
    PlotTable table{{"Time (" + view.time_units + ")", "Frequency (" + view.frequency_units + ")", "LogMag (dB)"},
                    {{}, {}, view.magnitude_db}};
    for (std::size_t s = 0; s < view.snapshots; ++s) {
        for (std::size_t b = 0; b < view.bins; ++b) {
            table.columns[0].push_back(view.time[s]);
            table.columns[1].push_back(view.frequency[b]);
        }
    }
    return table;
}

PlotTable constellation_table(const Constellation& view) {
    PlotTable table{{"In-Phase", "Quadrature", "Ideal In-Phase", "Ideal Quadrature"},
                    {view.in_phase, view.quadrature, view.ideal_in_phase, view.ideal_quadrature}};
    const std::size_t rows = std::max(view.in_phase.size(), view.ideal_in_phase.size());
    for (auto& column : table.columns) column.resize(rows, std::numeric_limits<double>::quiet_NaN());
    return table;
}

PlotTable chip_evm_table(const ChipEvm& view) { return {{"Chip", "EVM (%)"}, {view.chip, view.percent}}; }

void write_csv(std::ostream& out, const PlotTable& table) {
    for (std::size_t c = 0; c < table.headers.size(); ++c) out << (c ? "," : "") << table.headers[c];
    out << '\n';
    const std::size_t rows = table.columns.empty() ? 0 : table.columns.front().size();
    std::array<char, 32> text{};
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const auto end = std::to_chars(text.data(), text.data() + text.size(), table.columns[c][r]).ptr;
            if (c) out << ',';
            out.write(text.data(), end - text.data());
        }
        out << '\n';
    }
}

}  // namespace dot11b::plots
