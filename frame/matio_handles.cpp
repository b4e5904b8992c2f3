#include "frame/matio_handles.hpp"

#include <mutex>

#include "common/errors.hpp"

namespace dot11b::frame::matio {
namespace {

// libmatio's last message, per thread. In static TLS: GCC 12's LeakSanitizer
// can crash at exit walking the dynamic TLS of a module loaded by dlopen.
thread_local std::string message __attribute__((tls_model("initial-exec")));

}  // namespace

void start_call() {
    static std::once_flag once;
    std::call_once(once, [] { Mat_LogInitFunc("dot11b", [](int, char* text) { message = text ? text : ""; }); });
    message.clear();
}

const std::string& last_message() { return message; }

std::string with_library_reason(std::string_view what) {
    std::string reason(what);
    if (!message.empty()) reason += " (libmatio: " + message + ")";
    return reason;
}

void fail(const std::filesystem::path& path, const std::string& reason) {
    throw IoError("cannot open " + path.string() + ": " + reason);
}

bool file_holds_variables(const std::filesystem::path& path) {
    start_call();
    const MatPtr mat(Mat_Open(path.c_str(), MAT_ACC_RDONLY));
    if (!mat) return false;
    const VarPtr info(Mat_VarReadNextInfo(mat.get()));
    return info != nullptr;
}

}  // namespace dot11b::frame::matio
