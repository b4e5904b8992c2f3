#include "app/gui/user_data_dialog.hpp"

#include <filesystem>
#include <string>

#include <QApplication>

#include "app/gui/global_records.hpp"
#include "app/user_data_file.hpp"
#include "common/errors.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/console.hpp"
#include "frame/convert.hpp"

namespace dot11b::gui {
namespace {

// An empty file, or one longer than the limit, is taken without a question;
// the console and the status line say what was taken.
void warn_if_not_all_used(const std::filesystem::path& file, std::size_t bits) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file, error);
    const std::string name = file.filename().string();
    if (error) return;
    if (bytes == 0) {
        frame::print_warning("User data file " + name + " is empty; the payload has no data bytes");
    } else if (bits < 8 * bytes) {
        frame::print_warning("User data file " + name + " holds " + std::to_string(bytes) + " bytes; only the first " +
                             (bits % 8 == 0 ? std::to_string(bits / 8) + " bytes" : std::to_string(bits) + " bits") +
                             " are used");
    }
}

}  // namespace

frame::Outputs load_user_data_file(const frame::Inputs& in, int) {
    const std::size_t max_bits = in.has(0) ? frame::to_count(in, 0, "maxLengthInBits") : 0;
    const std::string order = in.has(1) ? frame::to_text(in, 1, "bitorder") : "right-msb";
    const frame::Outputs nothing = {frame::Value(), frame::Value::scalar(-1)};

    QWidget* parent = QApplication::activeWindow();
    const auto chosen = dialogs().open_file(parent, {"Select data source file.", "*.*", parameters().last_path});
    if (!chosen) return nothing;
    Bits bits;
    try {
        bits = app::read_user_data_file(*chosen, max_bits, app::user_bit_order(order));
    } catch (const IoError&) {
        dialogs().error(parent, "File Error", "Could not open\n" + chosen->string());
        return nothing;
    }
    warn_if_not_all_used(*chosen, bits.size());
    app::FormatParameters p = parameters();
    p.last_path = chosen->parent_path().string();
    p.data_source_name = chosen->string();
    store(p);
    return {frame::bits_value(bits), frame::Value::scalar(1)};
}

}  // namespace dot11b::gui
