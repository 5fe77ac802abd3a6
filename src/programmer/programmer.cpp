#include "programmer/programmer.h"

#include "programmer/hardware.h"

namespace isp {

int TISPProgrammer::ClockCode = 1;

void TISPProgrammer::NotSupported(const char* operation) const {
    throw EISPException(std::string(operation) + " is not supported by this programmer");
}

const TDevice& TISPProgrammer::Device() const {
    if (!device) {
        throw EISPException("No device selected");
    }
    return *device;
}

std::uint8_t TISPProgrammer::GetHardwareKind() const {
    return HardwareTable().KindOfHardware(HardwareTable().FindHardware(hardwareName));
}

// The slots the abstract programmer declares but does not provide.
void TISPProgrammer::ProgramDevice(THexList&) {
    NotSupported("ProgramDevice");
}
void TISPProgrammer::Reserved4() {
    NotSupported("Reserved4");
}
void TISPProgrammer::VerifyDevice(THexList&) {
    NotSupported("VerifyDevice");
}
void TISPProgrammer::Reserved6() {
    NotSupported("Reserved6");
}
void TISPProgrammer::ReadDevice(THexList&) {
    NotSupported("ReadDevice");
}
void TISPProgrammer::Reserved8() {
    NotSupported("Reserved8");
}
void TISPProgrammer::EraseDevice() {
    NotSupported("EraseDevice");
}
std::uint8_t TISPProgrammer::ReadStatusRegister() {
    NotSupported("ReadStatusRegister");
}
void TISPProgrammer::WriteStatusRegister(std::uint8_t) {
    NotSupported("WriteStatusRegister");
}
void TISPProgrammer::Reserved12(std::int32_t) {
    NotSupported("Reserved12");
}
void TISPProgrammer::Reserved13(std::int32_t) {
    NotSupported("Reserved13");
}
bool TISPProgrammer::Reserved14() {
    NotSupported("Reserved14");
}
void TISPProgrammer::EraseLocation(THexList&) {
    NotSupported("EraseLocation");
}
void TISPProgrammer::Reserved16() {
    NotSupported("Reserved16");
}
void TISPProgrammer::Reserved17() {
    NotSupported("Reserved17");
}
std::string TISPProgrammer::GetProgrammerType() {
    NotSupported("GetProgrammerType");
}
void TISPProgrammer::ConfigureProgrammer() {
    NotSupported("ConfigureProgrammer");
}
void TISPProgrammer::SetTargetReset(std::uint8_t) {
    NotSupported("SetTargetReset");
}
bool TISPProgrammer::Connect() {
    NotSupported("Connect");
}
void TISPProgrammer::Disconnect() {
    NotSupported("Disconnect");
}
std::string TISPProgrammer::QueryProgrammerId() {
    NotSupported("QueryProgrammerId");
}
void TISPProgrammer::ShowStatus(const std::string&) {
    NotSupported("ShowStatus");
}
std::uint8_t TISPProgrammer::GetDeviceFamily() {
    NotSupported("GetDeviceFamily");
}
void TISPProgrammer::QueryFirmwareVersion() {
    NotSupported("QueryFirmwareVersion");
}
void TISPProgrammer::SetSlowTarget(bool) {
    NotSupported("SetSlowTarget");
}
void TISPProgrammer::LoadSettings() {
    NotSupported("LoadSettings");
}
void TISPProgrammer::SaveSettings() {
    NotSupported("SaveSettings");
}
void TISPProgrammer::RunTimingVector(char, std::int32_t) {
    NotSupported("RunTimingVector");
}
void TISPProgrammer::Reserved31() {
    NotSupported("Reserved31");
}
void TISPProgrammer::Reserved32() {
    NotSupported("Reserved32");
}
void TISPProgrammer::Reserved33() {
    NotSupported("Reserved33");
}
std::int32_t TISPProgrammer::TargetPresent() {
    NotSupported("TargetPresent");
}
void TISPProgrammer::Reserved35() {
    NotSupported("Reserved35");
}
void TISPProgrammer::Reserved36() {
    NotSupported("Reserved36");
}
void TISPProgrammer::Reserved37() {
    NotSupported("Reserved37");
}
void TISPProgrammer::Reserved38() {
    NotSupported("Reserved38");
}
void TISPProgrammer::Reserved39() {
    NotSupported("Reserved39");
}
void TISPProgrammer::ReopenPort() {
    NotSupported("ReopenPort");
}
void TISPProgrammer::QueueByte(std::uint8_t) {
    NotSupported("QueueByte");
}
void TISPProgrammer::CollectReplies(std::int32_t) {
    NotSupported("CollectReplies");
}
bool TISPProgrammer::WriteResetPolarity() {
    NotSupported("WriteResetPolarity");
}
bool TISPProgrammer::WriteInternalRc(bool) {
    NotSupported("WriteInternalRc");
}
std::uint8_t TISPProgrammer::ReadResetPolarity() {
    NotSupported("ReadResetPolarity");
}
void TISPProgrammer::Reserved46() {
    NotSupported("Reserved46");
}
void TISPProgrammer::Reserved47() {
    NotSupported("Reserved47");
}
void TISPProgrammer::Reserved48() {
    NotSupported("Reserved48");
}

} // namespace isp
