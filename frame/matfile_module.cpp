#include "frame/matfile_module.hpp"

#include <new>

#include "common/errors.hpp"
#include "frame/matio_handles.hpp"

namespace dot11b::frame {
namespace {

template <typename Call>
MatFileFault guarded(Call&& call) noexcept {
    using Kind = MatFileFault::Kind;
    try {
        call();
        return {};
    } catch (const IoError& e) {
        return {Kind::Io, e.what()};
    } catch (const ConfigError& e) {
        return {Kind::Config, e.what()};
    } catch (const std::bad_alloc&) {
        return {Kind::OutOfMemory, {}};
    } catch (const std::exception& e) {
        return {Kind::Other, e.what()};
    } catch (...) {
        return {Kind::Other, "unknown failure in the MAT-file layer"};
    }
}

MatFileFault write(const std::filesystem::path& target, const std::filesystem::path& temporary,
                   std::span<const MatVariable> variables, MatCompression compression) noexcept {
    return guarded([&] { matio::write_file(target, temporary, variables, compression); });
}

MatFileFault read(const std::filesystem::path& path, std::span<const std::string_view> names,
                  std::vector<MatVariable>& variables) noexcept {
    return guarded([&] { variables = matio::read_file(path, names); });
}

MatFileFault holds_variables(const std::filesystem::path& path, bool& holds) noexcept {
    return guarded([&] { holds = matio::file_holds_variables(path); });
}

}  // namespace
}  // namespace dot11b::frame

extern "C" __attribute__((visibility("default"))) const dot11b::frame::MatFileModule* dot11b_matfile_module() {
    using namespace dot11b::frame;
    static const MatFileModule table = {kMatFileModuleVersion, &write, &read, &holds_variables};
    return &table;
}
