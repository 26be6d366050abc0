#pragma once

#include "systemvolume.h"

#include <memory>

// The default render endpoint's master volume scalar (Windows Core Audio).
std::unique_ptr<VolumeBackend> createWindowsVolumeBackend();
