// The application shell through the main window's menus and buttons: the
// parameter file, its refusals, the readiness questions, the user data file,
// shut-down and the configuration file, and a callback driven through the
// library's exported entries.

#include <fstream>

#include <QPlainTextEdit>

#include "app/configuration_file.hpp"
#include "app/gui/tests/studio_fixture.hpp"
#include "app/parameter_file.hpp"
#include "app/record_values.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"
#include "frame/kestrel.hpp"
#include "frame/matfile.hpp"

namespace dot11b::gui::test {
namespace {

using frame::Value;

// Every property the window shows, by control, for comparing two states of the window.
std::map<std::string, QString> window_state(QWidget* main) {
    std::map<std::string, QString> state;
    for (QWidget* w : main->findChildren<QWidget*>()) {
        const std::string tag = w->objectName().toStdString();
        if (tag.empty() || tag.starts_with("qt_")) continue;
        QString shown = QString("enabled=%1 hidden=%2").arg(w->isEnabled()).arg(w->isHidden());
        if (auto* edit = qobject_cast<QLineEdit*>(w)) shown += " text=" + edit->text();
        if (auto* label = qobject_cast<QLabel*>(w)) shown += " text=" + label->text();
        if (auto* combo = qobject_cast<QComboBox*>(w)) shown += " choice=" + combo->currentText();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) shown += " checked=" + QString::number(button->isChecked()) + " " + button->text();
        state[tag] = shown;
    }
    return state;
}

TEST_F(Studio, SavedParameterFileReopensWithEveryControlRestored) {
    choose("pdDataRate", 3);
    choose("pdModulation", 2);
    click("chkClkLocked");
    choose("pdScrambler", 3);
    choose("pdPowerRamp", 3);
    enter("txtRampTime", "3.5");
    choose("pdOversampleRate", 3);
    choose("pdFilterType", 3);
    click("chkMACheader");
    choose("pdDATAsourceType", 5);
    enter("txtDataLength", "100");
    choose("pdChannels", 11);
    enter("txtAmplitude", "-12");
    const auto edited = window_state(main_);
    const app::FormatParameters parameters_before = parameters();

    dialogs_->answer_file(folder_ / "set1");
    menu("menuFileSaveAs");
    const std::string file = (folder_ / "set1.mat").string();
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(main_->windowTitle().toStdString(), "Corvane Wave Forge - IEEE 802.11b-1999 (DSSS) : " + file);

    menu("menuFileNew");
    EXPECT_EQ(main_->windowTitle(), "Corvane Wave Forge - IEEE 802.11b-1999 (DSSS)");
    EXPECT_EQ(text("txtNumberOfSamples"), "40068 Samples");
    EXPECT_NE(window_state(main_), edited);

    dialogs_->answer_file(file);
    menu("menuFileOpen");
    EXPECT_EQ(window_state(main_), edited);
    EXPECT_EQ(parameters(), parameters_before);
    EXPECT_EQ(configuration().last_parameter_filename, file);

    // Save writes to the file already named, without asking.
    enter("txtDataLength", "200");
    menu("menuFileSave");
    EXPECT_EQ(app::load_parameter_file(file).parameters.data_length, 200u);
    EXPECT_TRUE(dialogs_->all_answers_used());
}

TEST_F(Studio, ParameterFilesThatDoNotFitAreRefusedWithTheirReason) {
    const auto write = [&](const char* name, std::vector<frame::MatVariable> variables) {
        const std::string path = (folder_ / name).string();
        frame::write_mat_file(path, variables);
        return path;
    };
    Value no_tag = app::to_value(app::FormatParameters{});
    Value untagged = Value::structure({});
    for (const auto& field : no_tag.field_names()) {
        if (field != "ParameterFileFormat_ID") untagged.set_field(field, no_tag.field(field));
    }
    Value other_tag = no_tag;
    other_tag.set_field("ParameterFileFormat_ID", Value::text("dot11b - Format 1.1"));
    const std::string text_file = (folder_ / "notes.mat").string();
    std::ofstream(text_file) << "not a MAT-file";

    struct Case {
        std::string file;
        std::string reason;  // the end of the dialog text
    };
    const Case cases[] = {
        {write("other.mat", {{"somethingElse", Value::scalar(1)}}), "\nhas an Invalid File Format."},
        {write("untagged.mat", {{"fileParameters", untagged}}), "\nhas an Invalid File Structure."},
        {write("tagged.mat", {{"fileParameters", other_tag}}), "\nhas an Invalid File Parameter ID."},
        {text_file, ""},
    };
    choose("pdDataRate", 1);
    const app::FormatParameters before = parameters();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        dialogs_->answer_file(c.file);
        menu("menuFileOpen");
        const ShownDialog& shown = dialogs_->shown().back();
        EXPECT_EQ(shown.kind, "error");
        EXPECT_EQ(shown.title, "Error Loading File");
        if (!c.reason.empty()) {
            EXPECT_EQ(shown.text, c.file + c.reason);
        }
        EXPECT_EQ(parameters(), before);
        EXPECT_EQ(configuration().last_parameter_filename, "");
    }
}

