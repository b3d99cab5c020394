#pragma once

// What the platform knows of one printer and how a job reaches it.
//
// Sizes are hundredths of an inch (the report's unit). The printable area's offsets from the
// paper's edges are the smallest margins the printer can print. A graphic job paints pages
// with a QPainter in device pixels whose origin is the top-left of the printable area; a raw
// job sends bytes unchanged to the queue (text printers get their character grid that way).
// A job either ends (the system prints it) or is aborted (nothing is printed).

#include <QByteArray>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

namespace brix {

struct PrinterDetails {
    QString name;
    QString driver;   // "Typ:": the driver's description
    QString location; // "Kde:": where the printer stands, else the device it is connected to
    int dpiX = 0, dpiY = 0;
    QString paperName;
    QSizeF paper;         // in the printer's current orientation
    QMarginsF minMargins; // unprintable offsets: left, top, right, bottom
    bool landscape = false;
    bool multipleCopies = false; // the driver prints the copies of one job itself
    bool textOnly = false;

    bool valid() const { return !name.isEmpty(); }
    // The printable area's size.
    QSizeF printable() const;
};

struct PrintJobOptions {
    QString jobName;
    int copies = 1;         // asked of the driver; the caller repeats the job when it cannot
    QString outputFile;     // desktop only: a PDF file written by the system instead of a queue
    QSizeF paper;           // the file's paper (hundredths of an inch); empty: the printer's
    bool landscape = false; // the file's orientation
};

// A graphic print job. beginPage gives the painter of the next page (device pixels, origin at
// the printable area's top-left); the painter stays valid until endPage.
class GraphicJob {
public:
    virtual ~GraphicJob();
    virtual QPainter* beginPage() = 0;
    virtual bool endPage() = 0;
    // Ends the document: the system prints it. False when it could not be handed over.
    virtual bool finish() = 0;
    // Drops the document: nothing is printed.
    virtual void abort() = 0;
    // The device's resolution in pixels per inch.
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
};

} // namespace brix
