#include "frame/mat_structure.hpp"

#include <zlib.h>

#include <stdexcept>
#include <vector>

namespace dot11b::frame {
namespace {

// Data types and array classes of the Level 5 format.
enum : std::uint32_t {
    miINT8 = 1,
    miUINT8 = 2,
    miINT16 = 3,
    miUINT16 = 4,
    miINT32 = 5,
    miUINT32 = 6,
    miSINGLE = 7,
    miDOUBLE = 9,
    miINT64 = 12,
    miUINT64 = 13,
    miMATRIX = 14,
    miCOMPRESSED = 15,
    miUTF8 = 16,
    miUTF16 = 17,
    miUTF32 = 18,
};
enum : std::uint32_t { mxCELL = 1, mxSTRUCT = 2, mxCHAR = 4, mxDOUBLE = 6, mxUINT64 = 15 };
constexpr std::uint32_t kComplexFlag = 0x0800;
constexpr std::size_t kHeaderBytes = 128;

struct Fault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::size_t numeric_size(std::uint32_t type) {
    switch (type) {
    case miINT8:
    case miUINT8:
        return 1;
    case miINT16:
    case miUINT16:
        return 2;
    case miINT32:
    case miUINT32:
    case miSINGLE:
        return 4;
    case miDOUBLE:
    case miINT64:
    case miUINT64:
        return 8;
    default:
        return 0;
    }
}

std::size_t padded(std::size_t n) { return (n + 7) & ~std::size_t{7}; }

struct Element {
    std::uint32_t type;
    std::span<const std::uint8_t> data;
    std::size_t end;  // offset after the element and its padding
};

class Checker {
public:
    explicit Checker(bool big_endian) : big_endian_(big_endian) {}

    void check_file(std::span<const std::uint8_t> file) {
        std::size_t at = kHeaderBytes;
        while (at < file.size()) {
            const Element element = read_element(file, at, false);
            if (element.type == miCOMPRESSED) {
                check_compressed(element.data);
                at += 8 + element.data.size();  // compressed variables are not padded
            } else if (element.type == miMATRIX) {
                check_matrix(element.data, 0);
                at = element.end;
            } else {
                throw Fault("holds a top-level data element of type " + std::to_string(element.type) +
                            "; only arrays and compressed arrays are read");
            }
        }
    }

private:
    std::uint32_t word(std::span<const std::uint8_t> bytes, std::size_t at) const {
        const std::uint8_t* b = bytes.data() + at;
        if (big_endian_) return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (b[2] << 8U) | b[3];
        return (std::uint32_t{b[3]} << 24) | (std::uint32_t{b[2]} << 16) | (b[1] << 8U) | b[0];
    }

    // The element at `at`: the 8-byte tag, or the small format that packs up
    // to 4 data bytes into the tag itself.
    Element read_element(std::span<const std::uint8_t> bytes, std::size_t at, bool allow_small) const {
        if (bytes.size() - at < 8) throw Fault("ends inside a data element tag at byte " + std::to_string(at));
        const std::uint32_t first = word(bytes, at);
        if ((first >> 16) != 0) {
            const std::uint32_t size = first >> 16;
            if (!allow_small || size > 4) throw Fault("has a malformed data element tag at byte " + std::to_string(at));
            return {first & 0xFFFF, bytes.subspan(at + 4, size), at + 8};
        }
        const std::size_t size = word(bytes, at + 4);
        if (size > bytes.size() - at - 8) {
            throw Fault("has a data element at byte " + std::to_string(at) + " that claims " + std::to_string(size) +
                        " bytes, more than there are");
        }
        const std::size_t end = std::min(at + 8 + padded(size), bytes.size());
        return {first, bytes.subspan(at + 8, size), end};
    }

    Element expect(std::span<const std::uint8_t> bytes, std::size_t& at, std::uint32_t type, const char* what) const {
        if (at >= bytes.size()) throw Fault(std::string("has an array without its ") + what);
        const Element element = read_element(bytes, at, true);
        if (element.type != type) throw Fault(std::string("has an array whose ") + what + " is of the wrong type");
        at = element.end;
        return element;
    }

    void check_compressed(std::span<const std::uint8_t> compressed) {
        const std::vector<std::uint8_t> inflated = inflate(compressed);
        std::size_t at = 0;
        const Element element = expect(inflated, at, miMATRIX, "compressed contents");
        check_matrix(element.data, 0);
    }

    std::vector<std::uint8_t> inflate(std::span<const std::uint8_t> compressed) {
        z_stream stream{};
        if (inflateInit(&stream) != Z_OK) throw Fault("cannot be decompressed");
        std::vector<std::uint8_t> out;
        stream.next_in = const_cast<Bytef*>(compressed.data());
        stream.avail_in = static_cast<uInt>(compressed.size());
        int status = Z_OK;
        while (status == Z_OK) {
            const std::size_t limit = std::min(kMaxInflatedVariableBytes, kMaxInflatedFileBytes - inflated_);
            if (out.size() >= limit) break;
            const std::size_t chunk = std::min<std::size_t>(limit - out.size(), std::size_t{1} << 16);
            out.resize(out.size() + chunk);
            stream.next_out = out.data() + out.size() - chunk;
            stream.avail_out = static_cast<uInt>(chunk);
            status = ::inflate(&stream, Z_NO_FLUSH);
            out.resize(out.size() - stream.avail_out);
        }
        inflateEnd(&stream);
        if (status == Z_OK) throw Fault("has a compressed variable that inflates beyond the size limit");
        if (status != Z_STREAM_END) throw Fault("has damaged compressed data");
        inflated_ += out.size();
        return out;
    }

