#pragma once

// The platform of a run without a user (the command-line tools): every box is written as one
// line, "caption: text" (the text alone when there is no caption); a question takes the answer
// of a box closed without a button (Cancel, else No), so nothing is created or opened without a
// user; input boxes and file dialogs are cancelled and modal forms rejected; there is no
// clipboard, printer, cash drawer or document opener.

#include "platform.h"

#include <functional>

namespace brix {

class ConsolePlatform : public Platform {
public:
    using Writer = std::function<void(const QString& line)>;
    // Without a writer the lines go to the error output.
    explicit ConsolePlatform(Writer write = {});

    Button messageBox(const MessageBox& box) override;
    bool inputQuery(const QString&, const QString&, QString&, bool) override { return false; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString directoryName(const QString&, const QString&) override { return {}; }
    int execModal(QDialog&) override { return 0; }
    void beep() override {}
    void pushBusyCursor() override {}
    void popBusyCursor() override {}
    void setClipboard(const QString&, const QString&, const QByteArray&) override {}
    QString clipboardText() const override { return {}; }
    bool clipboardHasFormat(const QString&) const override { return false; }
    QByteArray clipboardData(const QString&) const override { return {}; }
    QList<PrinterInfo> printers() const override { return {}; }
    int defaultPrinterIndex() const override { return -1; }
    bool selectPrinter(int) override { return false; }
    int currentPrinterIndex() const override { return -1; }
    bool cashDrawer(DrawerCommand) override { return false; }
    bool openDocument(const QString&) override { return false; }
    const MachineConfig& machineConfig() const override { return config_; }

private:
    Writer write_;
    MachineConfig config_ = MachineConfig::defaults();
};

} // namespace brix
