#include "instrument/transport.hpp"

#include <algorithm>

#include "instrument/scpi_block.hpp"

namespace dot11b::instrument {

void Transport::write_line(std::string_view command) {
    if (!command.empty() && command.back() == '\n') {
        write(command);
        return;
    }
    std::string line(command);
    line += '\n';
    write(line);
}

void Transport::write_block(std::string_view command, std::span<const std::uint8_t> bytes,
                            const Progress& progress) {
    if (bytes.size() > kMaxBlockLength) {
        fail(Fault::Request, "a block of " + std::to_string(bytes.size()) + " bytes exceeds the 9-digit length field");
    }
    write(std::string(command) + block_header(bytes.size()));
    const std::size_t piece = std::max<std::size_t>(1, block_piece());
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t n = std::min(piece, bytes.size() - done);
        write(std::string_view(reinterpret_cast<const char*>(bytes.data() + done), n));
        done += n;
        if (progress) progress(done, bytes.size());
    }
    write("\n");
}

void Transport::fail(Fault fault, std::string_view what) const {
    throw TransportError(fault, name_ + ": " + std::string(what));
}

}  // namespace dot11b::instrument
