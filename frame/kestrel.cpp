#include "frame/kestrel.hpp"

#include "frame/library.hpp"

extern "C" {

void KestrelInitialize(void) { dot11b::frame::initialize(); }

void KestrelTerminate(void) { dot11b::frame::terminate(); }
}
