#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "library_fixture.hpp"
#include "frame/registry.hpp"

namespace dot11b::frame {
namespace {

using Adapters = LibraryTest;

std::string error_of(std::string_view name, std::vector<Value> inputs, int nargout = 1) {
    try {
        call_by_name(name, nargout, std::move(inputs));
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

Value first(std::string_view name, std::vector<Value> inputs) { return call_by_name(name, 1, std::move(inputs))[0]; }

TEST_F(Adapters, SelectorsOutsideTheirSetsRaiseErrorsNamingOperationAndValue) {
    const Value bits = Value::row({1, 0, 1});
    struct Case {
        const char* name;
        std::vector<Value> inputs;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"dot11b_SIGNAL", {Value::scalar(3)}, "dot11b_SIGNAL: DATArate 3 is not one of 1, 2, 5.5, 11, 22, 33 (Mbit/s)"},
        {"dot11b_SIGNAL", {Value::scalar(22)}, "dot11b_SIGNAL: DATArate 22 has no SIGNAL code; allowed are 1, 2, 5.5, 11 (Mbit/s)"},
        {"dot11b_PREAMBLE", {Value::scalar(2)}, "dot11b_PREAMBLE: preambleType 2 is not 0 (long) or 1 (short)"},
        {"dot11b_Scrambler", {Value::scalar(3), Value::scalar(0), bits},
         "dot11b_Scrambler: scrambleActive 3 is not 0 (off), 1 (on) or 2 (preamble only)"},
        {"dot11b_Scrambler", {Value::scalar(1), Value::scalar(-1), bits},
         "dot11b_Scrambler: preambleType -1 is not 0 (long) or 1 (short)"},
        {"dot11b_LENGTH", {Value::scalar(8), Value::scalar(4), Value::scalar(0)},
         "dot11b_LENGTH: DATArate 4 is not one of 1, 2, 5.5, 11, 22, 33 (Mbit/s)"},
        {"dot11b_SERVICE", {Value::scalar(2), Value::scalar(0), Value::scalar(0), Value::scalar(0), Value::scalar(0)},
         "dot11b_SERVICE: input locked must be 0 or 1, got 2"},
        {"CCITT_CRC32", {Value::row({1, 2})}, "CCITT_CRC32: input input must be a vector of bits (0 or 1); element 2 is 2"},
        {"dot11b_HEADER", {Value::scalar(-8), Value::scalar(11), Value::scalar(0), Value::scalar(0)},
         "dot11b_HEADER: input numberOfBITS must be a non-negative integer, got -8"},
        {"scrambler_7bit_741", {bits, Value::row({1, 0})}, "scrambler_7bit_741: input initState must have 7 bits, got 2"},
        {"dot11b_DBPSK", {bits, Value::text("x")}, "dot11b_DBPSK: input initialVector must be a real or complex number"},
    };
    for (const auto& c : cases) EXPECT_EQ(error_of(c.name, c.inputs), c.message) << c.name;
}

TEST_F(Adapters, BitConversionMessagesAreExact) {
    const Value b = Value::matrix(2, 3, {1, 0, 0, 1, 1, 1});
    struct Case {
        const char* name;
        std::vector<Value> inputs;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"bitVector", {}, "Incorrect number of parameters."},
        {"bitVector", {Value::scalar(2.5), Value::scalar(4)}, "Integer required"},
        {"bi2de", {b, Value::cell(1, 1)}, "Only string and numeric arguments are accepted."},
        {"bi2de", {Value::text("101")}, "Syntax error."},
        {"bi2de", {b, Value::scalar(2), Value::scalar(2)}, "Syntax error."},
        {"bi2de", {Value::row({})}, "Required parameter empty."},
        {"bi2de", {Value::complex_scalar({1, 1})}, "Input must contain only finite real positive integers."},
        {"bi2de", {b, Value::row({2, 3})}, "Source base must be a scalar."},
        {"bi2de", {b, Value::scalar(2.5)}, "Source base must be a finite real integer."},
        {"bi2de", {b, Value::scalar(1)}, "Source base must be greater than or equal to two."},
        {"bi2de", {Value::row({3}), Value::scalar(3)}, "The elements of the matrix are larger than the base can represent."},
        {"bi2de", {b, Value::text("up")}, "Invalid string flag."},
        {"bi2de", {Value::row({-1}), Value::text("up")}, "Input must contain only finite real positive integers."},
    };
    for (const auto& c : cases) EXPECT_EQ(error_of(c.name, c.inputs), c.message) << c.name;
}

TEST_F(Adapters, BitConversionsAcceptEveryArgumentPattern) {
    const Value b = Value::matrix(2, 3, {1, 0, 0, 1, 1, 1});
    EXPECT_EQ(first("bi2de", {b}), Value::matrix(2, 1, {5, 6}));
    EXPECT_EQ(first("bi2de", {b, Value::text("left-msb")}), Value::matrix(2, 1, {5, 3}));
    EXPECT_EQ(first("bi2de", {b, Value::scalar(3)}), Value::matrix(2, 1, {10, 12}));
    EXPECT_EQ(first("bi2de", {b, Value::scalar(3), Value::text("left-msb")}), Value::matrix(2, 1, {10, 4}));
    EXPECT_EQ(first("bi2de", {b, Value::text("left-msb"), Value::scalar(3)}), Value::matrix(2, 1, {10, 4}));

    EXPECT_EQ(first("bitVector", {Value::scalar(6), Value::scalar(4)}), Value::row({0, 1, 1, 0}));
    EXPECT_EQ(first("bitVector", {Value::scalar(745), Value::scalar(16), Value()}).numel(), 16U);
    EXPECT_EQ(first("hexString", {Value::scalar(255), Value::scalar(2)}), Value::text("00FF"));
    EXPECT_EQ(first("oct2dec", {Value::matrix(1, 2, {133, 175})}), Value::matrix(1, 2, {91, 125}));
}

TEST_F(Adapters, FrameOfPlcpOperationsAgreesPieceByPiece) {
    // The header assembled from its parts equals dot11b_HEADER, for a column input too.
    const Value bits = Value::scalar(8192);
    const Value rate = Value::scalar(11);
    const Value zero = Value::scalar(0);
    const Outputs length = call_by_name("dot11b_LENGTH", 4, {bits, rate, zero});
    ASSERT_EQ(length.size(), 4U);
    const Value service = first("dot11b_SERVICE", {zero, zero, length[1], length[2], length[3]});
    std::vector<double> header;
    for (const Value& part : {first("dot11b_SIGNAL", {rate}), service, length[0]}) {
        header.insert(header.end(), part.reals().begin(), part.reals().end());
    }
    const Value crc = first("CCITT_CRC16", {Value::matrix(header.size(), 1, header)});
    header.insert(header.end(), crc.reals().begin(), crc.reals().end());
    EXPECT_EQ(first("dot11b_HEADER", {bits, rate, zero, zero}), Value::row(header));
}

TEST_F(Adapters, RateModulatorsReturnChipsAndLastPhase) {
    const Value start = Value::complex_scalar(std::complex<double>(1, 1) / std::sqrt(2.0));
    const Outputs out = call_by_name("dot11b_2Mbps", 2, {Value::row(std::vector<double>(48, 0)), start});
    ASSERT_EQ(out.size(), 2U);
    EXPECT_EQ(out[0].numel(), 264U);
    EXPECT_EQ(out[1].complexes()[0], -out[0].complexes().back());
    // Only the waveform when one output is asked for.
    EXPECT_EQ(call_by_name("dot11b_1Mbps", 1, {Value::row({1, 0}), start}).size(), 1U);
    EXPECT_EQ(first("dot11b_BarkerSpread", {Value::row({1})}).numel(), 11U);
}

// The frame builder's sixteen inputs with the application's defaults around a PSDU.
std::vector<Value> frame_inputs(std::size_t psdu_bits) {
    return {Value::row(std::vector<double>(psdu_bits, 1)),
            Value::scalar(11), Value::scalar(0), Value::scalar(0), Value::scalar(0), Value::scalar(1),
            Value::scalar(1), Value::scalar(1), Value::scalar(3850), Value::scalar(1), Value::scalar(77),
            Value::scalar(3.5), Value::scalar(1), Value::scalar(0.5), Value::scalar(21), Value::scalar(0)};
}

TEST_F(Adapters, FrameBuilderReturnsWaveformAndTwoMarkerRowsOfItsLength) {
    const Outputs out = call_by_name("dot11b_FRAME", 2, frame_inputs(8192));
    ASSERT_EQ(out.size(), 2U);
    EXPECT_EQ(out[0].kind(), Value::Kind::Complex);
    EXPECT_EQ(out[0].rows(), 1U);
    EXPECT_EQ(out[0].cols(), 40068U);
    EXPECT_EQ(out[1].rows(), 2U);
    EXPECT_EQ(out[1].cols(), 40068U);
    // Column 1: inside the first ramp, so row 1 is 0 and row 2 is 1; the last column is idle.
    EXPECT_EQ(out[1].reals()[0], 0);
    EXPECT_EQ(out[1].reals()[1], 1);
    EXPECT_EQ(out[1].reals()[2 * 100], 1);
    EXPECT_EQ(out[1].reals()[2 * 40067 + 1], 0);

    const std::vector<Value> estimate = {Value::scalar(1), Value::scalar(8192), Value::scalar(11), Value::scalar(0),
                                         Value::scalar(1), Value::scalar(0),    Value::scalar(3850), Value::scalar(1),
                                         Value::scalar(77), Value::scalar(3.5)};
    EXPECT_EQ(first("dot11b_SizeEst", estimate), Value::scalar(40068));
}

TEST_F(Adapters, FrameBuilderNamesTheInputItRejects) {
    struct Case {
        std::size_t index;
        Value value;
        const char* message;
    };
    const std::vector<Case> cases = {
        {9, Value::scalar(3), "dot11b_FRAME: input rampType must be one of 0 1 2, got 3"},
        {12, Value::scalar(-1), "dot11b_FRAME: input filterType must be one of 0 1 2, got -1"},
        {1, Value::scalar(22), "dot11b_FRAME: DATArate 22 is not allowed; allowed: 1, 2, 5.5, 11; 22 and 33 only unframed with PBCC (highRateMod 1)"},
        {11, Value::scalar(4), "dot11b_FRAME: oversamplingRate 4 is not allowed; allowed: 2, 2.5, 3, 3.5"},
        {8, Value::scalar(1.5), "dot11b_FRAME: input idleSamples must be a non-negative integer, got 1.5"},
    };
    for (const auto& c : cases) {
        std::vector<Value> inputs = frame_inputs(64);
        inputs[c.index] = c.value;
        EXPECT_EQ(error_of("dot11b_FRAME", inputs), c.message);
    }
}

TEST_F(Adapters, ShapingKeepsRealInputsRealAndColumnsColumns) {
    EXPECT_EQ(first("upsample", {Value::row({1, 2, 3}), Value::scalar(3)}), Value::row({1, 0, 0, 2, 0, 0, 3, 0, 0}));
    EXPECT_EQ(first("upsample", {Value::matrix(2, 1, {1, 2}), Value::scalar(2)}), Value::matrix(4, 1, {1, 0, 2, 0}));
    EXPECT_EQ(first("upsample", {Value::scalar(5), Value::scalar(2)}), Value::matrix(2, 1, {5, 0}));
    EXPECT_EQ(first("extendvector", {Value::row({1, 2, 3}), Value::scalar(7)}), Value::row({1, 2, 3, 1, 2, 3, 1}));
    EXPECT_EQ(first("circfilt", {Value::row({1, 0, 0, 0}), Value::row({1, 1, 1})}), Value::row({1, 1, 0, 1}));
    EXPECT_EQ(first("circfilt", {Value::row({1, 0}), Value::complex_row({{0, 1}})}).kind(), Value::Kind::Complex);
    EXPECT_EQ(error_of("upsample", {Value::row({1}), Value::scalar(2.5)}),
              "upsample: input n must be a positive integer, got 2.500000");
    EXPECT_EQ(error_of("freq2fir", {Value::scalar(2), Value::row({0}), Value::row({1}), Value::scalar(10)}),
              "N must be an odd integer");
}

// The fits check their inputs in a fixed order, each with its own words.
TEST_F(Adapters, FilterFitsRaiseTheirTextsInOrder) {
    const Value f = Value::row({-1e6, 0, 1e6});
    const Value h = Value::row({1, 1, 1});
    const Value square = Value::matrix(3, 3, std::vector<double>(9, 1));
    const Value n = Value::scalar(5);
    const Value sr = Value::scalar(10e6);
    struct Case {
        const char* operation;
        std::vector<Value> inputs;
        const char* message;
    };
    const Case cases[] = {
        {"freq2fir", {n, f, h}, "You must have 4 inputs."},
        {"freq2fir", {n, f, h, sr, sr}, "You must have 4 inputs."},
        {"freq2fir", {Value::scalar(2), f, Value::row({1, 1}), sr}, "F must be the same size as H"},
        {"freq2fir", {n, square, h, sr}, "F must be either a 1xN or a Nx1 matrix."},
        {"freq2fir", {n, f, square, sr}, "H must be either a 1xN or a Nx1 matrix."},
        {"freq2fir", {Value::scalar(1), f, h, Value::scalar(0)}, "N must be greater than 1."},
        {"freq2fir", {Value::scalar(0), f, h, sr}, "N must be greater than 1."},
        {"freq2fir", {Value::scalar(4), f, h, Value::scalar(0)}, "N must be an odd integer"},
        {"freq2fir", {Value::scalar(4.5), f, h, sr}, "N must be an odd integer"},
        {"freq2fir", {n, f, h, Value::scalar(2e6)}, "SR must be greater than 2*max{F}."},
        {"createRealFIR", {n, f, h}, "You must have 4 inputs to createRealFIR."},
        {"createRealFIR", {n, f, h, sr, sr}, "You must have 4 inputs to createRealFIR."},
        {"createRealFIR", {n, f, Value::row({1, 1}), Value::scalar(0)}, "F must be the same size as H"},
        {"createRealFIR", {n, square, h, sr}, "F and H must be either a 1xN or a Nx1 matrix."},
        {"createRealFIR", {n, f, square, sr}, "F and H must be either a 1xN or a Nx1 matrix."},
        {"createRealFIR", {n, f, h, Value::scalar(0)}, "SR > 0 The sample rate must be greater than zero."},
        {"createRealFIR", {Value::scalar(1e300), f, h, Value::scalar(-1)},
         "SR > 0 The sample rate must be greater than zero."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(error_of(c.operation, c.inputs), c.message) << c.operation << " with " << c.inputs.size() << " inputs";
    }
}

}  // namespace
}  // namespace dot11b::frame
