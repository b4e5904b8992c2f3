// Untrusted MAT-files through the parameter-file and configuration-file
// loaders: every input must end in a loaded record or an IoError, without a
// crash, a sanitizer report or a leak.

#include <cstdint>

#include "app/configuration_file.hpp"
#include "app/parameter_file.hpp"
#include "common/errors.hpp"
#include "fuzz_input_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& path = dot11b::app::fuzz::write_input(data, size);
    try {
        dot11b::app::load_parameter_file(path);
    } catch (const dot11b::IoError&) {
    }
    try {
        dot11b::app::load_configuration_file(path);
    } catch (const dot11b::IoError&) {
    }
    return 0;
}
