#pragma once
// The Impairments window (Special > Impairments): a check box and a value for
// each impairment, and the noise seed. It edits a copy of the record and
// hands it back on OK; the caller stores it.

#include <functional>
#include <optional>

#include "impairments/impairment_settings.hpp"

class QWidget;

namespace dot11b::gui {

// The projected length of the waveform with these impairments, in samples.
using ProjectedLength = std::function<std::optional<double>(const impairments::ImpairmentSettings&)>;

// Shows the window modal over `parent` through the dialog service. Returns the
// edited record on OK, nothing on Cancel or the close box.
std::optional<impairments::ImpairmentSettings> edit_impairments(QWidget* parent,
                                                                const impairments::ImpairmentSettings& current,
                                                                const ProjectedLength& projected_length);

}  // namespace dot11b::gui
