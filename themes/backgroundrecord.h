#pragma once

#include <QColor>
#include <QString>

class QDataStream;
class ThemeRecordReader;

// The fields of the background record (tag 144), which the theme list also
// reads for thumbnails.
struct BackgroundRecord
{
    enum Kind : qint32
    {
        Colour = 0,
        Picture = 1,
        Video = 2
    };

    qint32 kind = Colour;
    QColor colour = QColor(Qt::black);
    qint32 rotation = 0; // quarter turns 0..3
    bool visible = true;
    QString fileName; // media in the theme's res folder; empty for a colour

    // Reads the fields after the tag; false (and the reader failed) on a
    // truncated or hostile record. A kind or rotation out of range is refused.
    bool read(ThemeRecordReader& in);
    void write(QDataStream& out) const;
};
