// TVelmarProject: what the station works on, the main memory buffer, the second buffer and the
// current device. The buffers are owned; the device belongs to the catalogue.
#pragma once

#include "model/device.h"
#include "model/hexlist.h"

#include <string>

namespace isp {

class TVelmarProject {
public:
    // Stores the device and sizes (and so clears) each buffer the device has a memory for; a
    // buffer whose size is 0 for the new device keeps its size and contents.
    void SetDevice(const TDevice& device);
    const TDevice* Device() const { return device_; }
    const std::string& GetFileName() const { return main_.FileName; }

    THexList& MainBuffer() { return main_; }
    THexList& SecondBuffer() { return second_; }

private:
    THexList main_;
    THexList second_;
    const TDevice* device_ = nullptr;
};

} // namespace isp
