#include "drmclientusage.h"

#include "sysfsfiles.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

using SysfsFiles::readFile;
using SysfsFiles::symlinkTarget;

DrmClientUsage::DrmClientUsage(QString procRoot, QString pciAddress)
    : m_procRoot(std::move(procRoot)), m_address(std::move(pciAddress))
{
}

DrmClientUsage::Sample DrmClientUsage::sample(qint64 nowNs)
{
    QHash<QByteArray, qint64> engines;
    QSet<QByteArray> clients;
    qint64 memory = 0;
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    const QStringList pids = QDir(m_procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        if (!digits.match(pid).hasMatch()) {
            continue;
        }
        const QString fdDir = m_procRoot + QLatin1Char('/') + pid + QStringLiteral("/fd");
        const QStringList fds = QDir(fdDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& fd : fds) {
            if (!symlinkTarget(fdDir + QLatin1Char('/') + fd).startsWith("/dev/dri/")) {
                continue;
            }
            const QByteArray info =
                readFile(m_procRoot + QLatin1Char('/') + pid + QStringLiteral("/fdinfo/") + fd);
            parseClient(info, &engines, &clients, &memory);
        }
    }
    Sample result;
    result.localMemoryBytes = memory;
    if (m_lastNs > 0 && nowNs > m_lastNs) {
        for (auto it = engines.cbegin(); it != engines.cend(); ++it) {
            const qint64 delta = it.value() - m_lastEngines.value(it.key(), it.value());
            result.busyPercent = std::max(result.busyPercent, double(std::max<qint64>(delta, 0)) * 100.0 /
                                                                  double(nowNs - m_lastNs));
        }
    }
    result.busyPercent = std::min(result.busyPercent, 100.0);
    m_lastEngines = engines;
    m_lastNs = nowNs;
    return result;
}

void DrmClientUsage::parseClient(const QByteArray& info, QHash<QByteArray, qint64>* engines,
                                 QSet<QByteArray>* clients, qint64* memory) const
{
    QByteArray pdev;
    QByteArray clientId;
    QHash<QByteArray, qint64> own;
    qint64 ownMemory = 0;
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
            clientId = value;
        } else if (key.startsWith("drm-engine-") && value.endsWith(" ns")) {
            own[key.mid(11)] += value.left(value.size() - 3).toLongLong();
        } else if (key == "drm-total-local0" || key == "drm-total-vram0") {
            ownMemory += memoryBytes(value);
        }
    }
    if (pdev != m_address.toLatin1() || clientId.isEmpty() || clients->contains(clientId)) {
        return;
    }
    clients->insert(clientId);
    for (auto it = own.cbegin(); it != own.cend(); ++it) {
        (*engines)[it.key()] += it.value();
    }
    *memory += ownMemory;
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
