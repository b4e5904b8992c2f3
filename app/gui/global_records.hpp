#pragma once
// The window scripts' typed view of the application-wide records: each read
// checks the record held in the global, each store replaces it.

#include "app/records.hpp"
#include "frame/value.hpp"
#include "impairments/impairment_settings.hpp"
#include "mac/mac_header.hpp"

namespace dot11b::gui {

app::FormatParameters parameters();
void store(const app::FormatParameters& parameters);

app::SigGenSettings sig_gen_settings();
void store(const app::SigGenSettings& settings);

app::ConnectionConfig configuration();
void store(const app::ConnectionConfig& configuration);

// The impairments applied to the calculated waveform; none while the global
// is empty (before the Impairments window has stored any).
impairments::ImpairmentSettings impairment_settings();
void store(const impairments::ImpairmentSettings& impairments);

// The MAC header being edited in the MAC header window.
mac::MacHeader mac_header();
void store(const mac::MacHeader& header);

// `appInfo` and `figureList` are kept as Values; these read their fields.
frame::Value& app_info();
std::string app_info_text(std::string_view field);
frame::Value& figure_list();

}  // namespace dot11b::gui
