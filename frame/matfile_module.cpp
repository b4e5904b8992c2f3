#include "frame/matfile_module.hpp"

#include "frame/matio_handles.hpp"

extern "C" __attribute__((visibility("default"))) const dot11b::frame::MatFileModule* dot11b_matfile_module() {
    using namespace dot11b::frame;
    static const MatFileModule table = {kMatFileModuleVersion, &matio::write_file, &matio::read_file,
                                        &matio::file_holds_variables};
    return &table;
}
