#pragma once

#include "systemvolume.h"

#include <memory>

// The ALSA "Master" control of the default card.
std::unique_ptr<VolumeBackend> createAlsaVolumeBackend();
