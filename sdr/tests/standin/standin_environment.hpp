#pragma once
// Points SoapySDR at the stand-in device module alone: the plug-in path is
// its folder, and the root (whose module folder is searched too) is a folder
// without modules, so no installed radio module is loaded.

#include <cstdlib>
#include <string>

namespace dot11b::test {

inline void use_standin_sdr_only() {
    ::setenv("SOAPY_SDR_PLUGIN_PATH", STANDIN_SDR_DIR, 1);
    ::setenv("SOAPY_SDR_ROOT", STANDIN_SDR_DIR, 1);
}

}  // namespace dot11b::test
