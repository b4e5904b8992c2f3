#include "frame/matfile.hpp"

#include <dlfcn.h>

#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "common/errors.hpp"
#include "frame/matfile_module.hpp"

namespace dot11b::frame {
namespace {

namespace fs = std::filesystem;

// Where the module is looked for: in lib/ beside the program's bin/ folder
// (the build tree and an installation alike), beside the shared object that
// holds this code when that is not the program (the Python module's
// package), then where this build put it.
std::vector<fs::path> module_candidates() {
    std::vector<fs::path> candidates;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) candidates.push_back(program.parent_path().parent_path() / "lib" / kMatFileModuleFile);
    static const char anchor = 0;  // an address inside the shared object that holds this code
    Dl_info holder{};
    if (::dladdr(&anchor, &holder) != 0 && holder.dli_fname != nullptr) {
        const fs::path object = fs::weakly_canonical(holder.dli_fname, error);
        if (!error && object != program) candidates.push_back(object.parent_path() / kMatFileModuleFile);
    }
#ifdef DOT11B_MATFILE_MODULE_PATH
    const fs::path built(DOT11B_MATFILE_MODULE_PATH);
    if (candidates.empty() || candidates.front() != built) candidates.push_back(built);
#endif
    return candidates;
}

const MatFileModule* load_module(std::string& why) {
    for (const fs::path& candidate : module_candidates()) {
        void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* reason = ::dlerror();
            why += (why.empty() ? "" : "; ") + std::string(reason != nullptr ? reason : candidate.string());
            continue;
        }
        const auto entry = reinterpret_cast<const MatFileModule* (*)()>(::dlsym(handle, kMatFileModuleEntry));
        const MatFileModule* module = entry != nullptr ? entry() : nullptr;
        if (module != nullptr && module->version == kMatFileModuleVersion) return module;
        why += (why.empty() ? "" : "; ") + candidate.string() + " is not a MAT-file module of this version";
        ::dlclose(handle);
    }
    return nullptr;
}

// Loaded on the first call and kept until the process ends.
const MatFileModule& module_for(const fs::path& path) {
    static const MatFileModule* loaded = nullptr;
    static std::string why;
    static std::once_flag tried;
    std::call_once(tried, [] { loaded = load_module(why); });
    if (loaded == nullptr) {
        throw IoError("\"" + path.string() + "\": the MAT-file layer " + kMatFileModuleFile +
                      " cannot be loaded (" + why + ")");
    }
    return *loaded;
}

// Raises, in this program's runtime, what the module handed back.
void raise(MatFileFault fault) {
    using Kind = MatFileFault::Kind;
    switch (fault.kind) {
    case Kind::None: return;
    case Kind::Io: throw IoError(fault.message);
    case Kind::Config: throw ConfigError(fault.message);
    case Kind::OutOfMemory: throw std::bad_alloc();
    case Kind::Other: break;
    }
    throw std::runtime_error(fault.message);
}

}  // namespace

void write_mat_file(DurableFile& file, std::span<const MatVariable> variables, MatCompression compression) {
    raise(module_for(file.target()).write(file.target(), file.temporary_path(), variables, compression));
}

void write_mat_file(const fs::path& path, std::span<const MatVariable> variables, MatCompression compression) {
    DurableFile file(path);
    write_mat_file(file, variables, compression);
    file.commit();
}

std::vector<MatVariable> read_mat_file(const fs::path& path, std::span<const std::string_view> names) {
    std::vector<MatVariable> variables;
    raise(module_for(path).read(path, names, variables));
    return variables;
}

bool mat_file_holds_variables(const fs::path& path) {
    bool holds = false;
    raise(module_for(path).holds_variables(path, holds));
    return holds;
}

}  // namespace dot11b::frame
