// Lowers the latency timer of the programmer's USB serial adapter (FTDI, vendor 0403, product
// 6015, serial "QorvikISPA") to 2 ms when it is higher, so small replies come back quickly.
#pragma once

#include <string>

namespace isp {

// Looks through <sysfsRoot>/bus/usb-serial/devices; returns how many adapters it lowered. Any
// failure (no adapter, no permission) is silent.
int LowerLatencyTimer(const std::string& sysfsRoot = "/sys");

} // namespace isp
