// The MAC header window, opened from the main window's Setup button and
// answered through the dialog script as a user would.

#include <QDialog>

#include "app/gui/tests/studio_fixture.hpp"
#include "mac/mac_header.hpp"

namespace dot11b::gui::test {
namespace {

void type(QDialog& window, const char* tag, const char* text) {
    type_into(window.findChild<QLineEdit*>(tag), text);
}

TEST_F(Studio, MacHeaderWindowEditsTheHeaderAndOkStoresIt) {
    click("chkMACheader");
    std::map<std::string, QString> shown;
    bool address4_field_enabled = true;
    dialogs_->answer_window([&](QDialog& window) {
        for (const char* tag : {"txtFrameCntrl", "txtAddress1"}) shown[tag] = window.findChild<QLineEdit*>(tag)->text();
        type(window, "txtFrameCntrl", "FFFFF");  // above the field width: all ones
        shown["txtFrameCntrl typed"] = window.findChild<QLineEdit*>("txtFrameCntrl")->text();
        type(window, "txtDurationID", "xyz");  // not hexadecimal: the field keeps its value
        shown["txtDurationID typed"] = window.findChild<QLineEdit*>("txtDurationID")->text();
        shown["status"] = status_message(&window);
        shown["status kind"] = status_kind(&window);
        type(window, "txtAddress1", "0801");
        window.findChild<QAbstractButton*>("chkAddress4")->click();
        address4_field_enabled = window.findChild<QLineEdit*>("txtAddress4")->isEnabled();
        window.findChild<QAbstractButton*>("pbOK")->click();
    });
    click("pbMACheaderSetup");

    ASSERT_EQ(dialogs_->shown().size(), 1u);
    EXPECT_EQ(dialogs_->shown()[0].title, "MAC Header Configuration");
    EXPECT_EQ(shown["txtFrameCntrl"], "0000");
    EXPECT_EQ(shown["txtAddress1"], "000000000000");
    EXPECT_EQ(shown["txtFrameCntrl typed"], "FFFF");
    EXPECT_EQ(shown["txtDurationID typed"], "0000");
    EXPECT_FALSE(address4_field_enabled);

    const app::FormatParameters p = parameters();
    EXPECT_EQ(p.mac_header.contents[mac::MacField::FrameCntrl].contents, 65535u);
    EXPECT_EQ(p.mac_header.contents[mac::MacField::Address1].contents, 0x0801u);
    EXPECT_FALSE(p.mac_header.contents[mac::MacField::Address4].active);
    EXPECT_EQ(p.mac_header.length, 24u);
    EXPECT_EQ(text("txtTotalLength"), "1048");
    // Address1 follows FrameCntrl and DurationID (32 bits); its value 0801 sends the octet 01 first.
    const Bits bits = p.mac_header.contents.bit_stream();
    ASSERT_EQ(bits.size(), 192u);
    EXPECT_EQ(Bits(bits.begin() + 32, bits.begin() + 48), (Bits{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
    // The refusal is printed, and shown in the MAC header window's own status bar.
    ASSERT_FALSE(console_.empty());
    EXPECT_EQ(shown["status"].toStdString(), console_.back());
    EXPECT_NE(console_.back().find("\"xyz\" is not a hexadecimal number"), std::string::npos) << console_.back();
    EXPECT_EQ(shown["status kind"], "error");
    EXPECT_EQ(status_message(main_), "");
}

TEST_F(Studio, MacHeaderWindowCancelAndCloseBoxChangeNothing) {
    click("chkMACheader");
    const app::FormatParameters before = parameters();
    dialogs_->answer_window([](QDialog& window) {
        type(window, "txtFrameCntrl", "1234");
        window.findChild<QAbstractButton*>("pbCancel")->click();
    });
    click("pbMACheaderSetup");
    EXPECT_EQ(parameters(), before);

    dialogs_->answer_window([](QDialog& window) {
        type(window, "txtSeqCntrl", "1234");
        window.close();
    });
    click("pbMACheaderSetup");
    EXPECT_EQ(parameters(), before);
}

}  // namespace
}  // namespace dot11b::gui::test
