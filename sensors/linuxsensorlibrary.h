#pragma once

#include "modelsensorlibrary.h"

class LinuxSensorLibrary : public ModelSensorLibrary
{
public:
    bool load() override { return true; }
    int start(int) override { return 0; }
    void shutdown() override {}
    void updateReadings() override {}
};
