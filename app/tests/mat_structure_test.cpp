#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frame/mat_structure.hpp"

namespace dot11b::frame {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Little-endian Level 5 building blocks, laid out by the published format:
// 128-byte header, then tagged data elements padded to 8 bytes.
void put32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

Bytes element(std::uint32_t type, const Bytes& data) {
    Bytes out;
    put32(out, type);
    put32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    out.resize((out.size() + 7) / 8 * 8, 0);
    return out;
}

Bytes words(std::initializer_list<std::uint32_t> values) {
    Bytes out;
    for (const auto v : values) put32(out, v);
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

constexpr std::uint32_t miINT8 = 1, miINT32 = 5, miUINT32 = 6, miDOUBLE = 9, miMATRIX = 14, miCOMPRESSED = 15;

// A named array of the class with the given dimensions and contents.
Bytes matrix(std::uint32_t array_class, std::uint32_t rows, std::uint32_t cols, const Bytes& contents) {
    return element(miMATRIX, concat({element(miUINT32, words({array_class, 0})), element(miINT32, words({rows, cols})),
                                     element(miINT8, Bytes{'x'}), contents}));
}

Bytes doubles(std::size_t count) { return element(miDOUBLE, Bytes(8 * count, 0)); }

Bytes file(const Bytes& body) {
    Bytes out(128, ' ');
    out[124] = 0x00;
    out[125] = 0x01;
    out[126] = 'I';
    out[127] = 'M';
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes compressed(const Bytes& inner) {
    uLongf size = compressBound(static_cast<uLong>(inner.size()));
    Bytes deflated(size);
    compress(deflated.data(), &size, inner.data(), static_cast<uLong>(inner.size()));
    deflated.resize(size);
    Bytes out;
    put32(out, miCOMPRESSED);
    put32(out, static_cast<std::uint32_t>(deflated.size()));
    out.insert(out.end(), deflated.begin(), deflated.end());
    return out;
}

std::string problem(const Bytes& bytes) { return mat_structure_problem(bytes).value_or("(sound)"); }

TEST(MatStructure, SoundFilesPass) {
    const Bytes one = matrix(6, 1, 1, doubles(1));
    Bytes structure = concat({element(miINT32, words({8})),
                              element(miINT8, Bytes{'a', 0, 0, 0, 0, 0, 0, 0, 'b', 0, 0, 0, 0, 0, 0, 0}), one,
                              element(miMATRIX, {})});
    EXPECT_EQ(problem(file(one)), "(sound)");
    EXPECT_EQ(problem(file(compressed(one))), "(sound)");
    EXPECT_EQ(problem(file(matrix(2, 1, 1, structure))), "(sound)");
    EXPECT_EQ(problem(file({})), "(sound)");
}

TEST(MatStructure, SizesThatTheDataDoNotBackAreRefused) {
    const Bytes one = matrix(6, 1, 1, doubles(1));
    const Bytes whole = file(one);
    const Bytes truncated(whole.begin(), whole.end() - 9);
    Bytes overlong = whole;
    overlong[128 + 4] = 0xFF;                                    // the matrix claims far more bytes than follow
    Bytes bomb_inner = matrix(6, 1, 9 << 20, doubles(9 << 20));  // 72 MiB of zeros
    const Bytes names = element(miINT8, Bytes{'a', 0, 0, 0, 0, 0, 0, 0});
    struct Case {
        const char* name;
        Bytes bytes;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {"dimensions beyond the data", file(matrix(6, 100000, 100000, doubles(1))),
         "has a numeric array whose data do not match its dimensions"},
        {"overlong element", overlong, "has a data element at byte 128 that claims"},
        {"truncated", truncated, "claims"},
        {"torn tag", concat({whole, Bytes{1, 2, 3}}), "ends inside a data element tag at byte 200"},
        {"structure array beyond the data",
         file(matrix(2, 1 << 30, 1 << 30, concat({element(miINT32, words({8})), names}))),
         "has more nested arrays than data"},
        {"character data short", file(matrix(4, 1, 10, element(4, Bytes(4, 'a')))),
         "has a character array whose data do not match its dimensions"},
        {"sparse", file(matrix(5, 1, 1, doubles(1))), "holds an array of class 5"},
        {"unknown top-level element", file(element(miDOUBLE, Bytes(8))), "holds a top-level data element of type 9"},
        {"damaged compression",
         [&] {
             Bytes b = file(compressed(one));
             b[b.size() - 3] ^= 0xFF;
             return b;
         }(),
         "has damaged compressed data"},
        {"decompression bomb", file(compressed(bomb_inner)), "inflates beyond the size limit"},
        {"negative dimension", file(matrix(6, 0xFFFFFFFF, 1, doubles(0))), "has an array with a negative dimension"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(problem(c.bytes).find(c.problem), std::string::npos) << c.name << ": " << problem(c.bytes);
    }
}

}  // namespace
}  // namespace dot11b::frame
