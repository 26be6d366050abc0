#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// Busy time and memory of one GPU from its DRM clients' fdinfo
// (drm-engine-<class> in ns, or xe's drm-cycles-<class> against
// drm-total-cycles-<class>; drm-total-local0/vram0). Only processes the user
// may inspect are visible; a client open through several descriptors counts
// once (drm-client-id). Walking /proc is the expensive part, so the list of
// DRM descriptors is refreshed every few samples and only their fdinfo is
// re-read in between.
class DrmClientUsage
{
public:
    static constexpr int kRescanSamples = 5;

    DrmClientUsage(QString procRoot, QString pciAddress);

    struct Sample
    {
        // The busiest engine class over the interval since the last sample,
        // counting only clients seen both times; 0..100.
        double busyPercent = 0.0;
        qint64 localMemoryBytes = 0;
    };

    Sample sample(qint64 nowNs);

private:
    using Engines = QHash<QByteArray, qint64>;

    void rescan();
    // Fills the client's id and engine counters; false when the fdinfo is
    // not a client of this GPU.
    bool parseClient(const QByteArray& info, QByteArray* clientId, Engines* engines, qint64* memory) const;
    static qint64 memoryBytes(const QByteArray& value);

    QString m_procRoot;
    QByteArray m_address;
    QStringList m_fdinfoPaths;
    int m_samplesSinceScan = kRescanSamples;
    QHash<QByteArray, Engines> m_lastClients;
    qint64 m_lastNs = 0;
};