TEST_F(Studio, WaveformUseAsksWhetherToCalculateFirst) {
    const std::string wfm = (folder_ / "wave.wfm").string();
    const auto export_answering = [&](std::optional<std::string> answer) {
        dialogs_->answer_file(folder_ / "wave");
        if (answer) {
            dialogs_->answer_question(*answer);
        } else {
            dialogs_->close_next();
        }
        std::filesystem::remove(wfm);
        menu("menuFileExportData");
    };
    const auto waveform_length = [] { return frame::global(frame::Global::waveform).numel(); };

    export_answering("Cancel");
    const ShownDialog& first = dialogs_->shown().at(1);
    EXPECT_EQ(first.title, "Waveform Not Calculated");
    EXPECT_EQ(first.text,
              "The waveform has not yet been calculated. Do you wish to calculate\nthe waveform and then export ?");
    EXPECT_EQ(first.buttons, (std::vector<std::string>{"Calculate & Export", "Cancel"}));
    EXPECT_EQ(first.default_button, "Calculate & Export");
    EXPECT_FALSE(std::filesystem::exists(wfm));
    EXPECT_EQ(waveform_length(), 0u);

    export_answering(std::nullopt);  // closing the question calculates and exports
    EXPECT_EQ(waveform_length(), 40068u);
    EXPECT_EQ(std::filesystem::file_size(wfm), 4u * 40068u);

    choose("pdOversampleRate", 1);  // 22 MHz: 40068 * 2 / 3.5 samples
    export_answering("Yes");
    const ShownDialog& changed = dialogs_->shown().back();
    EXPECT_EQ(changed.title, "Waveform Not Recalculated");
    EXPECT_EQ(changed.text,
              "Settings have changed since last calculating the waveform.\nExport will use the last calculated "
              "waveform.\nDo you wish to export anyway ?");
    EXPECT_EQ(changed.buttons, (std::vector<std::string>{"Yes", "Recalc & Export", "Cancel"}));
    EXPECT_EQ(changed.default_button, "Recalc & Export");
    EXPECT_EQ(waveform_length(), 40068u);
    EXPECT_TRUE(std::filesystem::exists(wfm));

    export_answering("Recalc & Export");
    EXPECT_EQ(waveform_length(), 22896u);
    EXPECT_EQ(std::filesystem::file_size(wfm), 4u * 22896u);

    const std::size_t asked = dialogs_->shown().size();
    dialogs_->answer_file(folder_ / "wave");
    menu("menuFileExportData");  // calculated from these settings: nothing to ask
    EXPECT_EQ(dialogs_->shown().size(), asked + 1);
    EXPECT_TRUE(dialogs_->all_answers_used());
}

