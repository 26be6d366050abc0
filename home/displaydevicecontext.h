#pragma once

#include <QString>

#include <memory>

#include "dispscene.h"

class Transport;
class SegParamInfo;

// One attached display device as the home page keeps it, from its port's
// arrival until the port vanishes.
struct DisplayDeviceContext
{
    QString port;
    DispScene* scene = nullptr; // owned by the page; the scene owns the device's transport
    QString themePath;
    QString officialLibrary;
    QString personalLibrary;
    int width = 0; // 0 until the device has answered the search
    int height = 0;
    int vendorId = 0;
    int productId = 0;

    bool identified() const { return width > 0 && height > 0; }
    Transport* transport() const { return scene->transport(); }
};

// One attached seven-segment device: its lighting parameters and effect
// loop with their own serial adapter.
struct DigitalDeviceContext
{
    QString port;
    SegParamInfo* info = nullptr; // owned by the page
};
