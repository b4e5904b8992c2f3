#pragma once
// `appInfo`: what the application shell knows of the application: its name
// for the title bar, the About text, the parameter file extension, the open
// plot windows and the stamp of the last calculation.

#include "frame/value.hpp"

namespace dot11b::app {

// The record with its start-up defaults, fields in their creation order;
// ClientWindows, LastCaluclatedParameterSet and LastCalcTimeStamp start empty.
frame::Value default_app_info();

}  // namespace dot11b::app
