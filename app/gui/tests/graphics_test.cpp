// Control properties by name on the main window's handles, for each kind of
// control: what is set is what is read back, and what the widget shows.

#include <QMenu>

#include "app/gui/tests/studio_fixture.hpp"
#include "common/gui/testing/displayed_text.hpp"
#include "common/errors.hpp"

namespace dot11b::gui::test {
namespace {

using frame::Value;

TEST_F(Studio, PropertiesByNameReachEveryKindOfControl) {
    const Value handles = guidata(main_);
    struct Case {
        const char* tag;
        const char* property;
        Value value;
    };
    const Case cases[] = {
        {"pdDataRate", "Value", Value::scalar(2)},           {"pdDataRate", "Enable", on_off(false)},
        {"txtRampTime", "String", Value::text("12")},        {"txtRampTime", "TooltipString", Value::text("tip\nline 2")},
        {"chkMACfcs", "Value", Value::scalar(1)},            {"tbGenerationMode", "String", Value::text("Unframed")},
        {"lblFilterTaps", "Visible", on_off(false)},         {"menuFileSave", "Enable", on_off(false)},
        {"menuPlotWaterfall", "Visible", on_off(true)},      {"menuSpecial", "Visible", on_off(true)},
        {"menuHelpAbout", "Checked", on_off(true)},          {"menuHelp", "Label", Value::text("&Info")},
        {"figMain", "Name", Value::text("A title")},         {"main", "Pointer", Value::text("watch")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + "." + c.property);
        const double handle = tag_handle(handles, c.tag);
        set(handle, c.property, c.value);
        EXPECT_EQ(get(handle, c.property), c.value);
    }
    EXPECT_EQ(text("pdDataRate"), "2 Mbps");
    // A caption with an "&" shows it as written and reads back the same.
    set(tag_handle(handles, "tbGenerationMode"), "String", Value::text("Save & Go"));
    EXPECT_EQ(displayed_text(control("tbGenerationMode")), "Save & Go");
    EXPECT_EQ(get_text(tag_handle(handles, "tbGenerationMode"), "String"), "Save & Go");
    EXPECT_EQ(main_->windowTitle(), "A title");
    EXPECT_EQ(main_->cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(main_->findChild<QMenu*>("menuSpecial")->menuAction()->isVisible());

    const Value choices = get(tag_handle(handles, "pdPreambleFormat"), "String");
    ASSERT_EQ(choices.numel(), 2u);
    EXPECT_EQ(choices.cell_at(1).text(), "Short");
    EXPECT_EQ(get_text(tag_handle(handles, "txtDataLength"), "Tag"), "txtDataLength");

    EXPECT_THROW(set(tag_handle(handles, "pdDataRate"), "Value", Value::scalar(5)), ConfigError);
    EXPECT_THROW(get(tag_handle(handles, "txtRampTime"), "Checked"), ConfigError);
    EXPECT_THROW(get(-1, "Value"), ConfigError);
}

}  // namespace
}  // namespace dot11b::gui::test
