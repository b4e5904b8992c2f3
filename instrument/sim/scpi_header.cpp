#include "instrument/sim/scpi_header.hpp"

#include <cctype>
#include <string>
#include <vector>

#include "common/ascii_case.hpp"

namespace dot11b::sim {
namespace {

struct Node {
    std::string long_form;   // lower case
    std::string short_form;  // lower case
    bool optional = false;
};

std::vector<std::string_view> split(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto colon = text.find(':');
        parts.push_back(text.substr(0, colon));
        if (colon == std::string_view::npos) return parts;
        text.remove_prefix(colon + 1);
    }
}

std::vector<Node> nodes_of(std::string_view pattern) {
    std::vector<Node> nodes;
    for (std::string_view part : split(pattern)) {
        Node node;
        if (part.starts_with('[') && part.ends_with(']')) {
            node.optional = true;
            part = part.substr(1, part.size() - 2);
        }
        for (const char c : part) {
            const char lower = to_lower_ascii(c);
            node.long_form += lower;
            if (std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c))) {
                node.short_form += lower;
            }
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

bool token_matches(const Node& node, std::string_view token) {
    const std::string lower = to_lower_ascii(token);
    return lower == node.long_form || lower == node.short_form;
}

bool match(const std::vector<Node>& nodes, std::size_t n, const std::vector<std::string_view>& tokens, std::size_t t) {
    if (n == nodes.size()) return t == tokens.size();
    if (nodes[n].optional && match(nodes, n + 1, tokens, t)) return true;
    return t < tokens.size() && token_matches(nodes[n], tokens[t]) && match(nodes, n + 1, tokens, t + 1);
}

}  // namespace

bool header_matches(std::string_view pattern, std::string_view header) {
    if (header.starts_with(':')) header.remove_prefix(1);
    if (header.empty()) return false;
    return match(nodes_of(pattern), 0, split(header), 0);
}

}  // namespace dot11b::sim