// A failed calculation says why, in a dialog and the status bar, and leaves no
// waveform behind: what would use one asks to calculate first.
TEST_F(Studio, FailedCalculateShowsTheErrorAndLeavesNoStaleWaveformToUse) {
    const auto waveform_length = [] { return frame::global(frame::Global::waveform).numel(); };
    click("pbCalculate");
    ASSERT_EQ(waveform_length(), 40068u);
    click("tbGenerationMode");  // unframed, and no data to send
    enter("txtDataLength", "0");
    const std::size_t printed = console_.size();
    click("pbCalculate");

    ASSERT_EQ(console_.size(), printed + 1);
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    const ShownDialog error = dialogs_->shown()[0];
    EXPECT_EQ(error.kind, "error");
    EXPECT_EQ(error.title, "Error Calculating Waveform");
    EXPECT_EQ(error.text, console_.back());
    EXPECT_EQ(status_message(main_).toStdString(), error.text);
    EXPECT_EQ(status_kind(main_), "error");
    EXPECT_EQ(waveform_length(), 0u);

    dialogs_->answer_question("Cancel");
    menu("menuPlotSpectrum");
    EXPECT_EQ(dialogs_->shown().back().title, "Waveform Not Calculated");
    EXPECT_EQ(dialogs_->shown().back().buttons.at(0), "Calculate & Plot");
    // Calculating first fails the same way: the error again, and no plot.
    dialogs_->answer_question("Calculate & Plot");
    menu("menuPlotSpectrum");
    EXPECT_EQ(dialogs_->shown().back().title, "Error Calculating Waveform");
    EXPECT_TRUE(app_info().field("ClientWindows").empty());

    enter("txtDataLength", "10");
    click("pbCalculate");
    EXPECT_GT(waveform_length(), 0u);
    EXPECT_EQ(status_message(main_), "");
    EXPECT_TRUE(dialogs_->all_answers_used());
}

TEST_F(Studio, FailedSaveAsLeavesTheCurrentFileUnchanged) {
    dialogs_->answer_file(folder_ / "set1");
    menu("menuFileSaveAs");
    const std::string current = (folder_ / "set1.mat").string();
    ASSERT_EQ(configuration().last_parameter_filename, current);
    const QString title = main_->windowTitle();

    const std::filesystem::path unwritable = folder_ / "no such folder" / "set2";
    dialogs_->answer_file(unwritable);
    menu("menuFileSaveAs");
    EXPECT_EQ(dialogs_->shown().back().kind, "error");
    EXPECT_EQ(dialogs_->shown().back().title, "Error Saving " + unwritable.string() + ".mat");
    EXPECT_EQ(configuration().last_parameter_filename, current);
    EXPECT_EQ(main_->windowTitle(), title);

    // File > Save still writes the current file, without asking for a name.
    std::filesystem::remove(current);
    const std::size_t asked = dialogs_->shown().size();
    menu("menuFileSave");
    EXPECT_EQ(dialogs_->shown().size(), asked);
    EXPECT_TRUE(std::filesystem::exists(current));
}

