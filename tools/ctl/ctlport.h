#pragma once

#include <QString>

// The port a device command works on, as named on the command line and
// matched against the device scan.
struct CtlPort
{
    QString name; // as handed to the serial adapter
    int vendorId = 0;
    int productId = 0;
    bool known = false; // found by the scan with a known USB pair

    // Finds `given` among the known ports of the scan: a real port by its
    // name ("ttyACM0") or device path ("/dev/ttyACM0"), a virtual port by its
    // path. A path the scan does not know is still accepted, as a display of
    // unknown model. Returns false with a one-line reason otherwise.
    static bool resolve(const QString& given, CtlPort* port, QString* error);

    // Why opening `name` failed, in a few words ("port busy: ...").
    static QString openFailure(const QString& name);

    // "1F3A:0007"
    QString usbPair() const;
    bool isDigital() const;
};