    void check_matrix(std::span<const std::uint8_t> matrix, int depth) {
        if (matrix.empty()) return;  // an empty placeholder array
        if (depth > kMaxStructureDepth) throw Fault("nests arrays too deeply");
        std::size_t at = 0;
        const Element flags = expect(matrix, at, miUINT32, "array flags");
        if (flags.data.size() != 8) throw Fault("has malformed array flags");
        const std::uint32_t array_class = word(flags.data, 0) & 0xFF;
        const bool complex = (word(flags.data, 0) & kComplexFlag) != 0;

        const Element dims = expect(matrix, at, miINT32, "dimensions");
        if (dims.data.size() < 8 || dims.data.size() % 4 != 0) throw Fault("has an array with malformed dimensions");
        std::size_t count = 1;
        for (std::size_t i = 0; i < dims.data.size(); i += 4) {
            const auto dim = static_cast<std::int32_t>(word(dims.data, i));
            if (dim < 0) throw Fault("has an array with a negative dimension");
            // Every element needs at least one byte below, so the count is bounded by the data.
            if (dim != 0 && count > matrix.size() / static_cast<std::size_t>(dim))
                count = matrix.size() + 1;
            else
                count *= static_cast<std::size_t>(dim);
        }
        expect(matrix, at, miINT8, "name");

        if (array_class >= mxDOUBLE && array_class <= mxUINT64) {
            check_numbers(matrix, at, count);
            if (complex) check_numbers(matrix, at, count);
        } else if (array_class == mxCHAR) {
            if (complex) throw Fault("has a complex character array");
            check_characters(matrix, at, count);
        } else if (array_class == mxSTRUCT) {
            const Element length = expect(matrix, at, miINT32, "field name length");
            if (length.data.size() != 4) throw Fault("has a malformed field name length");
            const std::size_t name_length = word(length.data, 0);
            const Element names = expect(matrix, at, miINT8, "field names");
            if (name_length == 0 || name_length > 64 || names.data.size() % name_length != 0) {
                throw Fault("has malformed field names");
            }
            check_arrays(matrix, at, count, names.data.size() / name_length, depth);
        } else if (array_class == mxCELL) {
            check_arrays(matrix, at, count, 1, depth);
        } else {
            throw Fault("holds an array of class " + std::to_string(array_class) +
                        "; only numeric, logical, character, structure and cell arrays are read");
        }
    }

    void check_numbers(std::span<const std::uint8_t> matrix, std::size_t& at, std::size_t count) const {
        if (at >= matrix.size()) throw Fault("has a numeric array without its data");
        const Element data = read_element(matrix, at, true);
        const std::size_t size = numeric_size(data.type);
        if (size == 0) throw Fault("has numeric data of type " + std::to_string(data.type));
        if (data.data.size() / size != count || data.data.size() % size != 0) {
            throw Fault("has a numeric array whose data do not match its dimensions");
        }
        at = data.end;
    }

    void check_characters(std::span<const std::uint8_t> matrix, std::size_t& at, std::size_t count) const {
        if (at >= matrix.size()) throw Fault("has a character array without its data");
        const Element data = read_element(matrix, at, true);
        const std::size_t bytes = data.data.size();
        bool fits = false;
        switch (data.type) {
        case miINT8:
        case miUINT8:
            fits = bytes == count;
            break;
        case miINT16:
        case miUINT16:
        case miUTF16:
            fits = bytes % 2 == 0 && bytes / 2 == count;
            break;
        case miUTF32:
            fits = bytes % 4 == 0 && bytes / 4 == count;
            break;
        case miUTF8:
            fits = bytes >= count && bytes / 4 <= count;
            break;
        default:
            throw Fault("has character data of type " + std::to_string(data.type));
        }
        if (!fits) throw Fault("has a character array whose data do not match its dimensions");
        at = data.end;
    }

    // `count` x `per_element` nested arrays, each a complete array element.
    void check_arrays(std::span<const std::uint8_t> matrix, std::size_t& at, std::size_t count, std::size_t per_element,
                      int depth) {
        const std::size_t room = (matrix.size() - std::min(at, matrix.size())) / 8;
        if (per_element != 0 && count > room / per_element) throw Fault("has more nested arrays than data");
        for (std::size_t i = 0; i < count * per_element; ++i) {
            const Element element = expect(matrix, at, miMATRIX, "nested array");
            check_matrix(element.data, depth + 1);
        }
    }

    bool big_endian_;
    std::size_t inflated_ = 0;
};

}  // namespace

std::optional<std::string> mat_structure_problem(std::span<const std::uint8_t> file) {
    if (file.size() < kHeaderBytes) return "is not a MAT-file: shorter than the 128-byte MAT-file header";
    if (file[0] == 0 || file[1] == 0 || file[2] == 0 || file[3] == 0)
        return "is not a Level 5 MAT-file: no header text";
    unsigned version = 0;
    bool big_endian = false;
    if (file[126] == 'I' && file[127] == 'M') {
        version = file[124] | (file[125] << 8U);
    } else if (file[126] == 'M' && file[127] == 'I') {
        version = (file[124] << 8U) | file[125];
        big_endian = true;
    } else {
        return "is not a MAT-file: no endian indicator in its header";
    }
    if (version == 0x0200) return "is a version 7.3 (HDF5) MAT-file; only Level 5 MAT-files are read";
    if (version != 0x0100) return "is not a Level 5 MAT-file: header version " + std::to_string(version);
    try {
        Checker(big_endian).check_file(file);
    } catch (const Fault& fault) {
        return std::string("is a damaged MAT-file: it ") + fault.what();
    }
    return std::nullopt;
}

}  // namespace dot11b::frame
