#include "projects/project.h"

#include <gtest/gtest.h>

namespace isp {
namespace {

TEST(Project, SetDeviceSizesOnlyTheBuffersTheDeviceHas) {
    TVelmarProject project;
    const TDevice& small = *DeviceList().FindByName("24C02", kUsbProgrammerKind);
    project.SetDevice(small);
    EXPECT_EQ(project.Device(), &small);
    EXPECT_EQ(project.MainBuffer().Size(), 256);

    project.SecondBuffer().SetSize(5);
    project.SecondBuffer().SetValue(2, 0x12);
    project.MainBuffer().SetValue(3, 0x34);
    project.MainBuffer().FileName = "/tmp/a.hex";
    EXPECT_EQ(project.GetFileName(), "/tmp/a.hex");

    project.SetDevice(small); // same size again: the buffer is cleared all the same
    EXPECT_EQ(project.MainBuffer().GetValue(3), 0xFF);
    EXPECT_EQ(project.SecondBuffer().GetValue(2), 0x12) << "no second memory: kept";
}

} // namespace
} // namespace isp
