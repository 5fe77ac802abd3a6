#include "projects/project.h"

namespace isp {

void TVelmarProject::SetDevice(const TDevice& device) {
    device_ = &device;
    if (device.MemorySize != 0) {
        main_.SetSize(device.MemorySize);
    }
    if (device.SecondMemorySize != 0) {
        second_.SetSize(device.SecondMemorySize);
    }
}

} // namespace isp
