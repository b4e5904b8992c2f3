#include <gtest/gtest.h>
#include <dlfcn.h>

#include <string>
#include <vector>

#include "common/ascii_case.hpp"
#include "frame/kestrel.hpp"
#include "frame/registry.hpp"

namespace dot11b::frame {
namespace {

class Exports : public ::testing::Test {
protected:
    void SetUp() override { KestrelInitialize(); }
    void TearDown() override { KestrelTerminate(); }
};

std::string exported_name(const char* prefix, std::string_view name) {
    std::string result = prefix;
    result += to_upper_ascii(name.front());
    result += name.substr(1);
    return result;
}

TEST(ExportTable, EveryOperationHasItsEntriesInTheSharedLibrary) {
    for (const Operation& op : operation_table()) {
        std::vector<std::string> names = {exported_name("mlf", op.name), exported_name("mlx", op.name)};
        if (op.inputs.variable || op.outputs.variable) {
            names.push_back(exported_name("mlfN", op.name));
            names.push_back(exported_name("mlfV", op.name));
        }
        for (const auto& name : names) EXPECT_NE(dlsym(RTLD_DEFAULT, name.c_str()), nullptr) << name;
    }
    EXPECT_NE(dlsym(RTLD_DEFAULT, "KestrelInitialize"), nullptr);
    EXPECT_NE(dlsym(RTLD_DEFAULT, "KestrelTerminate"), nullptr);
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "mlfNDot11b_SIGNAL"), nullptr);  // fixed counts: no N/V entries
}

TEST_F(Exports, CallByCountThroughALookedUpEntry) {
    using Mlx = void (*)(int, Value[], int, const Value[]);
    const auto signal = reinterpret_cast<Mlx>(dlsym(RTLD_DEFAULT, "mlxDot11b_SIGNAL"));
    ASSERT_NE(signal, nullptr);
    Value out[1];
    const Value in[1] = {Value::scalar(11)};
    signal(1, out, 1, in);
    EXPECT_EQ(out[0], Value::row({0, 1, 1, 1, 0, 1, 1, 0}));

    const Value two[2] = {Value::scalar(11), Value::scalar(1)};
    EXPECT_THROW(signal(1, out, 2, two), RuntimeError);
    EXPECT_THROW(signal(2, out, 1, in), RuntimeError);
}

TEST_F(Exports, DirectCallsFillTheRequestedOutParameters) {
    // 1026 octets at 11 Mbit/s: 747 us with the length-extension bit b7 set.
    const Value bits = Value::scalar(8208);
    const Value rate = Value::scalar(11);
    const Value cck = Value::scalar(0);
    Value b5 = Value::text("untouched");
    Value b7;
    const Value length = mlfDot11b_LENGTH(nullptr, nullptr, &b7, &bits, &rate, &cck);
    EXPECT_EQ(length, Value::row({1, 1, 0, 1, 0, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(b7, Value::scalar(1));
    EXPECT_EQ(mlfDot11b_LENGTH(&b5, nullptr, nullptr, &bits, &rate, &cck), length);
    EXPECT_EQ(b5, Value::scalar(0));

    // A null input ends the list: the rest is absent.
    EXPECT_THROW(mlfDot11b_LENGTH(nullptr, nullptr, nullptr, &bits, nullptr, &cck), RuntimeError);
}

TEST_F(Exports, VariableInputListsEndAtANullEntry) {
    const Value x = Value::scalar(1);
    const Value size = Value::scalar(4);
    const Value order = Value::text("left-msb");
    EXPECT_EQ(mlfBitVector(&x, &size, &order, nullptr), Value::row({0, 0, 0, 1}));
    EXPECT_EQ(mlfNBitVector(1, &x, &size, nullptr), Value::row({1, 0, 0, 0}));
    EXPECT_EQ(mlfBitVector(&x, nullptr), Value::row({1}));
    EXPECT_THROW(mlfBitVector(nullptr), std::runtime_error);  // no inputs at all

    // Variable outputs go to varargout.
    const Value octal = Value::scalar(175);
    Value more[2];
    EXPECT_EQ(mlfNOct2dec(3, more, &octal, nullptr), Value::scalar(125));
    EXPECT_TRUE(more[0].empty());
    EXPECT_THROW(mlfNOct2dec(2, nullptr, &octal, nullptr), RuntimeError);
}

TEST(ExportLifeCycle, EntriesRefuseToRunOutsideTheLibraryLifetime) {
    const Value rate = Value::scalar(1);
    EXPECT_THROW(mlfDot11b_SIGNAL(&rate), RuntimeError);
    KestrelInitialize();
    EXPECT_EQ(mlfDot11b_SIGNAL(&rate), Value::row({0, 1, 0, 1, 0, 0, 0, 0}));
    KestrelTerminate();
    EXPECT_THROW(mlfDot11b_SIGNAL(&rate), RuntimeError);
}

}  // namespace
}  // namespace dot11b::frame
