#include "app/gui/user_data_dialog.hpp"

#include <QApplication>

#include "app/gui/global_records.hpp"
#include "app/user_data_file.hpp"
#include "common/errors.hpp"
#include "common/gui/dialog_service.hpp"
#include "frame/convert.hpp"

namespace dot11b::gui {

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
    app::FormatParameters p = parameters();
    p.last_path = chosen->parent_path().string();
    store(p);
    return {frame::bits_value(bits), frame::Value::scalar(1)};
}

}  // namespace dot11b::gui
