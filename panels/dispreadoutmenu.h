#pragma once

#include <QObject>

class QGraphicsItem;
class QMenu;
class QWidget;

// The context-menu entries of the widgets that have no panel: which reading
// a gauge, chart or 3D text shows (and a chart's line style), and the images
// of an analog clock.
class DispReadoutMenu : public QObject
{
    Q_OBJECT

public:
    // Adds the entries for item's widget kind, if it has any; dialogs open
    // over parent.
    static void extend(QMenu* menu, QGraphicsItem* item, QWidget* parent);
};
