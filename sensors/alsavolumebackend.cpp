#include "alsavolumebackend.h"

#include <alsa/asoundlib.h>

namespace {

// The "Master" simple control of the default ALSA card, read on demand.
class AlsaVolumeBackend : public VolumeBackend
{
public:
    ~AlsaVolumeBackend() override
    {
        if (m_mixer) {
            snd_mixer_close(m_mixer);
        }
    }

    bool open() override
    {
        // A machine without sound cards makes the library print its
        // configuration errors; the absence is reported by the caller.
        snd_lib_error_set_handler(&AlsaVolumeBackend::quiet);
        if (snd_mixer_open(&m_mixer, 0) < 0) {
            m_mixer = nullptr;
            return false;
        }
        if (snd_mixer_attach(m_mixer, "default") < 0 ||
            snd_mixer_selem_register(m_mixer, nullptr, nullptr) < 0 || snd_mixer_load(m_mixer) < 0) {
            return false;
        }
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, "Master");
        m_element = snd_mixer_find_selem(m_mixer, id);
        return m_element && snd_mixer_selem_has_playback_volume(m_element);
    }

    int percent() override
    {
        if (!m_element) {
            return 0;
        }
        snd_mixer_handle_events(m_mixer);
        long min = 0;
        long max = 0;
        snd_mixer_selem_get_playback_volume_range(m_element, &min, &max);
        long sum = 0;
        int channels = 0;
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
            const auto channel = snd_mixer_selem_channel_id_t(c);
            long value = 0;
            if (snd_mixer_selem_has_playback_channel(m_element, channel) &&
                snd_mixer_selem_get_playback_volume(m_element, channel, &value) == 0) {
                sum += value;
                ++channels;
            }
        }
        return channels == 0 ? 0 : SystemVolume::percentFromRange(sum / channels, min, max);
    }

    const char* name() const override { return "alsa"; }

private:
    static void quiet(const char*, int, const char*, int, const char*, ...) {}

    snd_mixer_t* m_mixer = nullptr;
    snd_mixer_elem_t* m_element = nullptr;
};

} // namespace

std::unique_ptr<VolumeBackend> createAlsaVolumeBackend()
{
    return std::make_unique<AlsaVolumeBackend>();
}
