#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "frame/globals.hpp"
#include "library_fixture.hpp"
#include "frame/local_functions.hpp"
#include "frame/registry.hpp"
#include "frame/runtime_error.hpp"

namespace dot11b::frame {
namespace {

std::string error_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

std::vector<Value> scalars(std::size_t n) { return std::vector<Value>(n, Value::scalar(1)); }

using Registry = LibraryTest;

TEST_F(Registry, CountErrorsQuoteTheDeclaration) {
    struct Case {
        const char* name;
        int nargout;
        std::size_t inputs;
        const char* message;
    };
    const Case cases[] = {
        {"dot11b_SIGNAL", 1, 2,
         "Run-time Error: File: dot11b_SIGNAL Line: 1 Column: 1 The function \"dot11b_SIGNAL\" was called with more "
         "than the declared number of inputs (1)."},
        {"dot11b_LENGTH", 5, 3,
         "Run-time Error: File: dot11b_LENGTH Line: 1 Column: 1 The function \"dot11b_LENGTH\" was called with more "
         "than the declared number of outputs (4)."},
        // Outputs are checked before inputs.
        {"dot11b_FRAME", 3, 17,
         "Run-time Error: File: dot11b_FRAME Line: 1 Column: 1 The function \"dot11b_FRAME\" was called with more "
         "than the declared number of outputs (2)."},
        {"ORBDownLoadWrap", 3, 9,
         "Run-time Error: File: ORBDownLoadWrap Line: 1 Column: 1 The function \"ORBDownLoadWrap\" was called with "
         "more than the declared number of outputs (2)."},
        {"Dot11b_b", 1, 0,
         "Run-time Error: File: Dot11b_b Line: 1 Column: 1 The function \"Dot11b_b\" was called with more than the "
         "declared number of outputs (0)."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(error_of([&] { call_by_name(c.name, c.nargout, scalars(c.inputs)); }), c.message);
    }
}

TEST_F(Registry, VariableCountsAreNotLimited) {
    // bitVector takes any number of inputs; its own check answers instead of the frame's.
    EXPECT_EQ(error_of([] { call_by_name("bitVector", 1, scalars(5)); }), "Incorrect number of parameters.");
    // oct2dec has a variable output count too.
    EXPECT_EQ(call_by_name("oct2dec", 3, {Value::scalar(133)}).size(), 3U);
}

TEST_F(Registry, NamesAreCaseSensitive) {
    EXPECT_NE(find_operation("dot11b_SIGNAL"), nullptr);
    EXPECT_EQ(find_operation("DOT11B_SIGNAL"), nullptr);
    EXPECT_EQ(error_of([] { call_by_name("noSuchOperation", 1, {}); }), "Undefined function \"noSuchOperation\".");
}

TEST_F(Registry, UnbuiltOperationsSaySo) {
    // The rows not built in this configuration: PLANNED ones, and GUI_OP ones without the desktop application.
    const auto table = operation_table();
    const auto unbuilt = std::find_if(table.begin(), table.end(), [](const Operation& op) { return op.body == nullptr; });
    if (unbuilt == table.end()) GTEST_SKIP() << "every operation is built in this configuration";
    const std::string name(unbuilt->name);
    EXPECT_EQ(error_of([&] { call_by_name(name, 0, {}); }), "The function \"" + name + "\" is not available in this build.");
}

TEST_F(Registry, EveryTableRowIsRegisteredWithItsCounts) {
    for (const Operation& op : operation_table()) {
        const Operation* found = find_operation(op.name);
        ASSERT_NE(found, nullptr) << op.name;
        EXPECT_EQ(found, &op);
    }
    const Operation* frame = find_operation("dot11b_FRAME");
    EXPECT_EQ(frame->inputs.named, 16);
    EXPECT_FALSE(frame->inputs.variable);
    const Operation* download = find_operation("ORBDownLoadWrap");
    EXPECT_EQ(download->inputs.named, 5);
    EXPECT_TRUE(download->inputs.variable);
}

TEST_F(Registry, MissingInputsAreReportedByName) {
    EXPECT_EQ(error_of([] { call_by_name("dot11b_HEADER", 1, scalars(3)); }),
              "dot11b_HEADER: input argument \"locked\" (number 4) was not passed.");
}

TEST_F(Registry, InputsAreCopies) {
    std::vector<Value> inputs = {Value::row({1, 0, 1, 1}), Value::complex_scalar(1)};
    const std::vector<Value> before = inputs;
    call_by_name("dot11b_DBPSK", 1, inputs);
    EXPECT_EQ(inputs, before);
}

// A script with sub-functions, as the window scripts have.
Outputs returns_nothing(const Inputs&, int) { return {}; }
Outputs echo_first(const Inputs& in, int) { return {in.at(0, "value")}; }
Outputs fails(const Inputs&, int) { throw ConfigError("Calculate failed on purpose"); }
Outputs calls_sibling_by_name(const Inputs& in, int) { return call_by_name("echo", 1, {in.at(0, "value")}); }

const LocalFunction kFunctions[] = {
    {"InitializeFigures", 1, 1, 45, &returns_nothing},
    {"Calculate", 1, 0, 846, &fails},
    {"echo", 1, 1, 900, &echo_first},
    {"viaName", 1, 1, 910, &calls_sibling_by_name},
};
const LocalTable kScript{"dot11b_GUI_b", kFunctions};

TEST_F(Registry, LocalFunctionsAreNamedByScriptAndLine) {
    EXPECT_EQ(error_of([] { call_local(kScript, "Calculate", 1, scalars(1)); }),
              "Run-time Error: File: dot11b_GUI_b/Calculate Line: 846 Column: 1 The function "
              "\"dot11b_GUI_b/Calculate\" was called with more than the declared number of outputs (0).");
    EXPECT_EQ(error_of([] { call_local(kScript, "InitializeFigures", 1, scalars(2)); }),
              "Run-time Error: File: dot11b_GUI_b/InitializeFigures Line: 45 Column: 1 The function "
              "\"dot11b_GUI_b/InitializeFigures\" was called with more than the declared number of inputs (1).");
    EXPECT_EQ(error_of([] { call_local(kScript, "nothing", 0, {}); }), "Undefined function \"dot11b_GUI_b/nothing\".");
}

TEST_F(Registry, UnassignedOutputsWarnAndReadAsEmpty) {
    const Outputs outputs = call_local(kScript, "InitializeFigures", 1, scalars(1));
    ASSERT_EQ(outputs.size(), 1U);
    EXPECT_TRUE(outputs[0].empty());
    ASSERT_EQ(console_.size(), 1U);
    EXPECT_EQ(console_[0],
              "Warning: Output argument 1 of \"dot11b_GUI_b/InitializeFigures\" was not assigned; it is returned empty.");
}

TEST_F(Registry, SubFunctionsReachSiblingsByNameOnlyWhileTheirScriptRuns) {
    EXPECT_EQ(call_local(kScript, "viaName", 1, {Value::scalar(5)})[0], Value::scalar(5));
    EXPECT_EQ(current_local_table(), nullptr);
    EXPECT_EQ(error_of([] { call_by_name("echo", 1, scalars(1)); }), "Undefined function \"echo\".");
}

TEST_F(Registry, DispatchersPrintErrorsInsteadOfRaisingThem) {
    const Inputs in("dot11b_GUI_b", {Value::text("Calculate"), Value::scalar(1)});
    EXPECT_NO_THROW(dispatch(kScript, in, 0));
    ASSERT_EQ(console_.size(), 1U);
    EXPECT_EQ(console_[0], "Calculate failed on purpose");

    const Inputs echo("dot11b_GUI_b", {Value::text("echo"), Value::scalar(3)});
    EXPECT_EQ(dispatch(kScript, echo, 1)[0], Value::scalar(3));
}

TEST_F(Registry, AnErrorWatchSeesTheErrorADispatcherPrintedAndPassesEveryMessageOn) {
    std::vector<std::pair<ConsoleKind, std::string>> watched;
    const ConsoleWatcher previous = set_console_watcher(
        [&watched](ConsoleKind kind, std::string_view message) { watched.emplace_back(kind, message); });
    {
        ErrorWatch watch;
        print_note("Idle interval: 1e400 is not a number; kept 100 µs");
        EXPECT_FALSE(watch.last_error());
        dispatch(kScript, Inputs("dot11b_GUI_b", {Value::text("Calculate"), Value::scalar(1)}), 0);
        print_warning("after the error");
        EXPECT_EQ(watch.last_error(), "Calculate failed on purpose");
    }
    print_error("outside the watch");
    set_console_watcher(previous);

    const std::vector<std::pair<ConsoleKind, std::string>> expected = {
        {ConsoleKind::Note, "Idle interval: 1e400 is not a number; kept 100 µs"},
        {ConsoleKind::Error, "Calculate failed on purpose"},
        {ConsoleKind::Warning, "after the error"},
        {ConsoleKind::Error, "outside the watch"},
    };
    EXPECT_EQ(watched, expected);
    EXPECT_EQ(console_.back(), "outside the watch");
    EXPECT_EQ(console_.at(2), "Warning: after the error");
}

TEST(LifeCycle, NothingRunsOutsideInitialiseAndTerminate) {
    ASSERT_FALSE(is_ready());
    // Not yet initialised in a fresh process, or terminated by an earlier test.
    EXPECT_NE(error_of([] { call_by_name("dot11b_SIGNAL", 1, {Value::scalar(11)}); }).find("call KestrelInitialize"),
              std::string::npos);
    EXPECT_THROW(global(Global::waveform), RuntimeError);
    EXPECT_THROW(terminate(), RuntimeError);

    initialize();
    EXPECT_THROW(initialize(), RuntimeError);
    for (const auto name : kGlobalNames) EXPECT_TRUE(global(name).empty()) << name;
    global(Global::waveform) = Value::row({1, 2});
    EXPECT_EQ(global("waveform"), Value::row({1, 2}));
    EXPECT_THROW(global("nonsense"), RuntimeError);
    terminate();

    EXPECT_EQ(error_of([] { call_by_name("dot11b_SIGNAL", 1, {Value::scalar(11)}); }),
              "dot11b_SIGNAL: the library has been terminated; call KestrelInitialize before using it again.");
    // A new start begins with empty records.
    initialize();
    EXPECT_TRUE(global(Global::waveform).empty());
    terminate();
}

TEST(LifeCycle, ModulesStartInOrderAndStopInReverse) {
    // Modules stay registered for the process, so the log outlives this test.
    auto events = std::make_shared<std::vector<std::string>>();
    add_module({"first", [events] { events->push_back("init first"); }, [events] { events->push_back("term first"); }});
    add_module({"second", [events] { events->push_back("init second"); },
                [events] { events->push_back("term second"); }});
    initialize();
    terminate();
    EXPECT_EQ(*events, (std::vector<std::string>{"init first", "init second", "term second", "term first"}));
}

}  // namespace
}  // namespace dot11b::frame
