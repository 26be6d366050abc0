#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// One reading as the sensor library hands it over: 464 bytes, little-endian,
// 8-bit NUL-terminated texts. The layout is fixed by the library's binary
// interface, so every offset is checked at compile time.
struct SensorLibraryRecord
{
    uint8_t presence[8];
    double value;
    char unit[32];
    uint32_t sensorClass;
    uint8_t reserved52[8];
    char device[256];
    uint32_t subClass;
    uint8_t reserved320[8];
    char label[128];
    uint32_t readingType;
    uint8_t reserved460[4];

    void clear();
    bool isPresent() const { return presence[0] != 0; }

    // Texts are read up to their first NUL and never past their field, since
    // a library may leave a field unterminated.
    QString unitText() const;
    QString deviceText() const;
    QString labelText() const;

    // Writes UTF-8 text, truncated to the field and always terminated.
    void setUnit(const QString& text);
    void setDevice(const QString& text);
    void setLabel(const QString& text);
};

static_assert(sizeof(SensorLibraryRecord) == 464, "reading record is 464 bytes");
static_assert(offsetof(SensorLibraryRecord, presence) == 0);
static_assert(offsetof(SensorLibraryRecord, value) == 8);
static_assert(offsetof(SensorLibraryRecord, unit) == 16);
static_assert(offsetof(SensorLibraryRecord, sensorClass) == 48);
static_assert(offsetof(SensorLibraryRecord, device) == 60);
static_assert(offsetof(SensorLibraryRecord, subClass) == 316);
static_assert(offsetof(SensorLibraryRecord, label) == 328);
static_assert(offsetof(SensorLibraryRecord, readingType) == 456);

// Reads a NUL-terminated text from a fixed field without running past it.
QString sensorFieldText(const char* field, std::size_t capacity);
// Writes text into a fixed field, truncated on a UTF-8 character boundary.
void setSensorFieldText(char* field, std::size_t capacity, const QString& text);

// The seven operations every sensor source offers the sensor manager. The
// manager calls them from its own thread and, while a subscription is being
// acquired, from the GUI thread; it never calls two at once.
class SensorLibrary
{
public:
    static constexpr int kStartFlags = 0x200840;
    static constexpr int kNameBufferSize = 256;
    static constexpr int kSlotCount = 512;
    static constexpr int kKindCount = 8;

    virtual ~SensorLibrary() = default;

    // Finds the entry points; false when any is missing (nothing else is
    // called then).
    virtual bool load() = 0;
    // 0 when started; any other value is the source's error code.
    virtual int start(int flags) = 0;
    virtual void shutdown() = 0;
    // Number of sensors; indices 0..n-1 stay valid until the next call.
    virtual int sensorCount() = 0;
    // Refreshes every reading; called right after sensorCount().
    virtual void updateReadings() = 0;
    virtual void selectSensor(int sensor) = 0;
    // Fills buffer with the sensor's NUL-terminated name.
    virtual void sensorName(int sensor, char* buffer, int size) = 0;
    // Fills a cleared record; the low byte of the result is non-zero when
    // the slot holds a reading of that kind.
    virtual int readReading(int kind, int sensor, int slot, SensorLibraryRecord* record) = 0;
};

// The source the application uses: the replay file named by
// $PANELCAST_SENSOR_REPLAY when set, else the platform's own source.
std::unique_ptr<SensorLibrary> createSystemSensorLibrary();
