#include "frame/library.hpp"

#include <memory>
#include <string>

#include "frame/console.hpp"
#include "frame/globals.hpp"
#include "frame/runtime_error.hpp"
#include "frame/user_question.hpp"

namespace dot11b::frame {
namespace {

enum class State { Uninitialised, Ready, Terminated };

struct LifeCycle {
    State state = State::Uninitialised;
    std::unique_ptr<Library> library;
    std::vector<ModuleHooks> modules;
};

LifeCycle& life_cycle() {
    static LifeCycle instance;
    return instance;
}

}  // namespace

Library::Library() {
    for (const Operation& op : operation_table()) registry_.emplace(op.name, &op);
}

const Operation* Library::find(std::string_view name) const {
    const auto it = registry_.find(name);
    return it == registry_.end() ? nullptr : it->second;
}

void add_module(ModuleHooks hooks) { life_cycle().modules.push_back(std::move(hooks)); }

void initialize() {
    auto& lc = life_cycle();
    if (lc.state == State::Ready) throw RuntimeError("KestrelInitialize: the library is already initialised.");
    lc.library = std::make_unique<Library>();
    lc.state = State::Ready;
    for (std::size_t i = 0; i < lc.modules.size(); ++i) {
        try {
            if (lc.modules[i].initialize) lc.modules[i].initialize();
        } catch (...) {
            // Undo what was started so that a later attempt begins afresh.
            for (std::size_t k = i; k-- > 0;) {
                if (lc.modules[k].terminate) lc.modules[k].terminate();
            }
            lc.library.reset();
            lc.state = State::Uninitialised;
            throw;
        }
    }
}

void terminate() {
    auto& lc = life_cycle();
    if (lc.state != State::Ready) throw RuntimeError("KestrelTerminate: the library is not initialised.");
    // Every terminator runs even if an earlier one fails; failures are reported, not rethrown,
    // so that the library always ends up terminated.
    for (auto it = lc.modules.rbegin(); it != lc.modules.rend(); ++it) {
        try {
            if (it->terminate) it->terminate();
        } catch (const std::exception& e) {
            print_error(std::string(it->name) + ": " + e.what());
        }
    }
    lc.library.reset();
    set_question_asker({});
    lc.state = State::Terminated;
}

bool is_ready() { return life_cycle().state == State::Ready; }

void require_ready(std::string_view caller) {
    switch (life_cycle().state) {
    case State::Ready:
        return;
    case State::Uninitialised:
        throw RuntimeError(std::string(caller) + ": the library is not initialised; call KestrelInitialize first.");
    case State::Terminated:
        throw RuntimeError(std::string(caller) +
                           ": the library has been terminated; call KestrelInitialize before using it again.");
    }
}

Library& library() {
    require_ready("the library");
    return *life_cycle().library;
}

Value& global(Global which) {
    require_ready(kGlobalNames[static_cast<std::size_t>(which)]);
    return life_cycle().library->global(static_cast<std::size_t>(which));
}

Value& global(std::string_view name) {
    for (std::size_t i = 0; i < kGlobalNames.size(); ++i) {
        if (kGlobalNames[i] == name) return global(static_cast<Global>(i));
    }
    throw RuntimeError("There is no global record named \"" + std::string(name) + "\".");
}

}  // namespace dot11b::frame
