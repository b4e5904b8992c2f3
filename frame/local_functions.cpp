#include "frame/local_functions.hpp"

#include <exception>
#include <string>

#include "frame/console.hpp"
#include "frame/registry.hpp"
#include "frame/runtime_error.hpp"

namespace dot11b::frame {
namespace {

const LocalTable*& current() {
    static const LocalTable* table = nullptr;
    return table;
}

// Makes a table current for the length of a call and restores the previous one.
class CurrentTable {
public:
    explicit CurrentTable(const LocalTable& table) : previous_(current()) { current() = &table; }
    ~CurrentTable() { current() = previous_; }
    CurrentTable(const CurrentTable&) = delete;
    CurrentTable& operator=(const CurrentTable&) = delete;

private:
    const LocalTable* previous_;
};

}  // namespace

const LocalFunction* LocalTable::find(std::string_view name) const {
    for (const auto& function : functions) {
        if (function.name == name) return &function;
    }
    return nullptr;
}

const LocalTable* current_local_table() { return current(); }

Outputs call_local(const LocalTable& table, std::string_view name, int nargout, std::vector<Value> inputs) {
    const LocalFunction* function = table.find(name);
    const std::string qualified = std::string(table.script) + "/" + std::string(name);
    if (function == nullptr) throw RuntimeError("Undefined function \"" + qualified + "\".");
    const CurrentTable scope(table);
    return enter(qualified, function->line, function->inputs, function->outputs, function->body, nargout,
                 std::move(inputs));
}

Outputs dispatch(const LocalTable& table, const Inputs& inputs, int nargout) {
    const Value& selector = inputs.at(0, "action");
    try {
        if (selector.kind() != Value::Kind::Char) {
            throw RuntimeError(std::string(table.script) + ": the first input must name a sub-function");
        }
        std::vector<Value> rest;
        for (std::size_t i = 1; i < inputs.count(); ++i) rest.push_back(inputs.at(i, "argument"));
        return call_local(table, selector.text(), nargout, std::move(rest));
    } catch (const std::exception& e) {
        print_error(e.what());
    }
    return {};
}

}  // namespace dot11b::frame
