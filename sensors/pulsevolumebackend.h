#pragma once

#include "systemvolume.h"

#include <memory>

// The PulseAudio (or PipeWire through pipewire-pulse) default sink's volume.
std::unique_ptr<VolumeBackend> createPulseVolumeBackend();