// Called through the library while the desktop application runs, a long
// RS-232 download asks its question through the application's dialogs.
TEST_F(Studio, LongRs232DownloadThroughTheLibraryAsksTheUser) {
    app::ConnectionConfig rs232;
    rs232.type = "rs232";
    rs232.rs232.baudrate = 9600;
    dialogs_->answer_question("Cancel");
    const frame::Outputs result =
        frame::call_by_name("ORBDownLoadWrap", 2,
                            {frame::samples_value(Samples(48000)), Value(), Value::text("WAVE"), app::to_value(rs232)});
    EXPECT_EQ(result.at(0), Value::scalar(-1));
    EXPECT_EQ(result.at(1), Value::text("Download cancelled"));
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    const ShownDialog& question = dialogs_->shown()[0];
    EXPECT_EQ(question.title, "RS-232 Download");
    // 32 bits per sample and one eighth more, 48000 samples at 9600 baud.
    EXPECT_EQ(question.text, "This download will take approximately 3.0 minutes. Do you want to continue?");
    EXPECT_EQ(question.buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(question.default_button, "Cancel");
}

TEST_F(Studio, UserDataFileBecomesThePayloadOrChangesNothing) {
    const std::string file = (folder_ / "payload.bin").string();
    std::ofstream(file, std::ios::binary) << "abc";

    dialogs_->close_next();
    choose("pdDATAsourceType", 7);
    EXPECT_EQ(parameters().data_source, mac::PayloadSource::Zeros);
    EXPECT_EQ(text("pdDATAsourceType"), "All zeros");

    dialogs_->answer_file(folder_ / "missing.bin");
    choose("pdDATAsourceType", 7);
    EXPECT_EQ(dialogs_->shown().back().title, "File Error");
    EXPECT_EQ(dialogs_->shown().back().text, "Could not open\n" + (folder_ / "missing.bin").string());
    EXPECT_EQ(parameters().data_source, mac::PayloadSource::Zeros);

    dialogs_->answer_file(file);
    choose("pdDATAsourceType", 7);
    const app::FormatParameters p = parameters();
    EXPECT_EQ(p.data_source, mac::PayloadSource::UserData);
    EXPECT_EQ(p.data_length, 3u);
    // "a" = 0x61, least significant bit first.
    EXPECT_EQ(Bits(p.data_source_bits.begin(), p.data_source_bits.begin() + 8), (Bits{1, 0, 0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(p.last_path, folder_.path().string());
    EXPECT_EQ(text("txtDataLength"), "3");
    EXPECT_FALSE(enabled("txtDataLength"));
    ASSERT_GE(dialogs_->shown().size(), 3u);
    EXPECT_EQ(dialogs_->shown()[0].title, "Select data source file.");
    EXPECT_TRUE(visible("txtDataSourceName"));
    EXPECT_EQ(text("txtDataSourceName"), "payload.bin");
    EXPECT_EQ(control("txtDataSourceName")->toolTip().toStdString(), file);

    // A file longer than a frame's data is cut, and the status bar says so.
    const std::string big = (folder_ / "big.bin").string();
    std::ofstream(big, std::ios::binary) << std::string(3000, 'x');
    dialogs_->answer_file(big);
    choose("pdDATAsourceType", 7);
    EXPECT_EQ(parameters().data_length, 2312u);
    const std::string cut = "User data file big.bin holds 3000 bytes; only the first 2312 bytes are used";
    EXPECT_EQ(console_.back(), "Warning: " + cut);
    EXPECT_EQ(status_message(main_).toStdString(), cut);
    EXPECT_EQ(status_kind(main_), "warning");

    choose("pdDATAsourceType", 5);
    EXPECT_FALSE(visible("txtDataSourceName"));
}

TEST_F(Studio, ExitClosesThePlotWindowsAndTheNextStartReadsTheConfigurationBack) {
    app::ConnectionConfig config = configuration();
    config.type = "TCPIP";
    config.tcpip.address = "192.168.7.9";
    config.last_parameter_filename = "/tmp/set1.mat";
    store(config);
    auto* plot = new QWidget;
    plot->show();
    const QPointer<QWidget> plot_alive(plot);
    app_info().set_field("ClientWindows", Value::row({handle_of(plot), 12345}));

    const QPointer<QWidget> main_alive(main_);
    main_->close();  // the close box behaves as File > Exit
    settle();
    EXPECT_FALSE(plot_alive);
    EXPECT_FALSE(main_alive);
    const app::ConnectionConfig saved = app::load_configuration_file(folder_ / "rfIOConfig.mat");
    EXPECT_EQ(saved.tcpip.address, "192.168.7.9");
    EXPECT_EQ(saved.last_parameter_filename, "");

    start();
    EXPECT_EQ(configuration().type, "TCPIP");
    EXPECT_EQ(configuration().tcpip.address, "192.168.7.9");
    EXPECT_EQ(configuration().last_parameter_filename, "");
    EXPECT_EQ(main_->windowTitle(), "Corvane Wave Forge - IEEE 802.11b-1999 (DSSS)");
}

TEST_F(Studio, PlotCommandsCheckTheWaveformThenKeepTheirWindow) {
    const Value handles = guidata(main_);
    const auto plot_ccdf = [&] {
        frame::call_by_name("rfCommonUI", 0,
                            {Value::text("menuPlotCCDF_Callback"), handles.field("menuPlotCCDF"), Value(), handles});
    };
    dialogs_->answer_question("Cancel");
    plot_ccdf();
    EXPECT_EQ(dialogs_->shown().back().text,
              "The waveform has not yet been calculated. Do you wish to calculate\nthe waveform and then plot ?");
    EXPECT_TRUE(frame::global(frame::Global::waveform).empty());

    dialogs_->close_next();  // closing the question calculates, then plots
    plot_ccdf();
    EXPECT_EQ(frame::global(frame::Global::waveform).numel(), 40068u);
    const Value& windows = app_info().field("ClientWindows");
    if (frame::operation(frame::OpId::XR_PlotCCDF).body != nullptr) {
        ASSERT_EQ(windows.numel(), 1u);
        EXPECT_NE(widget_of(windows.reals()[0]), nullptr);
    } else {
        EXPECT_TRUE(windows.empty());
        EXPECT_EQ(console_.back(), "The function \"XR_PlotCCDF\" is not available in this build.");
    }
}

// The window takes the eye's symbol as dot11b-plot does: at oversampling 3.5
// seven samples over two chips, and a delay of a whole symbol is its last sample.
TEST_F(Studio, EyeDiagramAcceptsEveryDelayOfItsPrompt) {
    if (frame::operation(frame::OpId::XR_PlotEyeDiagram).body == nullptr) GTEST_SKIP() << "no plot windows in this build";
    const Value handles = guidata(main_);
    dialogs_->close_next();  // closing the readiness question calculates first
    for (const char* delay : {"0", "0.5", "1"}) {
        dialogs_->answer_input({delay});
        frame::call_by_name("rfCommonUI", 0,
                            {Value::text("menuPlotEyeDiagram_Callback"), handles.field("menuPlotEyeDiagram"), Value(), handles});
        for (const auto& dialog : dialogs_->shown()) EXPECT_NE(dialog.kind, "error") << delay << ": " << dialog.text;
    }
    EXPECT_EQ(app_info().field("ClientWindows").numel(), 3u);
}

TEST_F(Studio, AnalyzeOpensTheReportOfTheWaveformAsBuilt) {
    ASSERT_TRUE(item("menuPlotAnalyze")->isVisible());
    ASSERT_TRUE(item("menuPlotAnalyze")->isEnabled());
    click("pbCalculate");
    menu("menuPlotAnalyze");
    // Mirrored, the CCK payload decodes to the zeros sent only when the
    // analyser is told; the header and its CRC read alike either way.
    click("chkMirrorSpectrum");
    click("pbCalculate");
    menu("menuPlotAnalyze");
    const auto windows = app_info().field("ClientWindows").reals();
    ASSERT_EQ(windows.size(), 2u);
    for (const double handle : windows) {
        QWidget* window = widget_of(handle);
        const QString name = window->windowTitle();
        EXPECT_TRUE(name.startsWith("Analysis IEEE 802.11b-1999 (DSSS) (")) << name.toStdString();
        EXPECT_EQ(window->findChild<QLabel*>("verdict")->text(), "PASS");
        const QString report = window->findChild<QPlainTextEdit*>("report")->toPlainText();
        EXPECT_TRUE(report.contains("1024 octets: 00 00 00 00 00 00 00 00")) << report.toStdString();
        delete window;
    }
    EXPECT_TRUE(dialogs_->shown().empty());
}

TEST_F(Studio, HelpAndAboutShowTheirWindows) {
    dialogs_->answer_window([](QDialog& about) { about.findChild<QAbstractButton*>("pbClose")->click(); });
    menu("menuHelpAbout");
    menu("menuHelpHelp");
    ASSERT_EQ(dialogs_->shown().size(), 2u);
    EXPECT_EQ(dialogs_->shown()[0].kind, "window");
    EXPECT_EQ(dialogs_->shown()[1].title, "Option unavailable");
    EXPECT_EQ(dialogs_->shown()[1].text, "HTML help is not available in this version.");
}

TEST_F(Studio, ExportedEntryDrivesACallbackOfTheRealWindow) {
    const Value handles = guidata(main_);
    control<QComboBox>("pdDataRate")->setCurrentIndex(0);
    const Value callback = Value::text("pdDataRate_Callback");
    const Value control_handle = handles.field("pdDataRate");
    const Value event;
    mlfVDot11b_GUI_b(&callback, &control_handle, &event, &handles, nullptr);
    EXPECT_EQ(parameters().rate, phy::DataRate::Mbps1);
    EXPECT_FALSE(enabled("pdPreambleFormat"));
    EXPECT_EQ(text("pdModulation"), "DBPSK");

    // Errors inside a callback are printed, not raised.
    const Value unknown = Value::text("noSuchCallback");
    EXPECT_NO_THROW(mlfVDot11b_GUI_b(&unknown, nullptr));
    EXPECT_EQ(console_.back(), "Undefined function \"dot11b_GUI_b/noSuchCallback\".");
}

}  // namespace
}  // namespace dot11b::gui::test
