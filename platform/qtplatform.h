#pragma once

// The platform on the real desktop: Qt dialogs, the system clipboard, the installed printers.

#include "platform.h"

#include <QPageLayout>
#include <QPageSize>

#include <functional>
#include <map>

class QPrinter;

namespace brix {

class QtPlatform : public Platform {
public:
    // Reads the machine configuration from its default place.
    QtPlatform();
    explicit QtPlatform(MachineConfig config);

    Button messageBox(const MessageBox& box) override;
    bool inputQuery(const QString& cap, const QString& prompt, QString& value,
                    bool password) override;
    QString openFileName(const QString& cap, const QString& dir, const QString& filter) override;
    QString saveFileName(const QString& cap, const QString& dir, const QString& filter) override;
    QString directoryName(const QString& cap, const QString& dir) override;
    int execModal(QDialog& form) override;

    void beep() override;
    void pushBusyCursor() override;
    void popBusyCursor() override;

    void setClipboard(const QString& plainText, const QString& format,
                      const QByteArray& data) override;
    QString clipboardText() const override;
    bool clipboardHasFormat(const QString& format) const override;
    QByteArray clipboardData(const QString& format) const override;

    QList<PrinterInfo> printers() const override;
    int defaultPrinterIndex() const override;
    bool selectPrinter(int index) override;
    int currentPrinterIndex() const override;
    PrinterDetails printerDetails(int index) const override;
    bool setPrinterLandscape(int index, bool landscape) override;
    bool printerProperties(int index) override;
    std::unique_ptr<GraphicJob> beginGraphicJob(int index, const PrintJobOptions& options,
                                                QString* error) override;
    bool printRaw(int index, const PrintJobOptions& options, const QByteArray& data,
                  QString* error) override;

    bool cashDrawer(DrawerCommand command) override;
    bool openDocument(const QString& path) override;

    const MachineConfig& machineConfig() const override;

    // The MIME type that carries a custom clipboard format.
    static QString clipboardMimeType(const QString& format);

private:
    // The paper and orientation chosen for the printer, its margins the smallest it prints.
    void applyPaper(QPrinter& printer) const;

    mutable bool configLoaded_ = false;
    mutable MachineConfig config_;
    QString selectedPrinter_;
    // Paper and orientation chosen in this program, by printer name.
    struct PaperChoice {
        QPageSize size;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
    };
    std::map<QString, PaperChoice> papers_;
    int busyDepth_ = 0;
};

} // namespace brix
