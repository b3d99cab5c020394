#include "cashdrawer.h"

#include <QFile>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define BRIX_HAVE_PORT_IO 1
#endif

namespace brix {

bool CashDrawer::run(DrawerCommand command) {
    if (!config_.drawerDevice.isEmpty())
        return writeDevice(command == DrawerCommand::Init ? config_.drawerInitBytes
                                                          : config_.drawerOpenBytes);
    if (!config_.drawerPorts) return false;
    return command == DrawerCommand::Init ? writePort(kInitPort, kInitByte)
                                          : writePort(kOpenPort, kOpenByte);
}

bool CashDrawer::writeDevice(const QByteArray& bytes) {
    if (bytes.isEmpty()) return true;
    QFile device(config_.drawerDevice);
    // Append keeps a plain file usable as a stand-in device; real devices ignore it.
    if (!device.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    bool ok = device.write(bytes) == bytes.size();
    device.close();
    return ok;
}

bool CashDrawer::writePort(std::uint16_t port, std::uint8_t value) {
#ifdef BRIX_HAVE_PORT_IO
    // The card's ports 0x301..0x303; granted once per process when it has the privilege.
    static const bool permitted = ioperm(kOpenPort, kInitPort - kOpenPort + 1, 1) == 0;
    if (!permitted) return false;
    outb(value, port);
    return true;
#else
    (void)port;
    (void)value;
    return false;
#endif
}

} // namespace brix
