#include "analyzer/mac_frame.hpp"

#include <cstdio>

#include "analyzer/checksums.hpp"

namespace dot11b::analyzer {
namespace {

constexpr std::size_t kFcsOctets = 4;
constexpr unsigned kManagement = 0;
constexpr unsigned kControl = 1;
constexpr unsigned kData = 2;
constexpr unsigned kCts = 12;
constexpr unsigned kAck = 13;

class OctetReader {
public:
    explicit OctetReader(std::span<const std::uint8_t> octets) : octets_(octets) {}
    bool has(std::size_t count) const { return position_ + count <= octets_.size(); }
    std::uint16_t word() {
        const auto value = static_cast<std::uint16_t>(octets_[position_] | (octets_[position_ + 1] << 8));
        position_ += 2;
        return value;
    }
    MacAddress address() {
        MacAddress a{};
        for (auto& octet : a) octet = octets_[position_++];
        return a;
    }
    std::size_t position() const { return position_; }

private:
    std::span<const std::uint8_t> octets_;
    std::size_t position_ = 0;
};

}  // namespace

bool fcs_valid(std::span<const std::uint8_t> psdu) {
    if (psdu.size() < kFcsOctets) return false;
    const std::size_t body = psdu.size() - kFcsOctets;
    std::uint32_t received = 0;
    for (std::size_t k = 0; k < kFcsOctets; ++k) received |= static_cast<std::uint32_t>(psdu[body + k]) << (8 * k);
    return fcs_crc32(psdu.first(body)) == received;
}

std::optional<MacHeaderFields> parse_mac_header(std::span<const std::uint8_t> mpdu) {
    OctetReader reader(mpdu);
    if (!reader.has(10)) return std::nullopt;
    MacHeaderFields header;
    header.frame_control = reader.word();
    header.duration_id = reader.word();
    header.address1 = reader.address();
    const unsigned type = header.type();
    if (type == kControl) {
        if (header.subtype() != kCts && header.subtype() != kAck) {
            if (!reader.has(6)) return std::nullopt;
            header.address2 = reader.address();
        }
    } else if (type == kManagement || type == kData) {
        if (!reader.has(14)) return std::nullopt;
        header.address2 = reader.address();
        header.address3 = reader.address();
        header.sequence_control = reader.word();
        if (type == kData && header.to_ds() && header.from_ds()) {
            if (!reader.has(6)) return std::nullopt;
            header.address4 = reader.address();
        }
    } else {
        return std::nullopt;
    }
    header.octets = reader.position();
    return header;
}

std::string frame_type_name(const MacHeaderFields& header) {
    switch (header.type()) {
    case kManagement: return "management";
    case kData: return "data";
    case kControl:
        if (header.subtype() == kAck) return "control (ACK)";
        if (header.subtype() == kCts) return "control (CTS)";
        return "control";
    default: return "extension";
    }
}

std::string address_text(const MacAddress& address) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", address[0], address[1], address[2], address[3],
                  address[4], address[5]);
    return text;
}

}  // namespace dot11b::analyzer
