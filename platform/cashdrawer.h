#pragma once

// The cash-drawer card: ZasuvkaInit writes 0xAC to port 0x303, ZasuvkaOtevri 0x05 to port 0x301.
// A device named in the machine configuration takes the configured bytes instead; without one,
// the ports are written directly when the process may do so (x86 Linux with the I/O privilege).

#include "machineconfig.h"
#include "platform.h"

#include <cstdint>

namespace brix {

class CashDrawer {
public:
    static constexpr std::uint16_t kInitPort = 0x303;
    static constexpr std::uint8_t kInitByte = 0xAC;
    static constexpr std::uint16_t kOpenPort = 0x301;
    static constexpr std::uint8_t kOpenByte = 0x05;

    explicit CashDrawer(const MachineConfig& config) : config_(config) {}

    // false when the command reached neither a device nor the ports.
    bool run(DrawerCommand command);

private:
    bool writeDevice(const QByteArray& bytes);
    bool writePort(std::uint16_t port, std::uint8_t value);

    MachineConfig config_;
};

} // namespace brix
