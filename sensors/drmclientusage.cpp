#include "drmclientusage.h"

#include "sysfsfiles.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

using SysfsFiles::readFile;
using SysfsFiles::symlinkTarget;

namespace {

// Engine keys of cycle counters (xe): "cycles-<class>" and "total-cycles-<class>".
const QByteArray kCyclesKey = QByteArrayLiteral("cycles-");
const QByteArray kTotalCyclesKey = QByteArrayLiteral("total-cycles-");

} // namespace

DrmClientUsage::DrmClientUsage(QString procRoot, QString pciAddress)
    : m_procRoot(std::move(procRoot)), m_address(pciAddress.toLatin1())
{
}

void DrmClientUsage::rescan()
{
    m_fdinfoPaths.clear();
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    const QStringList pids = QDir(m_procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (!digits.match(pid).hasMatch()) {
            continue;
        }
        const QString process = m_procRoot + QLatin1Char('/') + pid;
        const QStringList fds = QDir(process + QStringLiteral("/fd"))
                                    .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& fd : fds) {
            if (symlinkTarget(process + QStringLiteral("/fd/") + fd).startsWith("/dev/dri/")) {
                m_fdinfoPaths.append(process + QStringLiteral("/fdinfo/") + fd);
            }
        }
    }
}

DrmClientUsage::Sample DrmClientUsage::sample(qint64 nowNs)
{
    if (++m_samplesSinceScan >= kRescanSamples) {
        rescan();
        m_samplesSinceScan = 0;
    }
    QHash<QByteArray, Engines> clients;
    Sample result;
    for (const QString& path : qAsConst(m_fdinfoPaths)) {
        QByteArray clientId;
        Engines engines;
        qint64 memory = 0;
        // A descriptor closed since the scan reads empty and is skipped.
        if (!parseClient(readFile(path), &clientId, &engines, &memory) || clients.contains(clientId)) {
            continue;
        }
        clients.insert(clientId, engines);
        result.localMemoryBytes += memory;
    }
    if (m_lastNs > 0 && nowNs > m_lastNs) {
        Engines busy;
        // xe counts engine cycles against the GPU's own cycle counter, which
        // every client reports alike.
        Engines elapsedCycles;
        for (auto client = clients.cbegin(); client != clients.cend(); ++client) {
            const auto last = m_lastClients.constFind(client.key());
            if (last == m_lastClients.cend()) {
                continue; // a new client's history is not this interval's work
            }
            for (auto engine = client->cbegin(); engine != client->cend(); ++engine) {
                const qint64 delta =
                    std::max<qint64>(engine.value() - last->value(engine.key(), engine.value()), 0);
                if (engine.key().startsWith(kTotalCyclesKey)) {
                    qint64& elapsed = elapsedCycles[engine.key().mid(kTotalCyclesKey.size())];
                    elapsed = std::max(elapsed, delta);
                } else {
                    busy[engine.key()] += delta;
                }
            }
        }
        for (auto engine = busy.cbegin(); engine != busy.cend(); ++engine) {
            double percent = 0.0;
            if (engine.key().startsWith(kCyclesKey)) {
                const qint64 elapsed = elapsedCycles.value(engine.key().mid(kCyclesKey.size()));
                percent = elapsed > 0 ? double(engine.value()) * 100.0 / double(elapsed) : 0.0;
            } else {
                percent = double(engine.value()) * 100.0 / double(nowNs - m_lastNs);
            }
            result.busyPercent = std::max(result.busyPercent, percent);
        }
    }
    result.busyPercent = std::min(result.busyPercent, 100.0);
    m_lastClients = clients;
    m_lastNs = nowNs;
    return result;
}

bool DrmClientUsage::parseClient(const QByteArray& info, QByteArray* clientId, Engines* engines,
                                 qint64* memory) const
{
    QByteArray pdev;
    for (const QByteArray& raw : info.split('\n')) {
        const int colon = raw.indexOf(':');
        if (colon <= 0) {
            continue;
        }
        const QByteArray key = raw.left(colon).trimmed();
        const QByteArray value = raw.mid(colon + 1).trimmed();
        if (key == "drm-pdev") {
            pdev = value;
        } else if (key == "drm-client-id") {
            *clientId = value;
        } else if (key.startsWith("drm-engine-") && value.endsWith(" ns")) {
            (*engines)[key.mid(11)] += value.left(value.size() - 3).toLongLong();
        } else if (key.startsWith("drm-cycles-")) {
            (*engines)[kCyclesKey + key.mid(11)] += value.toLongLong();
        } else if (key.startsWith("drm-total-cycles-")) {
            (*engines)[kTotalCyclesKey + key.mid(17)] = value.toLongLong();
        } else if (key == "drm-total-local0" || key == "drm-total-vram0") {
            *memory += memoryBytes(value);
        }
    }
    return pdev == m_address && !clientId->isEmpty();
}

qint64 DrmClientUsage::memoryBytes(const QByteArray& value)
{
    const QList<QByteArray> parts = value.split(' ');
    qint64 amount = parts.value(0).toLongLong();
    const QByteArray unit = parts.value(1);
    if (unit == "KiB") {
        amount *= 1024;
    } else if (unit == "MiB") {
        amount *= 1024 * 1024;
    } else if (unit == "GiB") {
        amount *= qint64(1024) * 1024 * 1024;
    }
    return amount;
}
