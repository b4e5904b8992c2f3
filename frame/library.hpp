#pragma once
// Life cycle of the library: Uninitialised -> Ready (initialize) -> Terminated
// (terminate). initialize() builds the registry, creates the global records and
// runs every module's initialiser; terminate() runs the terminators in reverse
// order and releases the rest. The library may be initialised again after it
// was terminated.

#include <array>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/globals.hpp"
#include "frame/registry.hpp"
#include "frame/value.hpp"

namespace dot11b::frame {

struct ModuleHooks {
    std::string_view name;
    std::function<void()> initialize;  // builds the module's constants and resources
    std::function<void()> terminate;   // releases them
};

// Adds a module whose hooks run at every initialize() and terminate() from now on.
void add_module(ModuleHooks hooks);

// Throws RuntimeError when already initialised.
void initialize();
// Throws RuntimeError when not initialised.
void terminate();
bool is_ready();

// Throws RuntimeError naming `caller` unless the library is ready.
void require_ready(std::string_view caller);

// The state of a ready library.
class Library {
public:
    Library();
    const Operation* find(std::string_view name) const;
    Value& global(std::size_t index) { return globals_[index]; }

private:
    std::unordered_map<std::string_view, const Operation*> registry_;
    std::array<Value, kGlobalNames.size()> globals_;
};

// Throws RuntimeError when the library is not ready.
Library& library();

}  // namespace dot11b::frame
