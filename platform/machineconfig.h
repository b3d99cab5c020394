#pragma once

// The machine configuration: a small INI file read once at start, before any form exists.
//
//   [Database]   Database, UserName, Password   (empty or missing values take their defaults)
//   [Zasuvka]    Zarizeni  device the cash drawer is written to (e.g. /dev/ttyS0); when set it
//                          is used instead of port access
//                Porty     true/false: try direct port access (x86 Linux, needs the privilege)
//                Init      bytes written to the device by ZasuvkaInit, in hex ("AC")
//                Otevri    bytes written to the device by ZasuvkaOtevri, in hex ("05")
//   [Tiskarny]   Textove   names of text-only printers, separated by '|'
//   [Okna]       <form>    size and position of a form as the user left it: "x y width height"
//
// Location: the file named by the environment variable BRIX_MACHINE_CONFIG, else "brix.ini" in
// the user's configuration directory of the program (~/.config/brix/brix.ini).  When that file
// does not exist, a machine-wide copy (/etc/xdg/brix/brix.ini) is copied there; failing that, a
// file with the defaults is created.  Every error is appended to the error log and start
// continues with the defaults.

#include <QByteArray>
#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>

namespace brix {

struct MachineConfig {
    QString database;
    QString userName;
    QString password;

    QString drawerDevice;
    bool drawerPorts = true;
    QByteArray drawerInitBytes;
    QByteArray drawerOpenBytes;

    QStringList textPrinters;

    // Where the configuration was read from (empty for the built-in defaults).
    QString path;
    // Forms by their object name.
    QHash<QString, QRect> formGeometry;

    // The built-in defaults: database = the program's directory with a trailing separator.
    static MachineConfig defaults();

    // Where the configuration lives (see above).
    static QString defaultPath();
    // The error log: the program's name with ".log", in the program's data directory, or in
    // the directory named by BRIX_LOG_DIR.
    static QString defaultLogPath();

    // Reads path (creating it as described when it does not exist).  Errors go to logPath.
    static MachineConfig load(const QString& path, const QString& logPath);
    // Reads the configuration from its default place.
    static MachineConfig loadDefault();

    // Writes every value to path; false on failure.
    bool save(const QString& path) const;

    bool isTextPrinterName(const QString& printerName) const;

    // Writes one form's size and position into the file at path, leaving the rest as it is.
    static bool saveFormGeometry(const QString& path, const QString& form, const QRect& geometry);
};

// Appends one line "dd.MM.yyyy hh:mm:ss General error Load_Ini_Value: message" to the error log.
void logConfigError(const QString& logPath, const QString& message);

// "1B 70 00" / "1b7000" -> bytes; false on anything that is not pairs of hex digits.
bool parseHexBytes(const QString& text, QByteArray* bytes);
QString hexBytesText(const QByteArray& bytes);

} // namespace brix
